// The context's small-block allocator: power-of-two size classes, released
// blocks cached per class and returned to the system heap after 4 s unused.
#include "framework/core/context.h"

#include <sanitizer/asan_interface.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace zif {

namespace {

constexpr uint32_t kMaxIdleMs = 4000;
constexpr int kMinClass = 2;
// Payloads hold at least the free-list link.
constexpr size_t kMinPayload = sizeof(void *);

}  // namespace

// Sits just before every block handed out; 16 bytes, so blocks keep the
// heap's 16-byte alignment. The size class is the word right before the
// block. While cached, the first word of the block links to the next
// (older) block and `newer` to the previous one.
struct BlockHeader {
    BlockHeader *newer;
    uint32_t releasedAt;
    uint32_t sizeClass;
};
static_assert(sizeof(BlockHeader) == 16);

namespace {

size_t payloadBytes(int sizeClass);

// Under AddressSanitizer a cached block's payload is poisoned, so that an
// object used after its release is reported although its memory stays in
// the cache; the allocator unpoisons the link word only while it uses it.
// Without the sanitizer these macros do nothing.
void poisonCached(BlockHeader *block) { ASAN_POISON_MEMORY_REGION(block + 1, payloadBytes(static_cast<int>(block->sizeClass))); }
void unpoisonCached(BlockHeader *block) { ASAN_UNPOISON_MEMORY_REGION(block + 1, payloadBytes(static_cast<int>(block->sizeClass))); }

BlockHeader *olderOf(BlockHeader *block)
{
    ASAN_UNPOISON_MEMORY_REGION(block + 1, sizeof(BlockHeader *));
    BlockHeader *older = *reinterpret_cast<BlockHeader **>(block + 1);
    ASAN_POISON_MEMORY_REGION(block + 1, sizeof(BlockHeader *));
    return older;
}

void setOlder(BlockHeader *block, BlockHeader *older)
{
    ASAN_UNPOISON_MEMORY_REGION(block + 1, sizeof(BlockHeader *));
    *reinterpret_cast<BlockHeader **>(block + 1) = older;
    ASAN_POISON_MEMORY_REGION(block + 1, sizeof(BlockHeader *));
}

uint32_t systemClock(void *)
{
    // Ageing works in seconds; the coarse clock is precise enough and cheap.
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

uint32_t now(zif_context *context) { return context->clock ? context->clock(context->clockUser) : systemClock(nullptr); }

int sizeClassOf(int32_t size)
{
    if (size <= (1 << kMinClass))
        return kMinClass;
    // The smallest i with 2^i >= size.
    return 32 - __builtin_clz(static_cast<uint32_t>(size) - 1);
}

size_t payloadBytes(int sizeClass)
{
    size_t bytes = static_cast<size_t>(1) << sizeClass;
    return bytes < kMinPayload ? kMinPayload : bytes;
}

void unlinkOldest(FreeList &list)
{
    BlockHeader *oldest = list.tail;
    list.tail = oldest->newer;
    if (list.tail)
        setOlder(list.tail, nullptr);
    else
        list.head = nullptr;
    unpoisonCached(oldest);
}

// Returns to the heap every cached block idle for more than 4 s at time t.
// Lists are ordered newest first, so only the old end needs looking at, and
// nothing new can have expired since a trim at the same millisecond.
void trim(zif_context *context, uint32_t t)
{
    if (context->cachedBlocks == 0 || (context->trimmedAt == t && context->trimmedOnce))
        return;
    context->trimmedAt = t;
    context->trimmedOnce = true;
    for (FreeList &list : context->freeLists) {
        while (list.tail && t - list.tail->releasedAt > kMaxIdleMs) {
            BlockHeader *oldest = list.tail;
            unlinkOldest(list);
            --context->cachedBlocks;
            std::free(oldest);
        }
    }
}

}  // namespace

void contextSetClock(zif_context *context, MillisecondClock clock, void *user)
{
    context->clock = clock;
    context->clockUser = user;
}

void allocatorReleaseCache(zif_context *context)
{
    for (FreeList &list : context->freeLists) {
        while (list.tail) {
            BlockHeader *oldest = list.tail;
            unlinkOldest(list);
            std::free(oldest);
        }
    }
    context->cachedBlocks = 0;
}

}  // namespace zif

using zif::BlockHeader;

extern "C" {

void *zif_alloc(zif_context *context, int32_t size)
{
    if (!context)
        return nullptr;
    if (size < 0) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    int sizeClass = zif::sizeClassOf(size);
    BlockHeader *block = nullptr;
    if (sizeClass < zif::kFreeListCount && context->freeLists[sizeClass].head) {
        zif::FreeList &list = context->freeLists[sizeClass];
        block = list.head;
        list.head = zif::olderOf(block);
        zif::unpoisonCached(block);
        if (list.head)
            list.head->newer = nullptr;
        else
            list.tail = nullptr;
        --context->cachedBlocks;
    } else {
        block = static_cast<BlockHeader *>(std::malloc(sizeof(BlockHeader) + zif::payloadBytes(sizeClass)));
        if (!block) {
            zif::fail(context, ZIF_ERR_NO_MEMORY);
            return nullptr;
        }
    }
    block->newer = nullptr;
    block->sizeClass = static_cast<uint32_t>(sizeClass);
    zif::trim(context, zif::now(context));
    return block + 1;
}

void *zif_zalloc(zif_context *context, int32_t size)
{
    void *block = zif_alloc(context, size);
    if (block)
        std::memset(block, 0, static_cast<size_t>(size));
    return block;
}

int32_t zif_free(zif_context *context, void *memory)
{
    if (!context || !memory)
        return 0;
    BlockHeader *block = static_cast<BlockHeader *>(memory) - 1;
    uint32_t t = zif::now(context);
    if (block->sizeClass >= static_cast<uint32_t>(zif::kFreeListCount)) {
        std::free(block);
    } else {
        zif::FreeList &list = context->freeLists[block->sizeClass];
        block->releasedAt = t;
        block->newer = nullptr;
        zif::poisonCached(block);
        zif::setOlder(block, list.head);
        if (list.head)
            list.head->newer = block;
        else
            list.tail = block;
        list.head = block;
        ++context->cachedBlocks;
    }
    zif::trim(context, t);
    return 1;
}

void *zif_allocAligned(zif_context *context, int32_t size, int32_t alignment)
{
    if (!context)
        return nullptr;
    if (alignment <= 0 || alignment > 255 || size < 0 || size > INT32_MAX - alignment) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    uint8_t *p = static_cast<uint8_t *>(zif_alloc(context, size + alignment));
    if (!p)
        return nullptr;
    // The byte before the returned address holds the padding in front of it.
    uintptr_t a = static_cast<uintptr_t>(alignment);
    size_t pad = (a - (reinterpret_cast<uintptr_t>(p) + 1) % a) % a;
    p[pad] = static_cast<uint8_t>(pad);
    return p + 1 + pad;
}

void *zif_zallocAligned(zif_context *context, int32_t size, int32_t alignment)
{
    void *block = zif_allocAligned(context, size, alignment);
    if (block)
        std::memset(block, 0, static_cast<size_t>(size));
    return block;
}

int32_t zif_freeAligned(zif_context *context, void *memory)
{
    if (!context || !memory)
        return 0;
    uint8_t *aligned = static_cast<uint8_t *>(memory);
    uint8_t pad = aligned[-1];
    return zif_free(context, aligned - 1 - pad);
}

}  // extern "C"
