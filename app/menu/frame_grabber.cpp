#include "app/menu/frame_grabber.h"

#include "app/project/frame_preview.h"
#include "app/common/program_files.h"
#include "platform/paths.h"

#include <thread>

namespace vt::menu {

namespace {

constexpr auto kWaitStep = std::chrono::milliseconds(10);

} // namespace

FrameGrabber::FrameGrabber(std::string libraryFolder, std::chrono::milliseconds timeout)
    : libraryFolder_(libraryFolder.empty() ? ExePath() : withTrailingSlash(libraryFolder))
    , timeout_(timeout)
{
    target_.post = &FrameGrabber::post;
    target_.pump = &FrameGrabber::pump;
    target_.user = this;
}

FrameGrabber::~FrameGrabber()
{
    close();
}

void FrameGrabber::post(VtMessageTarget *self, uint32_t message, intptr_t wparam, intptr_t lparam)
{
    auto *grabber = static_cast<FrameGrabber *>(self->user);
    std::lock_guard<std::mutex> lock(grabber->mutex_);
    grabber->queued_.push_back({message, wparam, lparam});
}

void FrameGrabber::pump(VtMessageTarget *self)
{
    static_cast<FrameGrabber *>(self->user)->deliver();
}

void FrameGrabber::deliver()
{
    std::vector<Message> messages;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages.swap(queued_);
    }
    for (const Message &m : messages) {
        switch (m.id) {
        case CORVANE_MSG_READY:
            ready_ = true;
            usable_ = m.wparam == 1;
            stopped_ = false;
            break;
        case CORVANE_MSG_FRAME:
            if (m.lparam == asked_) {
                answered_ = true;
                withFrame_ = m.wparam == 1;
            }
            break;
        case CORVANE_MSG_STOPPED:
            stopped_ = true;
            ready_ = false;
            break;
        default:
            break;
        }
    }
}

bool FrameGrabber::waitFor(const bool &flag)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout_;
    for (;;) {
        deliver();
        if (flag)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        if (whileWaiting)
            whileWaiting();
        std::this_thread::sleep_for(kWaitStep);
    }
}

bool FrameGrabber::bindLibrary(Module &library, EntryPoints &entries) const
{
    return library.open(libraryFolder_ + common::kConverterLibrary) && library.bind("X_GetFrame_Init", entries.init) &&
           library.bind("X_Get_Frame", entries.getFrame) &&
           library.bind("X_Set_NextFrame_Time", entries.nextFrameTime) &&
           library.bind("X_GetFrame_UnInit", entries.uninit);
}

bool FrameGrabber::libraryAvailable() const
{
    if (library_.isOpen())
        return true;
    Module probe;
    EntryPoints entries;
    return bindLibrary(probe, entries);
}

bool FrameGrabber::open(const std::string &file, int startSecond)
{
    close();
    if (!bindLibrary(library_, entries_)) {
        library_.close();
        return false;
    }
    ready_ = usable_ = stopped_ = false;
    asked_ = -1;
    const std::string start = std::to_string(startSecond < 1 ? 1 : startSecond);
    if (entries_.init(&target_, 2, file.c_str(), "", start.c_str()) != 0) {
        library_.close();
        return false;
    }
    if (!waitFor(ready_) || !usable_) {
        close();
        return false;
    }
    return true;
}

QImage FrameGrabber::frameAt(int second, project::PictureSize size)
{
    if (!ready_ || size.width <= 0 || size.height <= 0)
        return {};
    answered_ = withFrame_ = false;
    asked_ = second;
    if (entries_.nextFrameTime(second) != 0 || !waitFor(answered_) || !withFrame_)
        return {};
    uint8_t *pixels = nullptr;
    int32_t at = 0;
    if (entries_.getFrame(size.width, size.height, nullptr, &pixels, &at) != 0 || !pixels)
        return {};
    return project::PictureFromBgr(pixels, size.width, size.height);
}

void FrameGrabber::close()
{
    if (!library_.isOpen())
        return;
    stopped_ = false;
    if (entries_.uninit() == 0)
        waitFor(stopped_);
    ready_ = false;
    asked_ = -1;
    library_.close();
    std::lock_guard<std::mutex> lock(mutex_);
    queued_.clear();
}

} // namespace vt::menu
