// The route for sound streams libavcodec cannot decode: the system's own
// decoders. Nothing provides them yet, so every call reports that no system
// decoder is available and such streams fail as unsupported.
#pragma once

#include <string>

namespace ffplug {

struct SystemAudioFormat {
    int sampleRate = 0;
    int channels = 0;
};

// The system decoder's view of stream index of path: false when it has none.
bool systemAudioProbe(const std::string &path, int index, SystemAudioFormat *format);

}  // namespace ffplug
