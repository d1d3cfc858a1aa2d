#include "app/menu/menu_image.h"

#include "app/project/clip_record.h"
#include "app/common/letterbox_stretch.h"
#include "app/common/shared_bitmaps.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

using vt::common::SharedBitmapId;

TMenuImage::TMenuImage(const vt::project::ClipRecord &clip, const vt::common::SharedBitmaps &bitmaps, QWidget *parent)
    : QWidget(parent)
    , clip_(clip)
    , bitmaps_(bitmaps)
{
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_TranslucentBackground);
    setToolTip(QFileInfo(QString::fromStdString(clip.fileName)).fileName());
    refreshThumbnail();
}

void TMenuImage::setSelected(bool selected)
{
    selected_ = selected;
    update();
}

void TMenuImage::refreshThumbnail()
{
    vt::common::LetterboxStretch(thumbnail_, clip_.snapshot, kThumbWidth, kThumbHeight, true);
    update();
}

void TMenuImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const SharedBitmapId frame = selected_ ? (mouseOver_ ? SharedBitmapId::MenuClipSelectBmpOn
                                                         : SharedBitmapId::MenuClipSelectBmp)
                                           : (mouseOver_ ? SharedBitmapId::MenuClipUnSelectBmpOn
                                                         : SharedBitmapId::MenuClipUnSelectBmp);
    const QImage &frameImage = bitmaps_[frame].image;
    if (!frameImage.isNull())
        painter.drawImage(0, 0, frameImage);
    painter.drawImage(kThumbX, kThumbY, thumbnail_);
}

void TMenuImage::enterEvent(QEnterEvent *event)
{
    mouseOver_ = true;
    update();
    QWidget::enterEvent(event);
}

void TMenuImage::leaveEvent(QEvent *event)
{
    mouseOver_ = false;
    update();
    QWidget::leaveEvent(event);
}

void TMenuImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(this);
    else if (event->button() == Qt::RightButton)
        emit menuRequested(this, event->globalPosition().toPoint());
}
