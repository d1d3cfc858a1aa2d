// The route for sound streams libavcodec cannot decode: the system's own
// decoders (GStreamer), fed the stream's compressed packets one by one.
// Only the codecs of the mapping below have this route; for any other, and
// where no system decoder takes the stream, such streams fail as unsupported.
#pragma once

#include "plugins/mediapipe/block_decoder.h"

extern "C" {
#include <libavcodec/packet.h>
#include <libavcodec/codec_par.h>
}

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ffplug {

struct SystemAudioFormat {
    int sampleRate = 0;
    int channels = 0;
};

// The system decoder's view of stream index of path: false when it has none.
bool systemAudioProbe(const std::string &path, int index, SystemAudioFormat *format);

// Set VANTOREL_SYSTEM_AUDIO=1 to send every mapped sound codec through the
// system decoders even where libavcodec has one (for tests).
bool systemAudioForced();

// The caps a system decoder is asked for: MPEG-1 layers II and III, AC-3,
// 16-bit little-endian PCM, mu-law, A-law, IMA and Microsoft ADPCM; empty
// for any other codec. Sample rate and channels are given when known.
std::string systemAudioCaps(const AVCodecParameters *par);

// An AC-3 frame header at or after zero bytes at the start of block.
struct Ac3Header {
    int sampleRate = 0;
    int bitRate = 0;  // bits a second; 0 for an invalid frame-size code
};
// False when there is no sync word with three bytes after it, or its
// sample-rate code is the reserved one.
bool ac3HeaderRead(const uint8_t *block, size_t size, Ac3Header *header);

class SystemAudioDecoder {
public:
    // Null when the codec has no system route or no system decoder takes it.
    static std::unique_ptr<SystemAudioDecoder> open(const AVCodecParameters *par);

    // Decodes one packet (of any size); appends interleaved 16-bit samples.
    // The samples a packet says to skip at the start or discard at the end
    // are left out. A null packet drains what the decoder still holds.
    bool decode(const AVPacket *packet, std::vector<int16_t> *samples);
    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }

private:
    mediapipe::BlockDecoder decoder_;
    void trim(std::vector<int16_t> *samples, size_t from, uint32_t discardAtEnd);

    bool ac3_ = false;
    bool drained_ = false;
    uint64_t skipPending_ = 0;  // sample frames still to leave out at the start
    int sampleRate_ = 0;
    int channels_ = 0;
};

}  // namespace ffplug
