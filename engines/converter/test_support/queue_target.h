// A message target for tests: posts queue from any thread, pump() delivers
// them on the pumping thread into a list the test inspects.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/message_target.h"

namespace corvane_test {

struct Message {
    uint32_t id;
    intptr_t wparam;
    intptr_t lparam;
};

class QueueTarget {
public:
    QueueTarget();
    VtMessageTarget *target() { return &target_; }

    // Messages delivered so far by pump(), in order.
    std::vector<Message> delivered() const;
    size_t count(uint32_t id) const;
    // The lparam of each delivered message id with that wparam, in order.
    std::vector<intptr_t> lparams(uint32_t id, intptr_t wparam) const;
    int pump_calls() const { return pump_calls_; }
    // Called on the pumping thread for every pump (after delivery).
    void on_pump(std::function<void()> hook) { hook_ = std::move(hook); }

    // Pumps until count(id) reaches n or the time-out passes; true on success.
    bool wait_for(uint32_t id, size_t n, std::chrono::milliseconds timeout);

private:
    static void post(VtMessageTarget *self, uint32_t msg, intptr_t wparam, intptr_t lparam);
    static void pump(VtMessageTarget *self);

    VtMessageTarget target_;
    mutable std::mutex mutex_;
    std::vector<Message> queued_;
    std::vector<Message> delivered_;
    int pump_calls_ = 0;
    std::function<void()> hook_;
};

} // namespace corvane_test
