// The statistics file of two-pass video encoding: written by the first
// pass as the encoder reports, read whole by the second.
#pragma once

#include "framework/include/zif.h"

#include <string>

namespace ffplug {

class TwoPassLog {
public:
    ~TwoPassLog();
    // Creates the file at uri for the first pass (error 19 when it cannot).
    bool create(zif_context *context, const std::string &uri);
    // Reads the whole file at uri for the second pass (19 or 24).
    bool readAll(zif_context *context, const std::string &uri);
    // Appends text (error 25 when the write fails).
    bool append(const char *text);
    // The statistics of the first pass, zero-terminated, for the encoder.
    const char *statistics() const { return text_.c_str(); }

private:
    zif_object *file_ = nullptr;
    std::string text_;
};

}  // namespace ffplug
