// The clip list's live frame preview: the converter library's frame server
// for one clip, driven by its messages 2312 (ready), 2412 (frame) and 2512
// (stopped). The window owns the message target; it hands every message it
// receives to onMessage() and shows what onFrame delivers.
//
// Every wait has a time-out, so a library that stops answering cannot hang
// the program; a 2412 without a frame (wparam 0) or a frame the library
// cannot hand out is never drawn.
#pragma once

#include "app/project/display_geometry.h"
#include "engines/converter/corvane.h"
#include "platform/message_target.h"
#include "platform/module_loader.h"

#include <QImage>

#include <chrono>
#include <functional>
#include <string>

namespace vt::project {

class FramePreview {
public:
    struct Frame {
        QImage preview;  // at preview size
        QImage display;  // at display size (the clip's new snapshot)
        int second = 0;
    };

    // target: where the library posts; pumping it must deliver the posted
    // messages to onMessage(). libraryFolder defaults to the program folder.
    explicit FramePreview(VtMessageTarget *target, std::string libraryFolder = "");
    ~FramePreview();
    FramePreview(const FramePreview &) = delete;
    FramePreview &operator=(const FramePreview &) = delete;

    // Which clip is previewed: its file, its preview and display sizes, and
    // the second asked for when the server is ready (the clip's start).
    void setClip(const std::string &file, PictureSize previewSize, PictureSize displaySize, int readySecond);

    // Asks for the frame at second: starts the server when it is not
    // running. False when the library or one of its frame entry points is
    // missing (the preview then simply does not run).
    bool request(int second);
    void onMessage(uint32_t message, intptr_t wparam, intptr_t lparam);
    // Ends the server and releases the library; false when the library did
    // not answer within the time-out (it is released all the same).
    bool stop(std::chrono::milliseconds timeout = std::chrono::seconds(5));

    // The current frame at size, fetched from the running server (the
    // snapshot button); a null image when nothing can be fetched.
    QImage currentFrame(PictureSize size);

    bool loaded() const { return library_.isOpen(); }
    bool running() const { return running_; }
    // The preview controls are enabled between a frame message and the next request.
    bool controlsEnabled() const { return controlsEnabled_; }
    bool seeking() const { return seeking_; }  // "Seeking please wait..." shown
    int lastSecond() const { return lastSecond_; }

    std::function<void(const Frame &)> onFrame;

private:
    bool startServer(int second);
    bool waitFor(const bool &flag, std::chrono::milliseconds timeout);
    QImage fetch(PictureSize size, int *second);

    VtMessageTarget *target_;
    std::string libraryFolder_;
    std::string file_;
    PictureSize previewSize_, displaySize_;
    int readySecond_ = 1;

    Module library_;
    decltype(&X_GetFrame_Init) init_ = nullptr;
    decltype(&X_Get_Frame) getFrame_ = nullptr;
    decltype(&X_Set_NextFrame_Time) nextFrameTime_ = nullptr;
    decltype(&X_GetFrame_UnInit) uninit_ = nullptr;

    bool running_ = false;
    bool stopped_ = false;
    bool stopping_ = false;
    bool controlsEnabled_ = false;
    bool seeking_ = false;
    int lastSecond_ = -1;
};

// A BGR picture from the library as an image.
QImage PictureFromBgr(const uint8_t *pixels, int width, int height);

} // namespace vt::project
