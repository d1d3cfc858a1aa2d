#include "app/menu/button_image.h"

#include <QMouseEvent>
#include <QPainter>

using vt::menu::HitZone;

QColor ColourOfValue(uint32_t value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

Qt::CursorShape CursorForZone(HitZone zone)
{
    switch (zone) {
    case HitZone::Move:
        return Qt::PointingHandCursor;
    case HitZone::LeftEdge:
    case HitZone::RightEdge:
        return Qt::SizeHorCursor;
    case HitZone::TopEdge:
    case HitZone::BottomEdge:
        return Qt::SizeVerCursor;
    case HitZone::TopLeft:
    case HitZone::BottomRight:
        return Qt::SizeFDiagCursor;
    case HitZone::BottomLeft:
    case HitZone::TopRight:
        return Qt::SizeBDiagCursor;
    }
    return Qt::ArrowCursor;
}

TButtonImage::TButtonImage(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
}

void TButtonImage::setButton(const vt::menu::MenuButton &button, const QImage &picture)
{
    setGeometry(button.bounds);
    shown_ = button.pictureAtSize(picture, button.pictureSize());
    update();
}

void TButtonImage::setSelected(bool selected)
{
    selected_ = selected;
    update();
}

void TButtonImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!shown_.isNull())
        painter.drawImage(vt::menu::kButtonBorder, vt::menu::kButtonBorder, shown_);
    const vt::menu::FrameLook look = vt::menu::FrameLookFor(selected_, mouseOver_);
    if (look.outline) {
        painter.setPen(ColourOfValue(*look.outline));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(4, 4), QPoint(width() - 5, height() - 5)));
    }
    if (look.handles) {
        painter.setPen(ColourOfValue(*look.handles));
        painter.setBrush(ColourOfValue(vt::menu::kElementBackgroundColour));
        const int right = width() - 9, bottom = height() - 9;
        for (QPoint corner : {QPoint(1, 1), QPoint(right, 1), QPoint(1, bottom), QPoint(right, bottom)})
            painter.drawRect(QRect(corner, QSize(7, 7)));
    }
}

void TButtonImage::enterEvent(QEnterEvent *event)
{
    mouseOver_ = true;
    update();
    QWidget::enterEvent(event);
}

void TButtonImage::leaveEvent(QEvent *event)
{
    mouseOver_ = false;
    update();
    QWidget::leaveEvent(event);
}

void TButtonImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    zone_ = vt::menu::HitZoneAt(event->position().toPoint(), size());
    dragging_ = true;
    moved_ = false;
    emit pressed(this, zone_, event->globalPosition().toPoint());
}

void TButtonImage::mouseMoveEvent(QMouseEvent *event)
{
    if (!dragging_) {
        setCursor(CursorForZone(vt::menu::HitZoneAt(event->position().toPoint(), size())));
        return;
    }
    if (event->buttons() & Qt::LeftButton) {
        moved_ = true;
        emit dragged(this, event->globalPosition().toPoint());
    }
}

void TButtonImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        emit menuRequested(this, event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    emit released(this, zone_, moved_);
}

void TButtonImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        emit doubleClicked(this);
    }
}
