// The binary encoding of values on a pipe between a master and its slave:
// little-endian numbers, strings as an int32 length and bytes, values as
// their type tag followed by the kind's fields. Every item is one transfer,
// so that both ends issue reads and writes in the same steps.
#pragma once

#include "framework/core/object.h"

namespace zif {

// The largest data value and the deepest nesting a reader accepts.
constexpr int32_t kWireMaxDataSize = 256 * 1024 * 1024;
constexpr int32_t kWireMaxDepth = 64;
// The tag of a missing value (a null description, an unbounded interval end).
constexpr int32_t kWireNullTag = 0;

bool wireWriteInt32(zif_object *file, int32_t value);
bool wireWriteInt64(zif_object *file, int64_t value);
bool wireReadInt32(zif_object *file, int32_t *value);
bool wireReadInt64(zif_object *file, int64_t *value);
inline bool wireWriteId(zif_object *file, uint64_t id) { return wireWriteInt64(file, static_cast<int64_t>(id)); }
bool wireReadId(zif_object *file, uint64_t *id);

// A null text travels as the empty string.
bool wireWriteString(zif_object *file, const char *text);
// The text (zif_free it), or null with the error recorded (22 for a length
// the peer cannot have meant).
char *wireReadString(zif_object *file);

// A value, or null (tag 0). Anything but a value fails with error 22.
bool wireWriteValue(zif_object *file, zif_object *value);
// True with *value set (a new reference, or null for tag 0); false with the
// error recorded: 22 for anything malformed, the transfer's error otherwise.
bool wireReadValue(zif_object *file, zif_object **value);

}  // namespace zif
