// A 500-millisecond progress timer of a production run. Ticks are run from
// the run's message pump, on the thread that owns the view, never from a
// worker.
#pragma once

#include <chrono>
#include <functional>

namespace vt::production {

class ProgressTimer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kInterval{500};

    void setTick(std::function<void()> tick) { tick_ = std::move(tick); }
    void enable();
    void disable() { enabled_ = false; }
    bool enabled() const { return enabled_; }
    // Runs the tick when enabled and the interval has passed.
    void poll(Clock::time_point now = Clock::now());

private:
    std::function<void()> tick_;
    bool enabled_ = false;
    Clock::time_point due_{};
};

} // namespace vt::production
