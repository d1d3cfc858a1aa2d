#include "app/project/srt_marker.h"

#include "app/project/clip_record.h"
#include "app/common/shared_bitmaps.h"

#include <QMouseEvent>
#include <QPainter>

using vt::common::SharedBitmapId;

TSrtImage::TSrtImage(const vt::common::SharedBitmaps &bitmaps, QWidget *parent)
    : QWidget(parent)
    , bitmaps_(bitmaps)
{
    setObjectName(QStringLiteral("SrtImage"));
    resize(kWidth, kHeight);
    setCursor(Qt::PointingHandCursor);
}

void TSrtImage::setClip(const vt::project::ClipRecord *clip)
{
    clip_ = clip;
    update();
}

bool TSrtImage::showsEnabled() const
{
    return clip_ && clip_->subtitleShown();
}

void TSrtImage::paintEvent(QPaintEvent *)
{
    const bool enabled = showsEnabled();
    const SharedBitmapId id = enabled ? (hovered_ ? SharedBitmapId::SrtEnabledBmpOn : SharedBitmapId::SrtEnabledBmp)
                                      : (hovered_ ? SharedBitmapId::SrtDisabledBmpOn : SharedBitmapId::SrtDisabledBmp);
    QPainter painter(this);
    const QImage &picture = bitmaps_[id].image;
    if (!picture.isNull())
        painter.drawImage(0, 0, picture);
}

void TSrtImage::enterEvent(QEnterEvent *event)
{
    hovered_ = true;
    update();
    QWidget::enterEvent(event);
}

void TSrtImage::leaveEvent(QEvent *event)
{
    hovered_ = false;
    update();
    QWidget::leaveEvent(event);
}

void TSrtImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
}
