#include "engines/converter/dvd_writer_thread.h"

namespace corvane {

namespace {

// Frames waiting for the encoder: enough to ride out uneven decoding, small
// enough that a stop completes the file at once.
constexpr size_t kQueueLength = 32;

} // namespace

DvdWriterThread::DvdWriterThread(DvdStreamWriter &writer, std::function<void()> after_picture)
    : writer_(writer), after_picture_(std::move(after_picture)), thread_(&DvdWriterThread::run, this)
{
}

DvdWriterThread::~DvdWriterThread()
{
    drain();
}

bool DvdWriterThread::write_video(FramePtr picture)
{
    return enqueue({true, std::move(picture)});
}

bool DvdWriterThread::write_audio(FramePtr sound)
{
    return enqueue({false, std::move(sound)});
}

bool DvdWriterThread::enqueue(Item item)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return failed_ || queue_.size() < kQueueLength; });
    if (failed_)
        return false;
    queue_.push_back(std::move(item));
    changed_.notify_all();
    return true;
}

bool DvdWriterThread::drain()
{
    if (thread_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    return !failed_;
}

void DvdWriterThread::run()
{
    for (;;) {
        Item item;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
            if (queue_.empty())
                return; // closing, and everything is written
            item = std::move(queue_.front());
            queue_.pop_front();
            changed_.notify_all();
        }
        bool ok = item.video ? writer_.write_video(item.frame.get()) : writer_.write_audio(item.frame.get());
        if (!ok) {
            std::lock_guard<std::mutex> lock(mutex_);
            failed_ = true;
            queue_.clear();
            changed_.notify_all();
            return;
        }
        if (item.video && after_picture_)
            after_picture_();
    }
}

} // namespace corvane
