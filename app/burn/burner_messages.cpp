#include "app/burn/burner_messages.h"

#include "app/burn/burner_facade.h"

namespace vt::burn {

BurnerMessages::BurnerMessages(Handler handler, std::function<void()> idle)
    : handler_(std::move(handler))
    , idle_(std::move(idle))
{
    target_.post = &BurnerMessages::post;
    target_.pump = &BurnerMessages::pumpTarget;
    target_.user = this;
}

void BurnerMessages::post(VtMessageTarget *self, uint32_t message, intptr_t first, intptr_t second)
{
    if (message != kBurnerMessage)
        return;
    auto *me = static_cast<BurnerMessages *>(self->user);
    std::lock_guard<std::mutex> lock(me->mutex_);
    me->queue_.push_back({first, second});
}

void BurnerMessages::pumpTarget(VtMessageTarget *self)
{
    static_cast<BurnerMessages *>(self->user)->pump();
}

void BurnerMessages::pump()
{
    std::deque<Message> messages;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages.swap(queue_);
    }
    if (handler_)
        for (const Message &message : messages)
            handler_(message.first, message.second);
    if (idle_)
        idle_();
}

} // namespace vt::burn
