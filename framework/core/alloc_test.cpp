#include "framework/core/context.h"
#include "framework/core/test_context.h"

#include <cstdint>

namespace {

struct FakeClock {
    uint32_t ms = 1000;
    static uint32_t read(void *user) { return static_cast<FakeClock *>(user)->ms; }
};

class AllocTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        zif::contextSetClock(ctx, FakeClock::read, &clock);
    }
    FakeClock clock;
};

TEST_F(AllocTest, ZeroBytesGiveAUsableBlockAndNullFreeIsIgnored)
{
    void *block = zif_alloc(ctx, 0);
    ASSERT_NE(block, nullptr);
    static_cast<char *>(block)[0] = 'x';
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
    zif_free(ctx, block);
    zif_free(ctx, nullptr);
    EXPECT_EQ(zif_getLastError(ctx), 0);
}

TEST_F(AllocTest, NegativeSizeIsAnInvalidArgument)
{
    EXPECT_EQ(zif_alloc(ctx, -1), nullptr);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
}

TEST_F(AllocTest, ReleasedBlockIsReusedWithinItsClassAndAgesOutAfterFourSeconds)
{
    void *a = zif_alloc(ctx, 100);
    zif_free(ctx, a);
    clock.ms += 3999;
    void *b = zif_alloc(ctx, 128);  // same class (65..128 bytes)
    EXPECT_EQ(a, b);
    void *other = zif_alloc(ctx, 100);
    EXPECT_NE(other, b);
    zif_free(ctx, b);
    zif_free(ctx, other);

    // Past 4000 ms any allocator call returns both idle blocks to the heap.
    clock.ms += 4001;
    zif_free(ctx, zif_alloc(ctx, 8));
    EXPECT_EQ(ctx->freeLists[7].head, nullptr);
    EXPECT_EQ(ctx->freeLists[7].tail, nullptr);
}

TEST_F(AllocTest, TrimKeepsRecentBlocksAndDropsOnlyTheOldEnd)
{
    void *old1 = zif_alloc(ctx, 32);
    void *old2 = zif_alloc(ctx, 32);
    void *fresh = zif_alloc(ctx, 32);
    zif_free(ctx, old1);
    zif_free(ctx, old2);
    clock.ms += 3000;
    zif_free(ctx, fresh);
    clock.ms += 1500;  // old ones idle 4500 ms, fresh one 1500 ms
    zif_free(ctx, zif_alloc(ctx, 1000));
    EXPECT_EQ(zif_alloc(ctx, 32), fresh);
    EXPECT_EQ(ctx->freeLists[5].head, nullptr);
    zif_free(ctx, fresh);
}

TEST_F(AllocTest, AgeingSurvivesTheClockWrappingAround)
{
    clock.ms = 0xFFFFFF00u;
    void *a = zif_alloc(ctx, 16);
    zif_free(ctx, a);
    clock.ms = 100;  // 356 ms later
    EXPECT_EQ(zif_alloc(ctx, 16), a);
    zif_free(ctx, a);
}

TEST_F(AllocTest, LargeBlocksBypassTheCache)
{
    const int32_t big = (1 << 23) + 1;  // class 24
    void *block = zif_alloc(ctx, big);
    ASSERT_NE(block, nullptr);
    static_cast<char *>(block)[big - 1] = 1;
    zif_free(ctx, block);
    EXPECT_EQ(ctx->cachedBlocks, 0);
}

TEST_F(AllocTest, ZallocClearsTheRequestedBytes)
{
    auto *dirty = static_cast<unsigned char *>(zif_alloc(ctx, 64));
    for (int i = 0; i < 64; ++i)
        dirty[i] = 0xAB;
    zif_free(ctx, dirty);
    auto *clean = static_cast<unsigned char *>(zif_zalloc(ctx, 64));
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(clean[i], 0) << i;
    zif_free(ctx, clean);
}

TEST_F(AllocTest, AlignedBlocksHonourEveryAlignment)
{
    for (int32_t alignment : {1, 2, 3, 16, 64, 100, 255}) {
        for (int32_t size : {0, 1, 17, 1000}) {
            auto *block = static_cast<unsigned char *>(zif_zallocAligned(ctx, size, alignment));
            ASSERT_NE(block, nullptr);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % static_cast<uintptr_t>(alignment), 0u) << alignment;
            for (int32_t i = 0; i < size; ++i)
                ASSERT_EQ(block[i], 0);
            zif_freeAligned(ctx, block);
        }
    }
}

TEST_F(AllocTest, BadAlignmentsAreInvalidArguments)
{
    for (int32_t alignment : {0, -1, 256}) {
        zif_clearLastError(ctx);
        EXPECT_EQ(zif_allocAligned(ctx, 16, alignment), nullptr);
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT) << alignment;
    }
    zif_freeAligned(ctx, nullptr);
}

}  // namespace
