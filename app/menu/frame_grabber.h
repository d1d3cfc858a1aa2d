// Single frames of a clip from the converter library's frame server, one
// second after another: the chapter buttons' pictures and the image
// dialog's scrubbing.
//
// The grabber owns the message target the library posts to; it pumps it
// itself while it waits, and every wait has a time-out. An answer is only
// taken for the second asked for, so an answer that arrives after its wait
// gave up is never taken for the next request.
#pragma once

#include "app/project/display_geometry.h"
#include "engines/converter/corvane.h"
#include "platform/message_target.h"
#include "platform/module_loader.h"

#include <QImage>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace vt::menu {

// Where pictures of a clip come from (the converter library, or a script in tests).
class FrameSource {
public:
    virtual ~FrameSource() = default;
    // Starts serving the file from startSecond; false when the library is
    // missing, cannot open the file or does not become ready.
    virtual bool open(const std::string &file, int startSecond) = 0;
    // The frame at second, at size; null when there is none (the library
    // answered without a frame, or did not answer in time).
    virtual QImage frameAt(int second, project::PictureSize size) = 0;
    virtual void close() = 0;
};

class FrameGrabber : public FrameSource {
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{5000};

    // libraryFolder: where the converter library is (default the program
    // folder). timeout: the longest any single wait lasts.
    explicit FrameGrabber(std::string libraryFolder = "", std::chrono::milliseconds timeout = kDefaultTimeout);
    ~FrameGrabber() override;
    FrameGrabber(const FrameGrabber &) = delete;
    FrameGrabber &operator=(const FrameGrabber &) = delete;

    // True when the library and its frame entry points can be loaded.
    bool libraryAvailable() const;

    bool open(const std::string &file, int startSecond) override;
    QImage frameAt(int second, project::PictureSize size) override;
    // Ends the server (waiting for its answer at most the time-out) and
    // releases the library. Nothing when it does not run.
    void close() override;

    bool isOpen() const { return library_.isOpen(); }
    // Called on every step of a wait (a window keeps its events flowing).
    std::function<void()> whileWaiting;

private:
    struct Message {
        uint32_t id;
        intptr_t wparam, lparam;
    };
    static void post(VtMessageTarget *self, uint32_t message, intptr_t wparam, intptr_t lparam);
    static void pump(VtMessageTarget *self);
    void deliver();
    bool waitFor(const bool &flag);
    struct EntryPoints {
        decltype(&X_GetFrame_Init) init = nullptr;
        decltype(&X_Get_Frame) getFrame = nullptr;
        decltype(&X_Set_NextFrame_Time) nextFrameTime = nullptr;
        decltype(&X_GetFrame_UnInit) uninit = nullptr;
    };
    bool bindLibrary(Module &library, EntryPoints &entries) const;

    std::string libraryFolder_;
    std::chrono::milliseconds timeout_;
    VtMessageTarget target_{};
    std::mutex mutex_;
    std::vector<Message> queued_;

    Module library_;
    EntryPoints entries_;

    bool ready_ = false;
    bool usable_ = false;  // the server could open the file
    bool stopped_ = false;
    bool answered_ = false;
    bool withFrame_ = false;
    int asked_ = -1;
};

} // namespace vt::menu
