#include "engines/converter/pumped_call.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace corvane {

namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(10);

} // namespace

bool run_pumping(VtMessageTarget *target, const std::function<bool()> &work)
{
    std::atomic<bool> done{false};
    bool result = false;
    std::thread worker([&] {
        result = work();
        done = true;
    });
    while (!done) {
        if (target && target->pump)
            target->pump(target);
        std::this_thread::sleep_for(kPumpInterval);
    }
    worker.join();
    if (target && target->pump)
        target->pump(target);
    return result;
}

} // namespace corvane
