// URI parsing into a table of parts, and URI to local path.
//
// Text without a scheme is a literal path: nothing in it is decoded or split
// off, so "#" and "?" are ordinary characters of a file name there.
#include "framework/core/context.h"

#include <cctype>
#include <string>
#include <string_view>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "%" and two hexadecimal digits become that byte; any other "%" stays.
// "%00" also stays: a NUL would cut the text short.
std::string percentDecode(std::string_view part)
{
    std::string out;
    out.reserve(part.size());
    for (size_t i = 0; i < part.size(); ++i) {
        if (part[i] == '%' && i + 2 < part.size() && hexValue(part[i + 1]) >= 0 && hexValue(part[i + 2]) >= 0) {
            char byte = static_cast<char>(hexValue(part[i + 1]) * 16 + hexValue(part[i + 2]));
            if (byte != '\0') {
                out += byte;
                i += 2;
                continue;
            }
        }
        out += part[i];
    }
    return out;
}

// A scheme is a letter followed by letters, digits, "+", "-" or ".".
bool isScheme(std::string_view s)
{
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0])))
        return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    return true;
}

// Position of the scheme's colon, or npos when the text has no scheme. A
// colon in second place is a drive letter ("C:"), and in fourth place after
// a leading "%" an escaped one ("%43:").
size_t schemeColon(std::string_view text, size_t mainEnd)
{
    size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon >= mainEnd || colon == 1 || (colon == 3 && text[0] == '%'))
        return std::string_view::npos;
    return isScheme(text.substr(0, colon)) ? colon : std::string_view::npos;
}

class UriTable {
public:
    explicit UriTable(zif_context *context) : context_(context), table_(zif_newTable(context)) {}
    ~UriTable() { zif_release(table_); }

    bool ok() const { return table_ && ok_; }

    void setInt(const char *key, int64_t value) { ok_ = ok_ && table_ && zif_tableSetInt(table_, key, value); }

    // The part as written under "<key>_escaped", decoded (unless literal) under key.
    void setPart(const std::string &key, std::string_view part, bool decode = true)
    {
        std::string escaped(part);
        set((key + "_escaped").c_str(), escaped);
        set(key.c_str(), decode ? percentDecode(part) : escaped);
    }

    zif_object *take()
    {
        zif_object *t = ok() ? table_ : nullptr;
        if (t)
            table_ = nullptr;
        return t;
    }

private:
    void set(const char *key, const std::string &text)
    {
        if (!ok_ || !table_)
            return;
        zif_object *s = zif_newStringN(context_, text.data(), static_cast<int32_t>(text.size()));
        ok_ = s && zif_tableSet(table_, key, s);
        zif_release(s);
    }

    zif_context *context_;
    zif_object *table_;
    bool ok_ = true;
};

void parseHierarchical(UriTable &uri, std::string_view rest)
{
    size_t end = rest.size();
    size_t question = rest.find('?');
    if (question != std::string_view::npos) {
        uri.setPart("uri.query", rest.substr(question + 1));
        end = question;
    }
    if (rest.size() >= 3 && rest.substr(0, 2) == "//") {
        std::string_view authority = rest.substr(2, end - 2);
        std::string_view path;
        size_t slash = authority.find('/');
        if (slash != std::string_view::npos) {
            path = authority.substr(slash);
            authority = authority.substr(0, slash);
        }
        uri.setPart("uri.authority", authority);
        std::string_view server = authority;
        size_t at = authority.find('@');
        if (at != std::string_view::npos) {
            uri.setPart("uri.userinfo", authority.substr(0, at));
            server = authority.substr(at + 1);
        }
        size_t colon = server.find(':');
        if (colon != std::string_view::npos) {
            uri.setPart("uri.port", server.substr(colon + 1));
            server = server.substr(0, colon);
        }
        uri.setPart("uri.server", server);
        uri.setPart("uri.path", path);
    } else {
        uri.setPart("uri.path", rest.substr(0, end));
    }
}

}  // namespace

extern "C" {

zif_object *zif_parseURI(zif_context *context, const char *text)
{
    if (!context)
        return nullptr;
    if (!text) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    std::string_view all(text);
    UriTable uri(context);
    size_t hash = all.find('#');
    size_t mainEnd = hash == std::string_view::npos ? all.size() : hash;
    size_t colon = schemeColon(all, mainEnd);
    if (colon == std::string_view::npos) {
        uri.setInt("uri.hierarchical", 1);
        uri.setInt("uri.relative", 1);
        uri.setPart("uri.scheme_specific_part", all, false);
        uri.setPart("uri.path", all, false);
        return uri.take();
    }
    std::string_view rest = all.substr(colon + 1, mainEnd - colon - 1);
    bool hierarchical = !rest.empty() && rest[0] == '/';
    uri.setInt("uri.hierarchical", hierarchical);
    uri.setInt("uri.relative", 0);
    uri.setPart("uri.scheme", all.substr(0, colon));
    uri.setPart("uri.scheme_specific_part", rest);
    if (hash != std::string_view::npos)
        uri.setPart("uri.fragment", all.substr(hash + 1));
    if (hierarchical)
        parseHierarchical(uri, rest);
    return uri.take();
}

// Local paths keep their "/" separators. An authority other than "" or
// "localhost" names another machine and has no local path.
zif_object *zif_uriToFilePath(zif_context *context, const char *text)
{
    zif_object *uri = zif_parseURI(context, text);
    if (!uri)
        return nullptr;
    const char *authority = zif_tableGetString(uri, "uri.authority", "");
    const char *path = zif_tableGetString(uri, "uri.path", nullptr);
    zif_object *result = nullptr;
    if (!path || !*path || (std::string_view(authority) != "" && std::string_view(authority) != "localhost"))
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
    else
        result = zif_newString(context, path);
    zif_release(uri);
    return result;
}

}  // extern "C"
