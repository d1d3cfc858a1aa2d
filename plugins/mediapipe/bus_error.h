// The first error a pipeline posted on its bus, taken off the bus.
#pragma once

#include <gst/gst.h>

#include <string>

namespace mediapipe {

// True when pipeline (may be null) posted an error; *error (when given) is
// then its message, or fallback when it has none.
bool busErrorTake(GstElement *pipeline, const char *fallback, std::string *error);

}  // namespace mediapipe
