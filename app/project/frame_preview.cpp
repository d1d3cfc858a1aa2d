#include "app/project/frame_preview.h"

#include "app/common/program_files.h"
#include "platform/paths.h"

#include <thread>

namespace vt::project {

namespace {

constexpr auto kWaitStep = std::chrono::milliseconds(10);

} // namespace

QImage PictureFromBgr(const uint8_t *pixels, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        const uint8_t *source = pixels + static_cast<size_t>(y) * width * 3;
        uint8_t *row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = source[x * 3 + 2];
            row[x * 3 + 1] = source[x * 3 + 1];
            row[x * 3 + 2] = source[x * 3];
        }
    }
    return image;
}

FramePreview::FramePreview(VtMessageTarget *target, std::string libraryFolder)
    : target_(target)
    , libraryFolder_(libraryFolder.empty() ? ExePath() : withTrailingSlash(libraryFolder))
{
}

FramePreview::~FramePreview()
{
    stop();
}

void FramePreview::setClip(const std::string &file, PictureSize previewSize, PictureSize displaySize,
                           int readySecond)
{
    file_ = file;
    previewSize_ = previewSize;
    displaySize_ = displaySize;
    readySecond_ = readySecond < 1 ? 1 : readySecond;
}

bool FramePreview::request(int second)
{
    if (running_ && second == lastSecond_) {
        controlsEnabled_ = true;
        return true;
    }
    controlsEnabled_ = false;
    if (running_)
        return nextFrameTime_(second) == 0;
    if (loaded())  // started, not ready yet: the ready message asks for the clip's start
        return true;
    return startServer(second);
}

bool FramePreview::startServer(int second)
{
    if (!library_.open(libraryFolder_ + common::kConverterLibrary) || !library_.bind("X_GetFrame_Init", init_) ||
        !library_.bind("X_Get_Frame", getFrame_) || !library_.bind("X_Set_NextFrame_Time", nextFrameTime_) ||
        !library_.bind("X_GetFrame_UnInit", uninit_)) {
        library_.close();
        return false;
    }
    seeking_ = true;
    running_ = stopped_ = false;
    const std::string start = std::to_string(second);
    if (init_(target_, 2, file_.c_str(), "", start.c_str()) != 0) {
        seeking_ = false;
        library_.close();
        return false;
    }
    return true;
}

void FramePreview::onMessage(uint32_t message, intptr_t wparam, intptr_t)
{
    if (!loaded())
        return;
    switch (message) {
    case CORVANE_MSG_READY:
        seeking_ = false;
        running_ = true;
        stopped_ = false;
        controlsEnabled_ = false;
        if (!stopping_)
            nextFrameTime_(readySecond_);
        break;
    case CORVANE_MSG_FRAME:
        if (wparam == 1 && !stopping_) {
            Frame frame;
            frame.preview = fetch(previewSize_, &frame.second);
            frame.display = fetch(displaySize_, &frame.second);
            if (!frame.preview.isNull() && !frame.display.isNull()) {
                lastSecond_ = frame.second;
                if (onFrame)
                    onFrame(frame);
            }
        }
        controlsEnabled_ = true;
        break;
    case CORVANE_MSG_STOPPED:
        running_ = false;
        stopped_ = true;
        break;
    default:
        break;
    }
}

QImage FramePreview::currentFrame(PictureSize size)
{
    if (!loaded() || !getFrame_)
        return {};
    int second = 0;
    return fetch(size, &second);
}

QImage FramePreview::fetch(PictureSize size, int *second)
{
    if (size.width <= 0 || size.height <= 0)
        return {};
    uint8_t *pixels = nullptr;
    int32_t at = 0;
    if (getFrame_(size.width, size.height, nullptr, &pixels, &at) != 0 || !pixels)
        return {};
    *second = at;
    return PictureFromBgr(pixels, size.width, size.height);
}

bool FramePreview::waitFor(const bool &flag, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!flag) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        if (target_ && target_->pump)
            target_->pump(target_);
        if (!flag)
            std::this_thread::sleep_for(kWaitStep);
    }
    return true;
}

bool FramePreview::stop(std::chrono::milliseconds timeout)
{
    if (!loaded() || stopping_)
        return true;
    stopping_ = true;
    bool answered = waitFor(running_, timeout);
    stopped_ = false;
    if (uninit_() == 0)
        answered = waitFor(stopped_, timeout) && answered;
    running_ = false;
    seeking_ = false;
    controlsEnabled_ = false;
    lastSecond_ = -1;
    library_.close();
    stopping_ = false;
    return answered;
}

} // namespace vt::project
