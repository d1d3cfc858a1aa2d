#include "app/menu/background_image.h"

#include "app/menu/background_list.h"

#include <QMouseEvent>
#include <QPainter>

TBackgroundImage::TBackgroundImage(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(kWidth, kHeight);
    setCursor(Qt::PointingHandCursor);
}

bool TBackgroundImage::loadFromFile(const std::string &file)
{
    const QImage picture = vt::menu::LoadBackgroundPicture(file);
    if (picture.isNull())
        return false;
    picture_ = vt::menu::ScaledBackground(picture, size());
    fileName_ = file;
    setToolTip(QString::fromStdString(file));
    update();
    return true;
}

void TBackgroundImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void TBackgroundImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(this);
}
