#include "app/widgets/sui_url_label.h"

#include "app/widgets/desktop_opener.h"

#include <QMouseEvent>

TsuiURLLabel::TsuiURLLabel(QWidget *parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setForegroundRole(QPalette::Link);
}

void TsuiURLLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()) || url_.isEmpty())
        return;
    if (vt::openWithDesktop(url_))
        emit opened(url_);
    else
        emit openFailed(url_);
}

void TsuiURLLabel::enterEvent(QEnterEvent *event)
{
    setUnderlined(true);
    QLabel::enterEvent(event);
}

void TsuiURLLabel::leaveEvent(QEvent *event)
{
    setUnderlined(false);
    QLabel::leaveEvent(event);
}

void TsuiURLLabel::setUnderlined(bool underlined)
{
    QFont f = font();
    f.setUnderline(underlined);
    setFont(f);
}
