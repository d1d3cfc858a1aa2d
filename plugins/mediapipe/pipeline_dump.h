// A diagnostic text of a pipeline: one element per line, every element of
// the bin (recursively) with its pads, the peer of each linked pad and the
// caps agreed on the link. Its layout is not relied upon.
#pragma once

#include <gst/gst.h>

#include <string>

namespace mediapipe {

// The "dsgraph" element describing bin.
std::string pipelineDump(GstElement *bin);

// Text with &, <, > and " written as entities.
std::string xmlEscape(const std::string &text);

}  // namespace mediapipe
