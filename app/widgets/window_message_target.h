// A window's end of the converter library's messages: posts from any thread
// are queued as Qt events for a receiving object and handed, on its thread,
// to a handler; pumping processes the pending events (the blocking waits of
// the frame preview rely on it).
#pragma once

#include "platform/message_target.h"

#include <QObject>

#include <functional>

namespace vt {

class WindowMessageTarget : public QObject {
public:
    using Handler = std::function<void(uint32_t message, intptr_t wparam, intptr_t lparam)>;

    explicit WindowMessageTarget(Handler handler, QObject *parent = nullptr);

    VtMessageTarget *target() { return &target_; }

protected:
    bool event(QEvent *event) override;

private:
    Handler handler_;
    VtMessageTarget target_ {};
};

} // namespace vt
