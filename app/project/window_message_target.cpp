#include "app/widgets/window_message_target.h"

#include <QCoreApplication>
#include <QEvent>

namespace vt::project {

namespace {

const QEvent::Type kLibraryMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

struct LibraryMessageEvent : QEvent {
    LibraryMessageEvent(uint32_t message, intptr_t wparam, intptr_t lparam)
        : QEvent(kLibraryMessage)
        , message(message)
        , wparam(wparam)
        , lparam(lparam)
    {
    }
    uint32_t message;
    intptr_t wparam, lparam;
};

} // namespace

WindowMessageTarget::WindowMessageTarget(Handler handler, QObject *parent)
    : QObject(parent)
    , handler_(std::move(handler))
{
    target_.user = this;
    target_.post = [](VtMessageTarget *self, uint32_t message, intptr_t wparam, intptr_t lparam) {
        QCoreApplication::postEvent(static_cast<WindowMessageTarget *>(self->user),
                                    new LibraryMessageEvent(message, wparam, lparam));
    };
    target_.pump = [](VtMessageTarget *) { QCoreApplication::processEvents(QEventLoop::AllEvents); };
}

bool WindowMessageTarget::event(QEvent *event)
{
    if (event->type() != kLibraryMessage)
        return QObject::event(event);
    const auto *message = static_cast<LibraryMessageEvent *>(event);
    if (handler_)
        handler_(message->message, message->wparam, message->lparam);
    return true;
}

} // namespace vt::project
