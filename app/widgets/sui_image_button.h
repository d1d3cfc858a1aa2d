// A picture button: one picture each for normal, mouse-over, pressed and
// disabled, an optional caption drawn over it, and a hint (tool tip).
#pragma once

#include "app/widgets/button_pictures.h"
#include "app/widgets/skin.h"

#include <QAbstractButton>

class TsuiImageButton : public QAbstractButton {
    Q_OBJECT
    // The skin can style a button by its picture name (caption colour).
    Q_PROPERTY(QString skinPicture READ skinPicture)

public:
    enum class PictureState { Normal, Hover, Pressed, Disabled };

    explicit TsuiImageButton(QWidget *parent = nullptr);

    // Fixed pictures, drawn at their own size in the centre of the button.
    void setPictures(const vt::ButtonPictures &pictures);
    // Pictures of the current skin, fitted to the button's size and
    // re-rendered when it changes ("button" frames use Fit::NineSlice).
    void setSkinPicture(const QString &name, vt::Skin::Fit fit = vt::Skin::Fit::Scale);
    const QString &skinPicture() const { return skinName_; }

    // The caption is the button's text, drawn over the picture.
    void setCaption(const QString &caption) { setText(caption); }
    QString caption() const { return text(); }
    // Where the caption sits inside the button (8 pixels from the edges it
    // is aligned to); centred by default.
    void setCaptionAlignment(Qt::Alignment alignment);
    Qt::Alignment captionAlignment() const { return captionAlignment_; }

    // The state whose picture is shown now.
    PictureState pictureState() const;
    const QPixmap &currentPicture() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void renderSkinPictures();

    vt::ButtonPictures pictures_;
    QString skinName_;
    vt::Skin::Fit skinFit_ = vt::Skin::Fit::Scale;
    Qt::Alignment captionAlignment_ = Qt::AlignCenter;
    bool hovered_ = false;
};
