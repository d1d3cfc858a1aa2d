// The error codes decoder and converter plug-ins report with
// zif_setLastError, beside the framework's own codes in zif.h.
#pragma once

#include "framework/include/zif.h"

namespace plugins {

enum PluginError : int32_t {
    // Memory for a picture or buffer cannot be had.
    kErrNoMemory = ZIF_ERR_NO_MEMORY,  // 1
    // A sample or description that cannot be converted; an index out of range.
    kErrConversion = ZIF_ERR_CONVERSION,  // 14
    // The file cannot be opened as media, holds no usable stream, or its codec cannot be opened.
    kErrMediaOpen = 15,
    // An encoder cannot be opened with the asked settings.
    kErrCodecOpen = 16,
    // A scaler for the requested geometry cannot be made.
    kErrScalerCreate = 17,
    // Picture data smaller than its geometry needs.
    kErrPlaneSize = ZIF_ERR_BAD_BINARY,  // 22
    // A required description entry ("uri", a target) is missing.
    kErrMissingEntry = ZIF_ERR_MISSING_ENTRY,  // 23
    // A file (an encoder's statistics log) cannot be written.
    kErrWrite = ZIF_ERR_WRITE,  // 25
    // A pixel layout, channel count or codec the plug-in cannot handle.
    kErrUnsupported = ZIF_ERR_NO_DIRECT_CREATE,  // 29
};

// Records code as the context's last error of object's context; returns 0 so
// callbacks can "return fail(...)".
inline int32_t fail(zif_object *object, int32_t code)
{
    zif_setLastError(zif_objectGetContext(object), code);
    return 0;
}

}  // namespace plugins
