// Turning a file into a clip record through the converter library
// (libCorvane.so in the program folder, loaded for each file and released
// afterwards).
#pragma once

#include "app/project/clip_record.h"

#include <memory>
#include <string>
#include <vector>

namespace vt::project {

// One sound track of a probed file.
struct SoundTrack {
    int streamIndex = 0;
    int sampleRate = 0;
    int channels = 0;
    float kbps = 0;
    bool used = false;      // the one converted
    std::string language;   // "" when the file does not say
};

struct ProbeResult {
    std::unique_ptr<ClipRecord> clip;  // null when the file cannot be used
    std::string error;                // why, for logs and the command line
    std::vector<SoundTrack> soundTracks; // every sound track, in file order (empty with an older library)
};

// Probes path: the stream facts, then the first picture at coded size as the
// snapshot. letterbox is the clip's letterbox flag. libraryFolder defaults to
// the program folder.
ProbeResult ProbeClip(const std::string &path, bool letterbox = true, const std::string &libraryFolder = "");

// The ".srt" file with the same path as a clip, found without regard to the
// extension's case; "" when there is none.
std::string SameNamedSubtitle(const std::string &clipPath);

} // namespace vt::project
