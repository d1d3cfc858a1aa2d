// The library's current frame: the picture X_Get_Frame hands out, set by
// the probe (first picture of a file) and by the preview worker.
#pragma once

#include <cstdint>
#include <vector>

#include "engines/converter/av_ptr.h"

namespace corvane {

class CurrentFrame {
public:
    // Replaces the current frame (a reference is kept) and its second.
    void set(const AVFrame *frame, int second);
    void clear();

    // The frame scaled to width x height as BGR rows, top row first, without
    // gaps, in a buffer owned by this object until the next call. Null when
    // there is no frame or the size is unusable.
    const uint8_t *bgr(int width, int height, int32_t *second);

private:
    FramePtr frame_;
    int second_ = 0;
    std::vector<uint8_t> scaled_;
    std::vector<uint8_t> pixels_;
    SwsPtr scaler_;
};

// The one current frame of the library; every access holds its lock.
class CurrentFrameLock {
public:
    CurrentFrameLock();
    ~CurrentFrameLock();
    CurrentFrameLock(const CurrentFrameLock &) = delete;
    CurrentFrameLock &operator=(const CurrentFrameLock &) = delete;
    CurrentFrame *operator->();
};

} // namespace corvane
