// Which libavcodec decoder reads an AVI stream: the bitmap header's
// compression or the stream handler looked up in libavformat's RIFF tables
// for video, the wave format tag (or the sub-format of an extensible
// format) for sound.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstdint>
#include <vector>

namespace avifile {

// The bitmap header fields a decoder needs (the header is at least 40 bytes).
struct BitmapHeader {
    int32_t width = 0, height = 0;  // height > 0: bottom-up lines
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t size = 0;        // of the header itself; a palette follows it
    uint32_t colorsUsed = 0;  // palette entries; 0: all that the bit count allows
};
BitmapHeader bitmapHeaderOf(const std::vector<uint8_t> &format);
AVCodecID videoCodecOf(const BitmapHeader &header, uint32_t handler);

// The wave format fields, from a block of at least 18 bytes.
struct WaveFormat {
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t bytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
};
WaveFormat waveFormatOf(const std::vector<uint8_t> &format);
AVCodecID soundCodecOf(const std::vector<uint8_t> &format);

// A wave format block widened to at least 18 bytes: a PCM format without
// bits per sample gets them from its block alignment and channel count, and
// a block without extra size gets 0.
std::vector<uint8_t> waveFormatCompleted(const std::vector<uint8_t> &format);

}  // namespace avifile
