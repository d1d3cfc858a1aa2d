// A bounded hand-over of decoded samples from a pipeline's streaming thread
// to the thread that pulls them. The producer blocks while the queue is full;
// the end of the stream is a marker that stays queued so every later look
// sees it; a flush closes the queue (waking a blocked producer, dropping all
// that is offered afterwards) and a reset opens it again after a seek.
#pragma once

#include <gst/gst.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace mediapipe {

class SampleQueue {
public:
    // limit: most entries held at once (the end marker counts); -1 unbounded.
    explicit SampleQueue(int limit) : limit_(limit) {}
    SampleQueue(const SampleQueue &) = delete;
    SampleQueue &operator=(const SampleQueue &) = delete;
    ~SampleQueue();

    // Producer side. Takes the reference; blocks while full; a closed queue
    // drops the sample.
    void offer(GstSample *sample);
    void offerEnd();

    // The head sample (the reference passes to the caller), or null when the
    // queue is empty or its head is the end marker, which then stays queued.
    GstSample *dequeue();

    enum class Next { Sample, End, TimedOut };
    // Waits at most timeout for a sample or the end marker.
    Next wait(std::chrono::milliseconds timeout, GstSample **sample);

    // Closes the queue and drops what it holds, waking a blocked producer.
    void flush();
    // Drops what it holds, the end marker included, and opens it again.
    void reset();

    size_t size() const;
    bool closed() const;

private:
    void enqueue(GstSample *sample);  // null: the end marker
    void clearLocked();

    const int limit_;
    mutable std::mutex lock_;
    std::condition_variable sampleAvailable_;
    std::condition_variable spaceAvailable_;
    std::deque<GstSample *> entries_;  // null entry: end marker
    bool closed_ = false;
};

}  // namespace mediapipe
