// The value codec of the slave pipe. The reader trusts nothing: lengths and
// counts are checked against the limits and, on a disk file, against the
// bytes that are left, before anything is allocated.
#include "framework/core/wire.h"
#include "framework/core/container.h"
#include "framework/core/file.h"
#include "framework/core/value.h"

#include <cstring>

namespace zif {

namespace {

// The fewest bytes an encoded value or table entry takes.
constexpr int64_t kSmallestValue = 8;
constexpr int64_t kSmallestEntry = 4 + kSmallestValue;

bool bad(zif_object *file)
{
    fail(file->context, ZIF_ERR_BAD_BINARY);
    return false;
}

// False (error 22) when count items of at least itemSize bytes cannot follow.
bool countFits(zif_object *file, int32_t count, int64_t itemSize)
{
    if (count < 0)
        return false;
    int64_t left = fileBytesLeft(file);
    return left < 0 || static_cast<int64_t>(count) * itemSize <= left;
}

bool writeValueAt(zif_object *file, zif_object *value, int32_t depth);
bool readValueAt(zif_object *file, zif_object **value, int32_t depth);

bool writeTable(zif_object *file, zif_object *table, int32_t depth)
{
    TableValue *t = tableRecord(table);
    int32_t count = 0;
    tableForEach(t, [&](int32_t, zif_object *o) { count += o ? 1 : 0; });
    bool ok = wireWriteInt32(file, count);
    tableForEach(t, [&](int32_t key, zif_object *o) {
        if (ok && o)
            ok = wireWriteString(file, zif_keyToName(table->context, key)) && writeValueAt(file, o, depth + 1);
    });
    return ok;
}

bool writeList(zif_object *file, zif_object *list, int32_t depth)
{
    ListValue *l = listRecord(list);
    int32_t count = 0;
    listForEach(l, [&](zif_object *o) { count += o ? 1 : 0; });
    bool ok = wireWriteInt32(file, count);
    listForEach(l, [&](zif_object *o) {
        if (ok && o)
            ok = writeValueAt(file, o, depth + 1);
    });
    return ok;
}

bool writeValueAt(zif_object *file, zif_object *value, int32_t depth)
{
    if (!value)
        return wireWriteInt32(file, kWireNullTag);
    if (!isValid(value) || !isValueType(value->type) || depth > kWireMaxDepth)
        return bad(file);
    if (!wireWriteInt32(file, value->type))
        return false;
    switch (value->type) {
    case ZIF_TYPE_INT:
        return wireWriteInt64(file, reinterpret_cast<IntValue *>(value)->number);
    case ZIF_TYPE_DOUBLE: {
        int64_t bits;
        std::memcpy(&bits, &reinterpret_cast<DoubleValue *>(value)->number, sizeof bits);
        return wireWriteInt64(file, bits);
    }
    case ZIF_TYPE_FRACT: {
        auto *f = reinterpret_cast<FractValue *>(value);
        return wireWriteInt64(file, f->n) && wireWriteInt64(file, f->num) && wireWriteInt64(file, f->den);
    }
    case ZIF_TYPE_STRING:
        return wireWriteString(file, reinterpret_cast<StringValue *>(value)->text);
    case ZIF_TYPE_INTERVAL: {
        auto *i = reinterpret_cast<IntervalValue *>(value);
        return wireWriteInt32(file, i->kind) && writeValueAt(file, i->lower, depth + 1) &&
               writeValueAt(file, i->upper, depth + 1);
    }
    case ZIF_TYPE_DATA: {
        auto *d = reinterpret_cast<DataValue *>(value);
        return wireWriteInt32(file, d->size) && zif_fileWrite(file, d->buffer, d->size);
    }
    case ZIF_TYPE_TABLE:
        return writeTable(file, value, depth);
    default:
        return writeList(file, value, depth);
    }
}

zif_object *readData(zif_object *file)
{
    int32_t size = 0;
    if (!wireReadInt32(file, &size))
        return nullptr;
    if (size > kWireMaxDataSize || !countFits(file, size, 1)) {
        bad(file);
        return nullptr;
    }
    zif_object *data = zif_newData(file->context, size);
    if (data && !zif_fileRead(file, zif_dataGetWritePtr(data), size)) {
        zif_release(data);
        return nullptr;
    }
    return data;
}

zif_object *readInterval(zif_object *file, int32_t depth)
{
    int32_t kind = 0;
    if (!wireReadInt32(file, &kind))
        return nullptr;
    if (kind < ZIF_INTERVAL_II || kind > ZIF_INTERVAL_EE) {
        bad(file);
        return nullptr;
    }
    zif_object *lower = nullptr, *upper = nullptr, *interval = nullptr;
    if (readValueAt(file, &lower, depth + 1) && readValueAt(file, &upper, depth + 1)) {
        if ((lower && !isNumber(lower)) || (upper && !isNumber(upper)))
            bad(file);
        else
            interval = zif_newInterval(file->context, kind, lower, upper);
    }
    zif_release(lower);
    zif_release(upper);
    return interval;
}

zif_object *readTable(zif_object *file, int32_t depth)
{
    int32_t count = 0;
    if (!wireReadInt32(file, &count))
        return nullptr;
    if (!countFits(file, count, kSmallestEntry)) {
        bad(file);
        return nullptr;
    }
    zif_object *table = zif_newTable(file->context);
    bool ok = table != nullptr;
    for (int32_t i = 0; ok && i < count; ++i) {
        char *name = wireReadString(file);
        zif_object *value = nullptr;
        ok = name && readValueAt(file, &value, depth + 1);
        if (ok && !value)
            ok = bad(file);  // entries holding null are never written
        ok = ok && zif_tableSet(table, name, value);
        zif_release(value);
        zif_free(file->context, name);
    }
    if (!ok) {
        zif_release(table);
        return nullptr;
    }
    return table;
}

zif_object *readList(zif_object *file, int32_t depth)
{
    int32_t count = 0;
    if (!wireReadInt32(file, &count))
        return nullptr;
    if (!countFits(file, count, kSmallestValue)) {
        bad(file);
        return nullptr;
    }
    zif_object *list = zif_newList(file->context);
    bool ok = list != nullptr;
    for (int32_t i = 0; ok && i < count; ++i) {
        zif_object *value = nullptr;
        ok = readValueAt(file, &value, depth + 1);
        if (ok && !value)
            ok = bad(file);
        ok = ok && zif_listAdd(list, value);
        zif_release(value);
    }
    if (!ok) {
        zif_release(list);
        return nullptr;
    }
    return list;
}

bool readValueAt(zif_object *file, zif_object **value, int32_t depth)
{
    *value = nullptr;
    if (depth > kWireMaxDepth)
        return bad(file);
    int32_t tag = 0;
    if (!wireReadInt32(file, &tag))
        return false;
    zif_context *context = file->context;
    int64_t a = 0, b = 0, c = 0;
    switch (tag) {
    case kWireNullTag:
        return true;
    case ZIF_TYPE_INT:
        if (!wireReadInt64(file, &a))
            return false;
        *value = zif_newInt(context, a);
        break;
    case ZIF_TYPE_DOUBLE: {
        if (!wireReadInt64(file, &a))
            return false;
        double number;
        std::memcpy(&number, &a, sizeof number);
        *value = zif_newDouble(context, number);
        break;
    }
    case ZIF_TYPE_FRACT:
        if (!wireReadInt64(file, &a) || !wireReadInt64(file, &b) || !wireReadInt64(file, &c))
            return false;
        *value = zif_newFract(context, a, b, c);
        break;
    case ZIF_TYPE_STRING: {
        char *text = wireReadString(file);
        if (!text)
            return false;
        *value = zif_newString(context, text);
        zif_free(context, text);
        break;
    }
    case ZIF_TYPE_INTERVAL:
        *value = readInterval(file, depth);
        break;
    case ZIF_TYPE_DATA:
        *value = readData(file);
        break;
    case ZIF_TYPE_TABLE:
        *value = readTable(file, depth);
        break;
    case ZIF_TYPE_LIST:
        *value = readList(file, depth);
        break;
    default:
        return bad(file);
    }
    return *value != nullptr;
}

}  // namespace

bool wireWriteInt32(zif_object *file, int32_t value)
{
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    return zif_fileWrite(file, bytes, 4) != 0;
}

bool wireWriteInt64(zif_object *file, int64_t value)
{
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
    return zif_fileWrite(file, bytes, 8) != 0;
}

bool wireReadInt32(zif_object *file, int32_t *value)
{
    uint8_t bytes[4];
    if (!zif_fileRead(file, bytes, 4))
        return false;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    *value = static_cast<int32_t>(v);
    return true;
}

bool wireReadInt64(zif_object *file, int64_t *value)
{
    uint8_t bytes[8];
    if (!zif_fileRead(file, bytes, 8))
        return false;
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    *value = static_cast<int64_t>(v);
    return true;
}

bool wireReadId(zif_object *file, uint64_t *id)
{
    int64_t v = 0;
    if (!wireReadInt64(file, &v))
        return false;
    *id = static_cast<uint64_t>(v);
    return true;
}

bool wireWriteString(zif_object *file, const char *text)
{
    size_t size = text ? std::strlen(text) : 0;
    if (size > static_cast<size_t>(kMaxFileStringLength))
        return bad(file);
    auto length = static_cast<int32_t>(size);
    return wireWriteInt32(file, length) && zif_fileWrite(file, text ? text : "", length);
}

char *wireReadString(zif_object *file)
{
    // zif_fileReadString refuses negative lengths and lengths beyond what a
    // disk file holds or kMaxFileStringLength (error 22).
    return zif_fileReadString(file);
}

bool wireWriteValue(zif_object *file, zif_object *value)
{
    return cast(file, ZIF_TYPE_FILE) && writeValueAt(file, value, 0);
}

bool wireReadValue(zif_object *file, zif_object **value)
{
    *value = nullptr;
    return cast(file, ZIF_TYPE_FILE) && readValueAt(file, value, 0);
}

}  // namespace zif
