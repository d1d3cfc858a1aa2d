// The context record and the helpers every framework file uses to reach it.
#pragma once

#include "framework/include/zif.h"

#include <cstddef>
#include <cstdint>

namespace zif {

constexpr int kFreeListCount = 23;

// Milliseconds of a monotonic clock; the allocator ages free blocks by it.
using MillisecondClock = uint32_t (*)(void *user);

struct BlockHeader;

// Released blocks of one size class, newest at the head, oldest at the tail.
struct FreeList {
    BlockHeader *head = nullptr;
    BlockHeader *tail = nullptr;
};

struct NameEntry {
    uint64_t hash;
    char *name;
    int32_t key;
    NameEntry *next;
};

}  // namespace zif

struct zif_context {
    zif::NameEntry **nameBuckets;
    int32_t bucketCount;
    int32_t keyCount;
    char **keyNames;
    int32_t keyNameCapacity;
    int32_t lastError;
    zif_object *plugins;
    zif_object *log;
    uint64_t idCounter;
    const char *loadingModule;
    zif::FreeList freeLists[zif::kFreeListCount];
    int32_t cachedBlocks;
    uint32_t trimmedAt;  // clock time of the last trim
    bool trimmedOnce;
    zif::MillisecondClock clock;
    void *clockUser;
};

namespace zif {

// Records code as the context's last error (nothing for a null context).
void fail(zif_context *context, int32_t code);

// Replaces the allocator's clock; null restores the monotonic system clock.
void contextSetClock(zif_context *context, MillisecondClock clock, void *user);

// Returns every cached block to the system heap (context teardown).
void allocatorReleaseCache(zif_context *context);

// The interned-key table's teardown.
void keysRelease(zif_context *context);
int32_t keysInit(zif_context *context);

}  // namespace zif
