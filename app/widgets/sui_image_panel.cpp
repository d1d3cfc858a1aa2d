#include "app/widgets/sui_image_panel.h"

#include "app/widgets/skin.h"

#include <QPainter>
#include <QStyleOption>

TsuiImagePanel::TsuiImagePanel(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);
}

void TsuiImagePanel::setPicture(const QPixmap &picture)
{
    skinName_.clear();
    picture_ = picture;
    // A picture is the whole look: the skin's panel background and frame
    // would show through its transparent parts.
    setAttribute(Qt::WA_StyledBackground, picture_.isNull());
    update();
}

void TsuiImagePanel::setSkinPicture(const QString &name)
{
    skinName_ = name;
    picture_ = vt::Skin::current().picture(name, size(), vt::Skin::Fit::NineSlice, devicePixelRatioF());
    setAttribute(Qt::WA_StyledBackground, picture_.isNull());
    update();
}

void TsuiImagePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (picture_.isNull()) {
        QStyleOption option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
}

void TsuiImagePanel::resizeEvent(QResizeEvent *event)
{
    if (!skinName_.isEmpty())
        picture_ = vt::Skin::current().picture(skinName_, size(), vt::Skin::Fit::NineSlice, devicePixelRatioF());
    QWidget::resizeEvent(event);
}
