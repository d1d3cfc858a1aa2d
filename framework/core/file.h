// File objects over descriptors: disk files here, pipe ends for boxed nodes.
#pragma once

#include "framework/core/object.h"

namespace zif {

// Longest string zif_fileReadString accepts from a stream whose remaining
// length is unknown; a corrupt length cannot make it allocate more.
constexpr int32_t kMaxFileStringLength = 64 * 1024 * 1024;

// A file object owning the descriptors (closed once each when it goes away).
zif_object *fileNew(zif_context *context, int readFd, int writeFd);

}  // namespace zif
