#include "framework/core/test_context.h"

#include <map>
#include <string>

namespace {

using Parts = std::map<std::string, std::string>;

class UriTest : public ContextTest {
protected:
    // Every entry of the parsed table as text.
    Parts parse(const char *uri)
    {
        Parts parts;
        zif_object *t = zif_parseURI(ctx, uri);
        if (!t)
            return {{"<null>", ""}};
        zif_object *it = zif_tableCreateIterator(t);
        for (int32_t key; (key = zif_tableIteratorNext(it)) != -1;) {
            zif_object *v = zif_tableGetK(t, key);
            parts[zif_keyToName(ctx, key)] =
                zif_objectGetType(v) == ZIF_TYPE_INT ? std::to_string(zif_intGetValue(v)) : zif_stringGetValue(v);
            zif_release(v);
        }
        zif_release(it);
        zif_release(t);
        return parts;
    }

    std::string localPath(const char *uri)
    {
        zif_object *path = zif_uriToFilePath(ctx, uri);
        std::string result = path ? zif_stringGetValue(path) : "<null>";
        zif_release(path);
        return result;
    }
};

// The decoded part and its escaped form.
Parts part(const std::string &key, const std::string &decoded, const std::string &escaped)
{
    return {{key, decoded}, {key + "_escaped", escaped}};
}

Parts join(std::initializer_list<Parts> all)
{
    Parts out;
    for (const Parts &p : all)
        out.insert(p.begin(), p.end());
    return out;
}

TEST_F(UriTest, Parsing)
{
    struct Case {
        const char *uri;
        Parts expected;
    } cases[] = {
        {"file:///C:/My%20Video/a.avi",
         join({{{"uri.hierarchical", "1"}, {"uri.relative", "0"}}, part("uri.scheme", "file", "file"),
               part("uri.scheme_specific_part", "///C:/My Video/a.avi", "///C:/My%20Video/a.avi"),
               part("uri.authority", "", ""), part("uri.server", "", ""),
               part("uri.path", "/C:/My Video/a.avi", "/C:/My%20Video/a.avi")})},
        {"file://server/share/a.avi",
         join({{{"uri.hierarchical", "1"}, {"uri.relative", "0"}}, part("uri.scheme", "file", "file"),
               part("uri.scheme_specific_part", "//server/share/a.avi", "//server/share/a.avi"),
               part("uri.authority", "server", "server"), part("uri.server", "server", "server"),
               part("uri.path", "/share/a.avi", "/share/a.avi")})},
        {"http://me:pw@host:8080/p%41th?q=1#frag",
         join({{{"uri.hierarchical", "1"}, {"uri.relative", "0"}}, part("uri.scheme", "http", "http"),
               part("uri.scheme_specific_part", "//me:pw@host:8080/pAth?q=1", "//me:pw@host:8080/p%41th?q=1"),
               part("uri.fragment", "frag", "frag"), part("uri.query", "q=1", "q=1"),
               part("uri.authority", "me:pw@host:8080", "me:pw@host:8080"), part("uri.userinfo", "me:pw", "me:pw"),
               part("uri.server", "host", "host"), part("uri.port", "8080", "8080"), part("uri.path", "/pAth", "/p%41th")})},
        // An at sign in the path is no user information.
        {"http://host/a@b",
         join({{{"uri.hierarchical", "1"}, {"uri.relative", "0"}}, part("uri.scheme", "http", "http"),
               part("uri.scheme_specific_part", "//host/a@b", "//host/a@b"), part("uri.authority", "host", "host"),
               part("uri.server", "host", "host"), part("uri.path", "/a@b", "/a@b")})},
        {"mailto:someone",
         join({{{"uri.hierarchical", "0"}, {"uri.relative", "0"}}, part("uri.scheme", "mailto", "mailto"),
               part("uri.scheme_specific_part", "someone", "someone")})},
        {"C:\\dir\\a.avi",
         join({{{"uri.hierarchical", "1"}, {"uri.relative", "1"}},
               part("uri.scheme_specific_part", "C:\\dir\\a.avi", "C:\\dir\\a.avi"),
               part("uri.path", "C:\\dir\\a.avi", "C:\\dir\\a.avi")})},
        // Without a scheme the text is a literal path.
        {"/home/me/take #1?.avi",
         join({{{"uri.hierarchical", "1"}, {"uri.relative", "1"}},
               part("uri.scheme_specific_part", "/home/me/take #1?.avi", "/home/me/take #1?.avi"),
               part("uri.path", "/home/me/take #1?.avi", "/home/me/take #1?.avi")})},
        {"clips/50%25 off:v2.avi",
         join({{{"uri.hierarchical", "1"}, {"uri.relative", "1"}},
               part("uri.scheme_specific_part", "clips/50%25 off:v2.avi", "clips/50%25 off:v2.avi"),
               part("uri.path", "clips/50%25 off:v2.avi", "clips/50%25 off:v2.avi")})},
        {"ab:x%4",
         join({{{"uri.hierarchical", "0"}, {"uri.relative", "0"}}, part("uri.scheme", "ab", "ab"),
               part("uri.scheme_specific_part", "x%4", "x%4")})},
        // "%00" is not decoded: a NUL would cut the name short.
        {"ff:/a%00b%2x",
         join({{{"uri.hierarchical", "1"}, {"uri.relative", "0"}}, part("uri.scheme", "ff", "ff"),
               part("uri.scheme_specific_part", "/a%00b%2x", "/a%00b%2x"), part("uri.path", "/a%00b%2x", "/a%00b%2x")})},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parse(c.uri), c.expected) << c.uri;
}

TEST_F(UriTest, LocalPaths)
{
    struct Case {
        const char *uri, *path;
    } cases[] = {
        {"file:///home/me/My%20Video/a.avi", "/home/me/My Video/a.avi"},
        {"file://localhost/tmp/a.avi", "/tmp/a.avi"},
        {"file:/tmp/a.avi", "/tmp/a.avi"},
        {"/tmp/a #1.avi", "/tmp/a #1.avi"},
        {"relative/a%20b.avi", "relative/a%20b.avi"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(localPath(c.uri), c.path) << c.uri;

    for (const char *remote : {"file://server/share/a.avi", "mailto:someone", "file://localhost", ""}) {
        zif_clearLastError(ctx);
        EXPECT_EQ(localPath(remote), "<null>") << remote;
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT) << remote;
    }
}

}  // namespace
