// The sound decoder of an AVI audio stream: decodes the stream's chunks
// with libavcodec and converts them with libswresample to interleaved
// signed 16-bit at the source rate, mono for a mono source and stereo for
// every other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;
struct AVCodecParserContext;

namespace avifile {

class SoundConverter {
public:
    SoundConverter() = default;
    SoundConverter(const SoundConverter &) = delete;
    SoundConverter &operator=(const SoundConverter &) = delete;
    ~SoundConverter();

    // format: the wave format block (at least 18 bytes). False when no
    // decoder fits it.
    bool open(const std::vector<uint8_t> &format);
    int channels() const { return channels_; }
    int sampleRate() const { return sampleRate_; }

    // Decodes bytes and appends the converted samples to out; null bytes
    // flushes what the decoder still holds. False on a failed conversion.
    bool convert(const uint8_t *bytes, size_t size, std::vector<int16_t> *out);

private:
    bool decode(const uint8_t *bytes, int size, std::vector<int16_t> *out);
    bool take(std::vector<int16_t> *out);

    AVCodecContext *codec_ = nullptr;
    AVPacket *packet_ = nullptr;
    AVFrame *frame_ = nullptr;
    SwrContext *resampler_ = nullptr;
    AVCodecParserContext *parser_ = nullptr;  // frames the codec's bytes where chunks do not
    int channels_ = 0;
    int sampleRate_ = 0;
    std::vector<uint8_t> padded_;
};

// The target channel count for a source of that many channels.
inline int targetChannelsFor(int sourceChannels) { return sourceChannels == 1 ? 1 : 2; }

}  // namespace avifile
