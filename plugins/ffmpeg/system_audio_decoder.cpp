#include "plugins/ffmpeg/system_audio_decoder.h"

namespace ffplug {

bool systemAudioProbe(const std::string &, int, SystemAudioFormat *) { return false; }

}  // namespace ffplug
