#include "app/widgets/sui_image_button.h"

#include "app/widgets/localized_texts.h"

#include <QEnterEvent>
#include <QPainter>
#include <QStyle>

TsuiImageButton::TsuiImageButton(QWidget *parent)
    : QAbstractButton(parent)
{
    vt::setLocalizedTexts(this, vt::LocalizedTexts::CaptionAndHint);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void TsuiImageButton::setPictures(const vt::ButtonPictures &pictures)
{
    skinName_.clear();
    pictures_ = pictures;
    updateGeometry();
    update();
}

void TsuiImageButton::setSkinPicture(const QString &name, vt::Skin::Fit fit)
{
    skinName_ = name;
    skinFit_ = fit;
    renderSkinPictures();
    // Re-applies the style sheet rules that select on skinPicture.
    style()->unpolish(this);
    style()->polish(this);
    updateGeometry();
    update();
}

void TsuiImageButton::renderSkinPictures()
{
    if (skinName_.isEmpty())
        return;
    pictures_ = vt::Skin::current().buttonPictures(skinName_, size(), skinFit_, devicePixelRatioF());
}

void TsuiImageButton::setCaptionAlignment(Qt::Alignment alignment)
{
    captionAlignment_ = alignment;
    update();
}

TsuiImageButton::PictureState TsuiImageButton::pictureState() const
{
    if (!isEnabled())
        return PictureState::Disabled;
    if (isDown())
        return PictureState::Pressed;
    if (hovered_)
        return PictureState::Hover;
    return PictureState::Normal;
}

const QPixmap &TsuiImageButton::currentPicture() const
{
    switch (pictureState()) {
    case PictureState::Disabled: return pictures_.disabled;
    case PictureState::Pressed: return pictures_.pressed;
    case PictureState::Hover: return pictures_.hover;
    case PictureState::Normal: break;
    }
    return pictures_.normal;
}

QSize TsuiImageButton::sizeHint() const
{
    // Pictures drawn at their own size ask for it; fitted ones take any.
    bool naturalSize = skinName_.isEmpty() || skinFit_ == vt::Skin::Fit::Natural;
    QSize hint = naturalSize && !pictures_.isNull() ? pictures_.normal.size() : QSize(24, 24);
    if (!text().isEmpty()) {
        QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text());
        hint = hint.expandedTo(textSize + QSize(24, 10));
    }
    return hint;
}

void TsuiImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap &picture = currentPicture();
    if (!picture.isNull()) {
        QSize size = picture.deviceIndependentSize().toSize();
        painter.drawPixmap((width() - size.width()) / 2, (height() - size.height()) / 2, picture);
    }
    if (!text().isEmpty()) {
        QRect textRect = captionAlignment_ == Qt::AlignCenter ? rect() : rect().adjusted(8, 8, -8, -8);
        if (pictureState() == PictureState::Pressed)
            textRect.translate(0, 1);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.setFont(font());
        painter.drawText(textRect, int(captionAlignment_) | Qt::TextShowMnemonic | Qt::TextWordWrap, text());
    }
    if (hasFocus() && focusPolicy() != Qt::NoFocus) {
        QColor focus = palette().color(QPalette::Highlight);
        focus.setAlpha(140);
        painter.setPen(QPen(focus, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void TsuiImageButton::enterEvent(QEnterEvent *event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TsuiImageButton::leaveEvent(QEvent *event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TsuiImageButton::resizeEvent(QResizeEvent *event)
{
    renderSkinPictures();
    QAbstractButton::resizeEvent(event);
}
