#include "engines/converter/current_frame.h"

#include <cstring>
#include <mutex>

namespace corvane {

namespace {

constexpr int kMaxSide = 4096;
constexpr size_t kRowAlignment = 64;

std::mutex &current_frame_mutex()
{
    static std::mutex mutex;
    return mutex;
}

CurrentFrame &the_current_frame()
{
    static CurrentFrame frame;
    return frame;
}

} // namespace

void CurrentFrame::set(const AVFrame *frame, int second)
{
    frame_ = clone_frame(frame);
    second_ = second;
}

void CurrentFrame::clear()
{
    frame_.reset();
    second_ = 0;
}

const uint8_t *CurrentFrame::bgr(int width, int height, int32_t *second)
{
    if (!frame_ || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return nullptr;
    scaler_.reset(sws_getCachedContext(scaler_.release(), frame_->width, frame_->height,
                                       static_cast<AVPixelFormat>(frame_->format), width, height, AV_PIX_FMT_BGR24,
                                       SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler_)
        return nullptr;
    // The scaler writes whole SIMD blocks past the end of a row: it gets
    // aligned, padded rows, which are then packed without gaps.
    const size_t row = static_cast<size_t>(width) * 3;
    const size_t stride = (row + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    scaled_.resize(stride * (height + 1));
    uint8_t *planes[4] = {scaled_.data(), nullptr, nullptr, nullptr};
    int strides[4] = {static_cast<int>(stride), 0, 0, 0};
    if (sws_scale(scaler_.get(), frame_->data, frame_->linesize, 0, frame_->height, planes, strides) != height)
        return nullptr;
    pixels_.resize(row * height);
    for (int y = 0; y < height; ++y)
        std::memcpy(pixels_.data() + row * y, scaled_.data() + stride * y, row);
    if (second)
        *second = second_;
    return pixels_.data();
}

CurrentFrameLock::CurrentFrameLock()
{
    current_frame_mutex().lock();
}

CurrentFrameLock::~CurrentFrameLock()
{
    current_frame_mutex().unlock();
}

CurrentFrame *CurrentFrameLock::operator->()
{
    return &the_current_frame();
}

} // namespace corvane
