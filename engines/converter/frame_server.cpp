#include "engines/converter/frame_server.h"

#include <algorithm>
#include <cmath>

#include "engines/converter/corvane.h"
#include "engines/converter/current_frame.h"
#include "engines/converter/media_input.h"
#include "engines/converter/picture_rotation.h"

namespace corvane {

namespace {

// A request this little ahead of the last picture is reached by decoding on
// instead of seeking.
constexpr double kDecodeOnSeconds = 3.0;

} // namespace

FrameServer::~FrameServer()
{
    if (worker_.joinable()) {
        quit_ = true;
        wake_.notify_all();
        worker_.join();
    }
}

bool FrameServer::start(VtMessageTarget *target, const std::string &path, int start_second)
{
    if (worker_.joinable())
        return false;
    target_ = target;
    quit_ = false;
    latest_request_ = 0;
    waiting_requests_ = 0;
    position_ = -1.0;
    worker_ = std::thread(&FrameServer::run, this, path, start_second);
    return true;
}

bool FrameServer::request(int second)
{
    if (!worker_.joinable())
        return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        latest_request_ = second;
        ++waiting_requests_;
    }
    wake_.notify_one();
    return true;
}

bool FrameServer::stop()
{
    if (!worker_.joinable())
        return false;
    quit_ = true;
    wake_.notify_all();
    worker_.join();
    // Posted only now: once the window sees it, no code of the library runs
    // on any thread, so the library may be unloaded.
    post(CORVANE_MSG_STOPPED, 0, 0);
    return true;
}

void FrameServer::post(uint32_t message, intptr_t wparam, intptr_t lparam)
{
    if (target_ && target_->post)
        target_->post(target_, message, wparam, lparam);
}

void FrameServer::run(std::string path, int start_second)
{
    MediaInput input;
    MediaInputOptions options;
    options.want_audio = false;
    std::string error;
    bool usable = input.open(path, options, &error) && input.video_stream();
    if (usable)
        show(input, start_second);
    post(CORVANE_MSG_READY, usable ? 1 : 0, 0);

    for (;;) {
        int second = 0;
        int answers = 0;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || waiting_requests_ > 0; });
            if (quit_)
                return;
            second = latest_request_;
            answers = waiting_requests_;
            waiting_requests_ = 0;
        }
        bool shown = usable && show(input, second);
        for (int i = 0; i < answers; ++i)
            post(CORVANE_MSG_FRAME, shown ? 1 : 0, second);
    }
}

bool FrameServer::show(MediaInput &input, int second)
{
    double target = std::max(0, second);
    AVStream *stream = input.video_stream();
    AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : AVRational{25, 1};
    double half_frame = 0.5 / av_q2d(rate);
    if (position_ < 0 || target < position_ || target - position_ > kDecodeOnSeconds) {
        input.seek(target);
        position_ = -1.0;
    }
    FramePtr picture;
    double picture_seconds = 0;
    DecodedFrame decoded;
    bool reached = false;
    while (!quit_ && input.next_frame(decoded)) {
        double seconds = timestamp_seconds(decoded.frame->pts, stream->time_base) - input.start_seconds();
        if (std::isnan(seconds))
            seconds = position_ < 0 ? 0.0 : position_ + 2 * half_frame;
        position_ = seconds;
        picture = std::move(decoded.frame);
        picture_seconds = seconds;
        if (seconds >= target - half_frame) {
            reached = true;
            break;
        }
    }
    if (!reached)
        position_ = -1.0; // the decoder is drained: the next request seeks
    if (!picture)
        return false; // past the end (or stopping): the current frame stays
    // A picture shown within half a frame before a whole second belongs to it
    // (timestamps in coarse time bases land just short of the second).
    if (int rotation = display_rotation(stream)) {
        picture = rotate_picture(picture.get(), rotation);
        if (!picture)
            return false;
    }
    CurrentFrameLock()->set(picture.get(), static_cast<int>(std::max(0.0, picture_seconds + half_frame)));
    return true;
}

} // namespace corvane
