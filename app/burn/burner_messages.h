// A window's (or the command line's) end of the burner facade's posts:
// messages posted from the facade's workers are queued, and each pump hands
// them, on the pumping thread, to a handler and then runs an idle step (the
// window's events, the run's timers).
#pragma once

#include "platform/message_target.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace vt::burn {

class BurnerMessages {
public:
    using Handler = std::function<void(intptr_t first, intptr_t second)>;

    BurnerMessages(Handler handler, std::function<void()> idle);
    BurnerMessages(const BurnerMessages &) = delete;
    BurnerMessages &operator=(const BurnerMessages &) = delete;

    VtMessageTarget *target() { return &target_; }
    // Delivers what is queued, then runs the idle step.
    void pump();

private:
    struct Message {
        intptr_t first, second;
    };
    static void post(VtMessageTarget *self, uint32_t message, intptr_t first, intptr_t second);
    static void pumpTarget(VtMessageTarget *self);

    Handler handler_;
    std::function<void()> idle_;
    std::mutex mutex_;
    std::deque<Message> queue_;
    VtMessageTarget target_{};
};

} // namespace vt::burn
