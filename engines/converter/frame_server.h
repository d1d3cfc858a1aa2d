// The preview's frame server: a worker thread that opens a file, decodes the
// picture at each requested second (accurate seeking) and makes it the
// current frame, reporting to a message target.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/message_target.h"

namespace corvane {

class MediaInput;

class FrameServer {
public:
    ~FrameServer();

    // Starts the worker; it decodes start_second, then posts READY (also when
    // the file cannot be opened). False when a worker is already running.
    bool start(VtMessageTarget *target, const std::string &path, int start_second);
    // Queues a request; every request gets one FRAME message, all requests
    // waiting together get the latest one's frame. False when not running.
    bool request(int second);
    // Joins the worker, then posts STOPPED from the calling thread. False when
    // not running.
    bool stop();

private:
    void run(std::string path, int start_second);
    // Decodes the picture shown at second; false when there is none.
    bool show(MediaInput &input, int second);
    void post(uint32_t message, intptr_t wparam, intptr_t lparam);

    VtMessageTarget *target_ = nullptr;
    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int latest_request_ = 0;
    int waiting_requests_ = 0;
    std::atomic<bool> quit_{false};
    double position_ = -1.0; // seconds of the last picture decoded (worker only)
};

} // namespace corvane
