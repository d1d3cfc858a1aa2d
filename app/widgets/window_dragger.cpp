#include "app/widgets/window_dragger.h"

#include <QMouseEvent>
#include <QWidget>

namespace vt {

WindowDragger::WindowDragger(QWidget *handle)
    : QObject(handle)
    , handle_(handle)
{
    handle_->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != handle_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            dragging_ = true;
            offset_ = mouse->globalPosition().toPoint() - handle_->window()->pos();
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (dragging_ && (mouse->buttons() & Qt::LeftButton))
            handle_->window()->move(mouse->globalPosition().toPoint() - offset_);
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            dragging_ = false;
        break;
    default:
        break;
    }
    return false;
}

} // namespace vt
