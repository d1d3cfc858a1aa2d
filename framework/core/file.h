// File objects over descriptors: disk files here, pipe ends for boxed nodes.
#pragma once

#include "framework/core/object.h"

namespace zif {

// Longest string zif_fileReadString accepts from a stream whose remaining
// length is unknown; a corrupt length cannot make it allocate more.
constexpr int32_t kMaxFileStringLength = 64 * 1024 * 1024;

// The longest wait of one pipe transfer.
constexpr int32_t kPipeTimeoutMs = 60000;

// A file object owning the descriptors (closed once each when it goes away).
zif_object *fileNew(zif_context *context, int readFd, int writeFd);

// Replaces a pipe file's longest wait per transfer (-1: no limit).
void fileSetTimeout(zif_object *file, int32_t ms);

// Makes code the file's sticky error unless it has one: a stream that can
// no longer be followed (a malformed message) is not read any further.
void fileFail(zif_object *file, int32_t code);

// Bytes between the read position and the end of a disk file, or -1 when
// unknown (pipes and other streams).
int64_t fileBytesLeft(zif_object *file);

}  // namespace zif
