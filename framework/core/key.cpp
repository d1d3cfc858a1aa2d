// Interned key names: every distinct name gets a small dense key per context.
#include "framework/core/context.h"

#include <cstring>

namespace zif {

namespace {

constexpr int32_t kInitialBuckets = 10;
constexpr int32_t kInitialNameCapacity = 10;

uint64_t hashName(const char *name)
{
    uint64_t h = 0;
    for (const char *c = name; *c; ++c) {
        int64_t byte = static_cast<signed char>(*c);
        h = (h << 3) ^ (h >> 2) ^ static_cast<uint64_t>(byte);
    }
    return h;
}

bool growBuckets(zif_context *context)
{
    int32_t count = context->bucketCount * 2;
    auto **buckets = static_cast<NameEntry **>(zif_zalloc(context, count * static_cast<int32_t>(sizeof(NameEntry *))));
    if (!buckets)
        return false;
    for (int32_t b = 0; b < context->bucketCount; ++b) {
        NameEntry *e = context->nameBuckets[b];
        while (e) {
            NameEntry *next = e->next;
            NameEntry *&head = buckets[e->hash % static_cast<uint64_t>(count)];
            e->next = head;
            head = e;
            e = next;
        }
    }
    zif_free(context, context->nameBuckets);
    context->nameBuckets = buckets;
    context->bucketCount = count;
    return true;
}

bool growNames(zif_context *context)
{
    int32_t capacity = context->keyNameCapacity * 2;
    auto **names = static_cast<char **>(zif_alloc(context, capacity * static_cast<int32_t>(sizeof(char *))));
    if (!names)
        return false;
    std::memcpy(names, context->keyNames, sizeof(char *) * static_cast<size_t>(context->keyCount));
    zif_free(context, context->keyNames);
    context->keyNames = names;
    context->keyNameCapacity = capacity;
    return true;
}

}  // namespace

int32_t keysInit(zif_context *context)
{
    context->nameBuckets =
        static_cast<NameEntry **>(zif_zalloc(context, kInitialBuckets * static_cast<int32_t>(sizeof(NameEntry *))));
    context->keyNames = static_cast<char **>(zif_alloc(context, kInitialNameCapacity * static_cast<int32_t>(sizeof(char *))));
    if (!context->nameBuckets || !context->keyNames)
        return ZIF_ERR_NO_MEMORY;
    context->bucketCount = kInitialBuckets;
    context->keyNameCapacity = kInitialNameCapacity;
    return 0;
}

void keysRelease(zif_context *context)
{
    for (int32_t b = 0; context->nameBuckets && b < context->bucketCount; ++b) {
        NameEntry *e = context->nameBuckets[b];
        while (e) {
            NameEntry *next = e->next;
            zif_free(context, e->name);
            zif_free(context, e);
            e = next;
        }
    }
    zif_free(context, context->nameBuckets);
    zif_free(context, context->keyNames);
    context->nameBuckets = nullptr;
    context->keyNames = nullptr;
}

}  // namespace zif

using zif::NameEntry;

extern "C" {

int32_t zif_nameToKey(zif_context *context, const char *name)
{
    if (!context)
        return -1;
    if (!name) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return -1;
    }
    uint64_t hash = zif::hashName(name);
    if (context->keyCount > 0) {
        for (NameEntry *e = context->nameBuckets[hash % static_cast<uint64_t>(context->bucketCount)]; e; e = e->next)
            if (e->hash == hash && std::strcmp(e->name, name) == 0)
                return e->key;
    }
    if (context->keyCount >= (4 * context->bucketCount) / 5 && !zif::growBuckets(context))
        return -1;
    if (context->keyCount == context->keyNameCapacity && !zif::growNames(context))
        return -1;
    size_t length = std::strlen(name);
    if (length >= INT32_MAX) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return -1;
    }
    auto *entry = static_cast<NameEntry *>(zif_alloc(context, sizeof(NameEntry)));
    char *copy = static_cast<char *>(zif_alloc(context, static_cast<int32_t>(length + 1)));
    if (!entry || !copy) {
        zif_free(context, entry);
        zif_free(context, copy);
        zif::fail(context, ZIF_ERR_NO_MEMORY);
        return -1;
    }
    std::memcpy(copy, name, length + 1);
    NameEntry *&head = context->nameBuckets[hash % static_cast<uint64_t>(context->bucketCount)];
    *entry = NameEntry{hash, copy, context->keyCount, head};
    head = entry;
    context->keyNames[context->keyCount] = copy;
    return context->keyCount++;
}

const char *zif_keyToName(zif_context *context, int32_t key)
{
    if (!context)
        return nullptr;
    if (key < 0 || key >= context->keyCount) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    return context->keyNames[key];
}

}  // extern "C"
