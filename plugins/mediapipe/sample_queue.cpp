#include "plugins/mediapipe/sample_queue.h"

namespace mediapipe {

SampleQueue::~SampleQueue()
{
    std::lock_guard<std::mutex> hold(lock_);
    clearLocked();
}

void SampleQueue::clearLocked()
{
    for (GstSample *s : entries_)
        if (s)
            gst_sample_unref(s);
    entries_.clear();
    spaceAvailable_.notify_all();
}

void SampleQueue::enqueue(GstSample *sample)
{
    std::unique_lock<std::mutex> hold(lock_);
    spaceAvailable_.wait(hold, [&] { return closed_ || limit_ < 0 || entries_.size() < static_cast<size_t>(limit_); });
    if (closed_) {
        if (sample)
            gst_sample_unref(sample);
        return;
    }
    entries_.push_back(sample);
    sampleAvailable_.notify_all();
}

void SampleQueue::offer(GstSample *sample)
{
    if (sample)
        enqueue(sample);
}

void SampleQueue::offerEnd() { enqueue(nullptr); }

GstSample *SampleQueue::dequeue()
{
    std::lock_guard<std::mutex> hold(lock_);
    if (entries_.empty() || !entries_.front())
        return nullptr;
    GstSample *s = entries_.front();
    entries_.pop_front();
    spaceAvailable_.notify_all();
    return s;
}

SampleQueue::Next SampleQueue::wait(std::chrono::milliseconds timeout, GstSample **sample)
{
    *sample = nullptr;
    std::unique_lock<std::mutex> hold(lock_);
    if (!sampleAvailable_.wait_for(hold, timeout, [&] { return !entries_.empty(); }))
        return Next::TimedOut;
    if (!entries_.front())
        return Next::End;
    *sample = entries_.front();
    entries_.pop_front();
    spaceAvailable_.notify_all();
    return Next::Sample;
}

void SampleQueue::flush()
{
    std::lock_guard<std::mutex> hold(lock_);
    closed_ = true;
    clearLocked();
}

void SampleQueue::reset()
{
    std::lock_guard<std::mutex> hold(lock_);
    clearLocked();
    closed_ = false;
}

size_t SampleQueue::size() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return entries_.size();
}

bool SampleQueue::closed() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return closed_;
}

}  // namespace mediapipe
