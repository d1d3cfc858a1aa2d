#include "framework/core/file.h"
#include "framework/core/test_context.h"
#include "framework/core/test_notation.h"
#include "framework/core/wire.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Raw wire bytes, built item by item.
class Bytes {
public:
    Bytes &i32(int32_t v) { return put(&v, 4); }
    Bytes &i64(int64_t v) { return put(&v, 8); }
    Bytes &raw(const std::string &s) { return put(s.data(), s.size()); }
    Bytes &str(const std::string &s) { return i32(static_cast<int32_t>(s.size())).raw(s); }
    const std::string &data() const { return bytes_; }

private:
    Bytes &put(const void *p, size_t n)
    {
        bytes_.append(static_cast<const char *>(p), n);
        return *this;
    }
    std::string bytes_;
};

class WireTest : public ContextTest {
protected:
    zif_object *v(const char *notation) { return own(Notation(ctx, notation).parse()); }

    // Two pipe files over a socket pair: what one writes the other reads.
    void connectPair(zif_object **writer, zif_object **reader)
    {
        int fds[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
        *writer = own(zif_newFileFromPipeHandles(ctx, fds[0], fds[0], -1, 0, 0, 0));
        *reader = own(zif_newFileFromPipeHandles(ctx, fds[1], fds[1], -1, 0, 0, 0));
        zif::fileSetTimeout(*reader, 2000);
    }

    // A file in memory holding bytes: the reader knows how many are left.
    zif_object *memoryFile(const std::string &bytes)
    {
        int fd = memfd_create("wire", MFD_CLOEXEC);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        lseek(fd, 0, SEEK_SET);
        return own(zif::fileNew(ctx, fd, fd));
    }

    // A stream holding bytes and then its end: nothing says how many follow.
    zif_object *streamFile(const std::string &bytes)
    {
        int fds[2];
        EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
        EXPECT_EQ(write(fds[0], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(fds[0]);
        zif_object *file = own(zif_newFileFromPipeHandles(ctx, fds[1], fds[1], -1, 0, 0, 0));
        zif::fileSetTimeout(file, 2000);
        return file;
    }

    // The decoder's error for bytes, or 0 when they decode.
    int32_t decodeError(zif_object *file)
    {
        zif_clearLastError(ctx);
        zif_object *value = nullptr;
        bool ok = zif::wireReadValue(file, &value);
        zif_release(value);
        return ok ? 0 : zif_getLastError(ctx);
    }
};

TEST_F(WireTest, EveryValueKindSurvivesTheTrip)
{
    const char *values[] = {
        "5", "-9223372036854775807", "2.5", "-0.0", "1/3", "-7/2", "\"\"", "\"gr\xC3\xBC\xC3\x9F e\"",
        "I[0, 10]", "I(0, 10)", "I[_, 1/2)", "I(_, _]", "{}", "[]",
        "{width: 720, rate: [25, 30000/1001], inner: {a: [1, [2, \"x\"]], b: I[16, 4096]}}",
        "[{a: 1}, {b: 2.5}, [], {}]",
    };
    zif_object *writer = nullptr, *reader = nullptr;
    connectPair(&writer, &reader);
    for (const char *text : values) {
        zif_object *sent = v(text);
        ASSERT_TRUE(zif::wireWriteValue(writer, sent)) << text;
        zif_object *received = nullptr;
        ASSERT_TRUE(zif::wireReadValue(reader, &received)) << text;
        own(received);
        EXPECT_EQ(zif_objectGetType(received), zif_objectGetType(sent)) << text;
        EXPECT_EQ(xml(received), xml(sent)) << text;
        EXPECT_TRUE(zif_valueEquals(received, sent)) << text;
    }
}

TEST_F(WireTest, DataBytesAndNullTravelExactly)
{
    zif_object *writer = nullptr, *reader = nullptr;
    connectPair(&writer, &reader);
    const std::string bytes("\0\x01\xFFzz\0", 6);
    zif_object *data = own(zif_newData(ctx, 0));
    zif_dataSetContents(data, bytes.data(), 6);
    ASSERT_TRUE(zif::wireWriteValue(writer, data));
    ASSERT_TRUE(zif::wireWriteValue(writer, nullptr));
    zif_object *got = nullptr;
    ASSERT_TRUE(zif::wireReadValue(reader, &got));
    own(got);
    ASSERT_EQ(zif_dataGetSize(got), 6);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(zif_dataGetReadPtr(got)), 6), bytes);
    zif_object *none = integer(1);
    ASSERT_TRUE(zif::wireReadValue(reader, &none));
    EXPECT_EQ(none, nullptr);
}

TEST_F(WireTest, TableEntriesHoldingNullAreLeftOutAndNotCounted)
{
    zif_object *table = v("{a: 1, b: null, c: \"x\"}");
    zif_object *writer = nullptr, *reader = nullptr;
    connectPair(&writer, &reader);
    ASSERT_TRUE(zif::wireWriteValue(writer, table));
    int32_t tag = 0, count = 0;
    ASSERT_TRUE(zif::wireReadInt32(reader, &tag));
    ASSERT_TRUE(zif::wireReadInt32(reader, &count));
    EXPECT_EQ(tag, ZIF_TYPE_TABLE);
    EXPECT_EQ(count, 2);
}

TEST_F(WireTest, AFractArrivesNormalised)
{
    zif_object *file = memoryFile(Bytes().i32(ZIF_TYPE_FRACT).i64(1).i64(6).i64(4).data());
    zif_object *f = nullptr;
    ASSERT_TRUE(zif::wireReadValue(file, &f));
    own(f);
    EXPECT_EQ(partsOf(f), (FractParts{2, 1, 2}));
    EXPECT_EQ(decodeError(memoryFile(Bytes().i32(ZIF_TYPE_FRACT).i64(1).i64(1).i64(0).data())),
              ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(WireTest, WritingSomethingThatIsNotAValueFails)
{
    zif_object *writer = nullptr, *reader = nullptr;
    connectPair(&writer, &reader);
    zif_object *log = own(zif_newLog(ctx));
    zif_clearLastError(ctx);
    EXPECT_FALSE(zif::wireWriteValue(writer, log));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_BAD_BINARY);
}

TEST_F(WireTest, HostileInputIsRefusedWith22)
{
    const int32_t huge = INT32_MAX;
    const std::string ten(10, 'x');
    Bytes deep;
    for (int i = 0; i < 10000; ++i)
        deep.i32(ZIF_TYPE_LIST).i32(1);
    deep.i32(ZIF_TYPE_INT).i64(1);
    struct Case {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"negative string length", Bytes().i32(ZIF_TYPE_STRING).i32(-1).data()},
        {"negative data size", Bytes().i32(ZIF_TYPE_DATA).i32(-5).data()},
        {"negative table count", Bytes().i32(ZIF_TYPE_TABLE).i32(-1).data()},
        {"negative list count", Bytes().i32(ZIF_TYPE_LIST).i32(-1).data()},
        {"negative name length", Bytes().i32(ZIF_TYPE_TABLE).i32(1).i32(-3).data()},
        {"unknown tag", Bytes().i32(77).data()},
        {"a node's tag", Bytes().i32(ZIF_TYPE_NODE).data()},
        {"interval kind 4", Bytes().i32(ZIF_TYPE_INTERVAL).i32(4).i32(ZIF_TYPE_INT).i64(0).data()},
        {"interval of strings", Bytes().i32(ZIF_TYPE_INTERVAL).i32(0).i32(ZIF_TYPE_STRING).str("a").i32(0).data()},
        {"huge string, 10 bytes", Bytes().i32(ZIF_TYPE_STRING).i32(huge).raw(ten).data()},
        {"huge data, 10 bytes", Bytes().i32(ZIF_TYPE_DATA).i32(huge).raw(ten).data()},
        {"huge table, 10 bytes", Bytes().i32(ZIF_TYPE_TABLE).i32(huge).raw(ten).data()},
        {"huge list, 10 bytes", Bytes().i32(ZIF_TYPE_LIST).i32(huge).raw(ten).data()},
        {"table entry holding null", Bytes().i32(ZIF_TYPE_TABLE).i32(1).str("a").i32(0).data()},
        {"list element null", Bytes().i32(ZIF_TYPE_LIST).i32(1).i32(0).data()},
        {"nesting 10 000 deep", deep.data()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(decodeError(memoryFile(c.bytes)), ZIF_ERR_BAD_BINARY) << c.what;

    // On a stream the length limits alone must hold.
    struct StreamCase {
        const char *what;
        std::string bytes;
    } streamCases[] = {
        {"huge string, 10 bytes", Bytes().i32(ZIF_TYPE_STRING).i32(huge).raw(ten).data()},
        {"huge data, 10 bytes", Bytes().i32(ZIF_TYPE_DATA).i32(huge).raw(ten).data()},
        {"data just over 256 MiB", Bytes().i32(ZIF_TYPE_DATA).i32(zif::kWireMaxDataSize + 1).data()},
        {"nesting 10 000 deep", deep.data()},
        {"unknown tag", Bytes().i32(-8).data()},
    };
    for (const StreamCase &c : streamCases)
        EXPECT_EQ(decodeError(streamFile(c.bytes)), ZIF_ERR_BAD_BINARY) << c.what;
}

TEST_F(WireTest, NestingUpToTheLimitIsAccepted)
{
    Bytes nested;
    for (int i = 0; i < zif::kWireMaxDepth; ++i)
        nested.i32(ZIF_TYPE_LIST).i32(1);
    nested.i32(ZIF_TYPE_INT).i64(1);
    EXPECT_EQ(decodeError(memoryFile(nested.data())), 0);
}

// Random bytes, biased towards plausible tags and lengths so that the
// decoder gets deep into its cases. Fixed seed; ZIF_WIRE_FUZZ_SECONDS runs
// it for that long instead of a fixed number of rounds.
TEST_F(WireTest, RandomBytesNeverCrashTheDecoder)
{
    std::mt19937 random(20261210);
    const int32_t tags[] = {1, 2, 3, 1000, 1001, 1002, 1003, 1004, 0, 5, -1};
    auto word = [&]() -> int32_t {
        switch (random() % 4) {
        case 0:
            return tags[random() % (sizeof tags / sizeof tags[0])];
        case 1:
            return static_cast<int32_t>(random() % 6);
        case 2:
            return static_cast<int32_t>(random() % 40) - 4;
        default:
            return static_cast<int32_t>(random());
        }
    };
    const char *seconds = std::getenv("ZIF_WIRE_FUZZ_SECONDS");
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds ? std::atoi(seconds) : 0);
    long rounds = 0;
    for (; seconds ? std::chrono::steady_clock::now() < until : rounds < 100000; ++rounds) {
        Bytes bytes;
        int words = static_cast<int>(random() % 48);
        for (int i = 0; i < words; ++i)
            bytes.i32(word());
        int fd = memfd_create("fuzz", MFD_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, bytes.data().data(), bytes.data().size()), static_cast<ssize_t>(bytes.data().size()));
        lseek(fd, 0, SEEK_SET);
        zif_object *file = zif::fileNew(ctx, fd, fd);
        int32_t error = decodeError(file);
        // Malformed (22), cut short (24), or a fract with denominator 0 (2).
        EXPECT_TRUE(error == 0 || error == ZIF_ERR_BAD_BINARY || error == ZIF_ERR_READ ||
                    error == ZIF_ERR_INVALID_ARGUMENT)
            << "round " << rounds << ": error " << error;
        zif_release(file);
    }
    if (seconds)
        std::printf("wire fuzz: %ld rounds in %s s\n", rounds, seconds);
}

}  // namespace
