// The file extensions a system decoder claims: every extension a GStreamer
// type finder knows for a video container, minus sound-only and still-image
// kinds.
#pragma once

#include <string>
#include <vector>

namespace mediapipe {

struct ExtensionCandidate {
    std::string name;  // with its leading dot
    std::string mimeType;
    std::string description;
};

// Whether candidate joins list: it starts with ".", is not a sound or image
// kind, its description does not name the sound player, its MIME type is
// empty or "video/...", and list does not hold it yet (all without regard
// to case).
bool extensionTaken(const ExtensionCandidate &candidate, const std::vector<std::string> &list);

// The candidates in the order given, filtered by extensionTaken.
std::vector<std::string> extensionsFrom(const std::vector<ExtensionCandidate> &candidates);

// The candidates of GStreamer's type finders, in rank order.
std::vector<ExtensionCandidate> typeFinderCandidates();

}  // namespace mediapipe
