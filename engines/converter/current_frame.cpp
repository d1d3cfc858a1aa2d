#include "engines/converter/current_frame.h"

#include <mutex>

namespace corvane {

namespace {

constexpr int kMaxSide = 4096;

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
    pixels_.resize(static_cast<size_t>(width) * height * 3);
    uint8_t *planes[4] = {pixels_.data(), nullptr, nullptr, nullptr};
    int strides[4] = {width * 3, 0, 0, 0};
    if (sws_scale(scaler_.get(), frame_->data, frame_->linesize, 0, frame_->height, planes, strides) != height)
        return nullptr;
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
