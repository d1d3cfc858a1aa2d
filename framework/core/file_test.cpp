#include "framework/core/file.h"
#include "framework/core/test_context.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class FileTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        dir = std::filesystem::temp_directory_path() / ("zif-file-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        ContextTest::TearDown();
        std::filesystem::remove_all(dir);
    }

    std::string uriOf(const std::string &name) { return "file://" + (dir / name).string(); }

    void writeRaw(const std::string &name, const std::string &bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }

    std::filesystem::path dir;
};

TEST_F(FileTest, WriteThenReadBack)
{
    zif_object *out = own(zif_openFile(ctx, uriOf("a b.bin").c_str(), 1));
    ASSERT_NE(out, nullptr);
    ASSERT_TRUE(zif_fileWrite(out, "head", 4));
    ASSERT_TRUE(zif_fileWriteString(out, "caf\xc3\xa9"));
    ASSERT_TRUE(zif_fileWriteString(out, ""));
    EXPECT_EQ(zif_fileGetLength(out), 4 + 4 + 5 + 4);

    zif_object *in = own(zif_openFile(ctx, (dir / "a b.bin").c_str(), 0));  // a plain path works too
    ASSERT_NE(in, nullptr);
    char head[4];
    ASSERT_TRUE(zif_fileRead(in, head, 4));
    EXPECT_EQ(std::string(head, 4), "head");
    char *text = zif_fileReadString(in);
    EXPECT_STREQ(text, "caf\xc3\xa9");
    zif_free(ctx, text);
    text = zif_fileReadString(in);
    EXPECT_STREQ(text, "");
    zif_free(ctx, text);
}

TEST_F(FileTest, ShortReadFailsAndTheErrorSticks)
{
    writeRaw("short", "abc");
    zif_object *in = own(zif_openFile(ctx, uriOf("short").c_str(), 0));
    char buffer[8];
    EXPECT_FALSE(zif_fileRead(in, buffer, 8));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_READ);
    zif_clearLastError(ctx);
    EXPECT_FALSE(zif_fileRead(in, buffer, 0));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_READ);
}

TEST_F(FileTest, CorruptStringLengthsAreRefused)
{
    auto lengthThen = [](int32_t length, const std::string &rest) {
        return std::string(reinterpret_cast<const char *>(&length), sizeof length) + rest;
    };
    struct Case {
        const char *what;
        std::string bytes;
        int32_t error;
    } cases[] = {
        {"negative", lengthThen(-1, "abc"), ZIF_ERR_BAD_BINARY},
        {"beyond the end", lengthThen(INT32_MAX, "abc"), ZIF_ERR_BAD_BINARY},
        {"one byte short", lengthThen(4, "abc"), ZIF_ERR_BAD_BINARY},
        {"no length", "ab", ZIF_ERR_READ},
    };
    for (const Case &c : cases) {
        writeRaw("s", c.bytes);
        zif_object *in = zif_openFile(ctx, uriOf("s").c_str(), 0);
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_fileReadString(in), nullptr) << c.what;
        EXPECT_EQ(zif_getLastError(ctx), c.error) << c.what;
        zif_release(in);
    }
}

TEST_F(FileTest, StreamsBoundStringLengthsToo)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    zif_object *reader = own(zif::fileNew(ctx, fds[0], -1));
    int32_t huge = zif::kMaxFileStringLength + 1;
    ASSERT_EQ(write(fds[1], &huge, sizeof huge), static_cast<ssize_t>(sizeof huge));
    close(fds[1]);
    EXPECT_EQ(zif_fileReadString(reader), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_BAD_BINARY);
    EXPECT_EQ(zif_fileGetLength(reader), -1);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_FILE_LENGTH);
}

TEST_F(FileTest, OpenFailures)
{
    struct Case {
        std::string uri;
        int32_t forWriting;
    } cases[] = {
        {uriOf("missing"), 0},
        {uriOf("no/such/dir/x"), 1},
        {"file://otherhost/tmp/x", 0},
        {"mailto:x", 0},
    };
    for (const Case &c : cases) {
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_openFile(ctx, c.uri.c_str(), c.forWriting), nullptr) << c.uri;
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_FILE_OPEN) << c.uri;
    }
}

TEST_F(FileTest, WritingTruncatesAnExistingFile)
{
    writeRaw("t", "0123456789");
    zif_object *out = own(zif_openFile(ctx, uriOf("t").c_str(), 1));
    ASSERT_TRUE(zif_fileWrite(out, "ab", 2));
    EXPECT_EQ(zif_fileGetLength(out), 2);
}

}  // namespace
