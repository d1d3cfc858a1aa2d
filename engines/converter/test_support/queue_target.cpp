#include "engines/converter/test_support/queue_target.h"

#include <thread>

namespace corvane_test {

QueueTarget::QueueTarget()
{
    target_.post = &QueueTarget::post;
    target_.pump = &QueueTarget::pump;
    target_.user = this;
}

void QueueTarget::post(VtMessageTarget *self, uint32_t msg, intptr_t wparam, intptr_t lparam)
{
    auto *queue = static_cast<QueueTarget *>(self->user);
    std::lock_guard<std::mutex> lock(queue->mutex_);
    queue->queued_.push_back({msg, wparam, lparam});
}

void QueueTarget::pump(VtMessageTarget *self)
{
    auto *queue = static_cast<QueueTarget *>(self->user);
    {
        std::lock_guard<std::mutex> lock(queue->mutex_);
        queue->delivered_.insert(queue->delivered_.end(), queue->queued_.begin(), queue->queued_.end());
        queue->queued_.clear();
    }
    ++queue->pump_calls_;
    if (queue->hook_)
        queue->hook_();
}

std::vector<Message> QueueTarget::delivered() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return delivered_;
}

size_t QueueTarget::count(uint32_t id) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    size_t n = 0;
    for (const Message &m : delivered_)
        n += m.id == id;
    return n;
}

std::vector<intptr_t> QueueTarget::lparams(uint32_t id, intptr_t wparam) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<intptr_t> values;
    for (const Message &m : delivered_)
        if (m.id == id && m.wparam == wparam)
            values.push_back(m.lparam);
    return values;
}

bool QueueTarget::wait_for(uint32_t id, size_t n, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        pump(&target_);
        if (count(id) >= n)
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace corvane_test
