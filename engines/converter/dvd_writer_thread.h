// Runs a DvdStreamWriter on its own thread behind a short frame queue, so
// that encoding overlaps decoding and filtering.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "engines/converter/dvd_stream_writer.h"

namespace corvane {

class DvdWriterThread {
public:
    // after_picture runs on the writer thread after every picture written.
    DvdWriterThread(DvdStreamWriter &writer, std::function<void()> after_picture);
    ~DvdWriterThread();
    DvdWriterThread(const DvdWriterThread &) = delete;
    DvdWriterThread &operator=(const DvdWriterThread &) = delete;

    // Queue a frame (waiting while the queue is full). False once writing failed.
    bool write_video(FramePtr picture);
    bool write_audio(FramePtr sound);

    // Writes what is queued and ends the thread; the writer is then the
    // caller's again. False when writing failed (see the writer's error()).
    bool drain();

private:
    struct Item {
        bool video;
        FramePtr frame;
    };
    bool enqueue(Item item);
    void run();

    DvdStreamWriter &writer_;
    std::function<void()> after_picture_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> queue_;
    bool closing_ = false;
    bool failed_ = false;
    std::thread thread_;
};

} // namespace corvane
