#include "framework/core/test_context.h"
#include "framework/core/value.h"

#include <string>

namespace {

class DataStreamTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        stream = own(zif_newDataStream(ctx));
        first = add("ABCDE");
        second = add("fgh");
    }

    zif_object *add(const std::string &bytes)
    {
        zif_object *d = own(zif_newData(ctx, 0));
        zif_dataSetContents(d, bytes.data(), static_cast<int32_t>(bytes.size()));
        EXPECT_TRUE(zif_dataStreamAddBuffer(stream, d));
        return d;
    }

    std::string read(int32_t n)
    {
        std::string out(static_cast<size_t>(n > 0 ? n : 0), '?');
        return zif_dataStreamRead(stream, out.data(), n) ? out : "<failed>";
    }

    std::string peek(int32_t n)
    {
        std::string out(static_cast<size_t>(n), '?');
        return zif_dataStreamPeek(stream, out.data(), n) ? out : "<failed>";
    }

    zif_object *stream = nullptr;
    zif_object *first = nullptr;
    zif_object *second = nullptr;
};

TEST_F(DataStreamTest, ReadAcrossBuffers)
{
    EXPECT_EQ(zif_dataStreamGetReadAvailable(stream), 8u);
    EXPECT_EQ(read(6), "ABCDEf");
    EXPECT_EQ(zif_dataStreamGetReadAvailable(stream), 2u);
    EXPECT_EQ(zif_dataStreamGetPeekAvailable(stream), 2u);
    EXPECT_EQ(read(2), "gh");
    EXPECT_EQ(zif_dataStreamGetReadAvailable(stream), 0u);
}

TEST_F(DataStreamTest, ShortReadsAndPeeksConsumeNothing)
{
    EXPECT_EQ(read(9), "<failed>");
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_STREAM_UNDERRUN);
    EXPECT_EQ(zif_dataStreamGetReadAvailable(stream), 8u);
    EXPECT_EQ(peek(9), "<failed>");
    EXPECT_EQ(zif_dataStreamGetPeekAvailable(stream), 8u);
    zif_clearLastError(ctx);
    EXPECT_EQ(read(-1), "<failed>");
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    EXPECT_EQ(read(8), "ABCDEfgh");
}

TEST_F(DataStreamTest, PeekResetAndPeekAgain)
{
    EXPECT_EQ(peek(4), "ABCD");
    EXPECT_EQ(zif_dataStreamGetPeekAvailable(stream), 4u);
    EXPECT_EQ(zif_dataStreamGetReadAvailable(stream), 8u);
    EXPECT_TRUE(zif_dataStreamResetPeekCursor(stream));
    EXPECT_EQ(zif_dataStreamGetPeekAvailable(stream), 8u);
    EXPECT_EQ(peek(4), "ABCD");
    EXPECT_EQ(peek(3), "Efg");  // continues across the buffer boundary
}

TEST_F(DataStreamTest, AdvanceMovesTheReadCursorToThePeekCursor)
{
    EXPECT_EQ(peek(6), "ABCDEf");
    zif_clearLastError(ctx);
    EXPECT_TRUE(zif_dataStreamAdvanceReadCursor(stream));
    EXPECT_EQ(zif_dataStreamGetReadAvailable(stream), 2u);
    // The first buffer is dropped; the test still holds it.
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_SHARED);
    EXPECT_TRUE(zif_valueIsLocked(second));
    EXPECT_EQ(read(2), "gh");
}

TEST_F(DataStreamTest, PeekExactlyToABufferEndThenAdvanceAndRead)
{
    EXPECT_EQ(peek(5), "ABCDE");
    EXPECT_TRUE(zif_dataStreamAdvanceReadCursor(stream));
    EXPECT_EQ(zif_dataStreamGetReadAvailable(stream), 3u);
    EXPECT_EQ(read(1), "f");
    EXPECT_EQ(peek(2), "gh");
}

TEST_F(DataStreamTest, ReadingPastThePeekCursorResetsIt)
{
    EXPECT_EQ(peek(2), "AB");
    EXPECT_EQ(read(6), "ABCDEf");
    EXPECT_EQ(zif_dataStreamGetPeekAvailable(stream), 2u);
    EXPECT_EQ(peek(2), "gh");

    // A read that stays behind the peek cursor keeps it.
    zif_dataStreamResetPeekCursor(stream);
    add("ij");
    EXPECT_EQ(peek(3), "ghi");
    EXPECT_EQ(read(1), "g");
    EXPECT_EQ(zif_dataStreamGetPeekAvailable(stream), 1u);
    EXPECT_EQ(peek(1), "j");
}

TEST_F(DataStreamTest, ZeroLengthReadResetsAPeekCursorAtTheReadCursor)
{
    EXPECT_EQ(read(0), "");
    EXPECT_EQ(zif_dataStreamGetReadAvailable(stream), 8u);
    EXPECT_EQ(peek(3), "ABC");
    EXPECT_EQ(read(0), "");
    EXPECT_EQ(zif_dataStreamGetPeekAvailable(stream), 5u);  // ahead: kept
}

TEST_F(DataStreamTest, BuffersAreLockedWhileTheStreamHoldsThem)
{
    EXPECT_FALSE(zif_dataSetContents(first, "x", 1));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_LOCKED);
    EXPECT_EQ(read(5), "ABCDE");
    // Still held by the test, so still locked: a copy is what can change.
    EXPECT_FALSE(zif_dataSetContents(first, "x", 1));
    zif_object *copy = zif_addRef(first);
    ASSERT_TRUE(zif_valueMakeModifiable(&copy));
    own(copy);
    EXPECT_NE(copy, first);
    EXPECT_TRUE(zif_dataSetContents(copy, "x", 1));
}

TEST_F(DataStreamTest, DroppingABufferOnlyTheStreamHoldsIsQuiet)
{
    zif_object *s = own(zif_newDataStream(ctx));
    zif_object *d = zif_newData(ctx, 0);
    zif_dataSetContents(d, "xy", 2);
    ASSERT_TRUE(zif_dataStreamAddBuffer(s, d));
    zif_release(d);
    zif_clearLastError(ctx);
    char out[2];
    ASSERT_TRUE(zif_dataStreamRead(s, out, 2));
    EXPECT_EQ(zif_getLastError(ctx), 0);
}

TEST_F(DataStreamTest, DroppingABufferKeepsLocksOthersTook)
{
    // The test still holds first: the stream is not its only holder.
    zif_clearLastError(ctx);
    EXPECT_EQ(read(5), "ABCDE");
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_SHARED);
    EXPECT_TRUE(zif_valueIsLocked(first));
}

TEST_F(DataStreamTest, ATableBufferPassesItsLockOnAndTakesItBack)
{
    zif_object *s = own(zif_newDataStream(ctx));
    zif_object *inner = own(zif_newTable(ctx));
    zif_object *table = own(zif_newTable(ctx));
    zif_tableSet(table, "inner", inner);
    zif::valueLock(table);  // as the stream does with its data values
    EXPECT_FALSE(zif_tableSetInt(inner, "x", 1));
    zif::valueUnlockOnce(table);
    EXPECT_TRUE(zif_tableSetInt(inner, "x", 1));
    EXPECT_EQ(zif_dataStreamGetReadAvailable(s), 0u);
}

TEST_F(DataStreamTest, EmptyBuffersAreSkipped)
{
    zif_object *s = own(zif_newDataStream(ctx));
    zif_object *empty = own(zif_newData(ctx, 0));
    zif_object *one = own(zif_newData(ctx, 0));
    zif_dataSetContents(one, "z", 1);
    zif_dataStreamAddBuffer(s, empty);
    zif_dataStreamAddBuffer(s, one);
    char c = 0;
    ASSERT_TRUE(zif_dataStreamPeek(s, &c, 1));
    EXPECT_EQ(c, 'z');
    ASSERT_TRUE(zif_dataStreamRead(s, &c, 1));
    EXPECT_EQ(c, 'z');
    EXPECT_EQ(zif_dataStreamGetReadAvailable(s), 0u);
}

TEST_F(DataStreamTest, OnlyDataValuesAreAccepted)
{
    EXPECT_FALSE(zif_dataStreamAddBuffer(stream, integer(1)));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WRONG_TYPE);
}

}  // namespace
