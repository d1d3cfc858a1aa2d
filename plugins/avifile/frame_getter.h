// The frame getter of an AVI video stream: decodes the chunk of any frame
// number with libavcodec, starting over from the last key frame at or
// before it when the frame is not the next one, and converts the picture to
// 32-bit BGRA laid out bottom-up, the first line in memory being the last
// line of the picture. A zero-size chunk repeats the frame before it.
#pragma once

#include "plugins/avifile/avi_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <array>
#include <deque>

struct SwsContext;

namespace avifile {

class FrameGetter {
public:
    FrameGetter() = default;
    FrameGetter(const FrameGetter &) = delete;
    FrameGetter &operator=(const FrameGetter &) = delete;
    ~FrameGetter();

    // The decoder for the stream's bitmap header; the pictures are width x
    // height. False when no decoder fits.
    bool open(const AviFile &file, const AviStream &stream, int width, int height);

    // Decodes frame n into bgra (width * 4 * height bytes). False when the
    // frame cannot be decoded; *sizeMatches is false when a picture came out
    // with another size than the stream's.
    bool frame(int64_t n, uint8_t *bgra, bool *sizeMatches);

private:
    void restartAt(int64_t chunk);
    void dropReady();
    bool feedNext();
    bool decodeUpTo(int64_t wanted);
    bool convert(uint8_t *bgra, bool *sizeMatches);

    const AviFile *file_ = nullptr;
    const AviStream *stream_ = nullptr;
    int width_ = 0, height_ = 0;
    AVCodecContext *codec_ = nullptr;
    AVPacket *packet_ = nullptr;
    AVFrame *decoded_ = nullptr;  // the picture of chunk current_
    AVFrame *pending_ = nullptr;
    // Pictures the decoder gave back ahead of need, with their frame numbers.
    std::deque<std::pair<int64_t, AVFrame *>> ready_;
    int64_t lastReady_ = -1;  // frame number of the newest picture given back
    SwsContext *scaler_ = nullptr;
    int64_t current_ = -1;       // chunk whose picture decoded_ holds
    int64_t nextToFeed_ = 0;     // next chunk to hand the decoder
    bool drained_ = false;
    std::vector<uint8_t> bytes_;
    // Pictures of up to 8 bits per pixel: the palette of the bitmap header,
    // handed to the decoder with the first chunk after every start.
    std::array<uint32_t, 256> palette_{};
    bool hasPalette_ = false;
    bool paletteSent_ = false;
};

}  // namespace avifile
