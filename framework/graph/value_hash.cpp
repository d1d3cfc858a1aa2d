// Hashes of values for recognising repeated graph states. Equal values (as
// zif_valueEquals sees them) hash alike: numbers compare across kinds
// (int 1, double 1.0 and fract 1 are equal), so every number hashes to one
// constant and the comparison that follows a hash hit tells them apart.
#include "framework/core/container.h"
#include "framework/graph/graph_types.h"

#include <cstring>

namespace zif {

namespace {

constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr uint64_t kFnvPrime = 0x100000001b3ULL;

uint64_t fnv(const void *bytes, size_t n, uint64_t hash = kFnvOffset)
{
    auto *p = static_cast<const uint8_t *>(bytes);
    for (size_t i = 0; i < n; ++i)
        hash = (hash ^ p[i]) * kFnvPrime;
    return hash;
}

uint64_t mix(uint64_t h)
{
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

}  // namespace

uint64_t valueHash(zif_object *value)
{
    if (!isValid(value))
        return 0;
    if (isNumberType(value->type))
        return 0x4e554d4245520000ULL;
    switch (value->type) {
    case ZIF_TYPE_STRING: {
        const char *text = zif_stringGetValue(value);
        return fnv(text, std::strlen(text), 0x5354520000000000ULL);
    }
    case ZIF_TYPE_DATA: {
        auto *d = reinterpret_cast<DataValue *>(value);
        return d->size ? fnv(d->buffer, static_cast<size_t>(d->size)) : 0x44415441ULL;
    }
    case ZIF_TYPE_INTERVAL: {
        auto *i = reinterpret_cast<IntervalValue *>(value);
        return mix(static_cast<uint64_t>(i->kind) + 0x494e5456ULL) ^ (valueHash(i->lower) * 3) ^ (valueHash(i->upper) * 5);
    }
    case ZIF_TYPE_LIST: {
        uint64_t h = 0x4c495354ULL;
        listForEach(listRecord(value), [&](zif_object *o) { h = mix(h * 31 + valueHash(o)); });
        return h;
    }
    case ZIF_TYPE_TABLE: {
        // Entries in any order: a sum of per-entry hashes.
        uint64_t h = 0x5441424cULL;
        tableForEach(tableRecord(value), [&](int32_t key, zif_object *o) {
            h += mix(static_cast<uint64_t>(key) * 0x9e3779b97f4a7c15ULL ^ valueHash(o));
        });
        return h;
    }
    default: return mix(static_cast<uint64_t>(value->type));
    }
}

}  // namespace zif
