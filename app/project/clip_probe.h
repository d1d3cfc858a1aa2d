// Turning a file into a clip record through the converter library
// (libCorvane.so in the program folder, loaded for each file and released
// afterwards).
#pragma once

#include "app/project/clip_record.h"

#include <memory>
#include <string>

namespace vt::project {

struct ProbeResult {
    std::unique_ptr<TClipInfo> clip;  // null when the file cannot be used
    std::string error;                // why, for logs and the command line
};

// Probes path: the stream facts, then the first picture at coded size as the
// snapshot. letterbox is the clip's letterbox flag. libraryFolder defaults to
// the program folder.
ProbeResult ProbeClip(const std::string &path, bool letterbox = true, const std::string &libraryFolder = "");

// The ".srt" file with the same path as a clip, found without regard to the
// extension's case; "" when there is none.
std::string SameNamedSubtitle(const std::string &clipPath);

} // namespace vt::project
