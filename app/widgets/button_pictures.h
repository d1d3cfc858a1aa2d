// The four pictures of a picture button: normal, mouse-over, pressed and
// disabled.
#pragma once

#include <QPixmap>

namespace vt {

struct ButtonPictures {
    QPixmap normal;
    QPixmap hover;
    QPixmap pressed;
    QPixmap disabled;

    bool isNull() const { return normal.isNull(); }
};

// Derives the three other states from the normal picture: mouse-over is
// lighter, pressed is darker, disabled is grey and faded.
ButtonPictures buttonPicturesFrom(const QPixmap &normal);

// A lighter (factor > 100) or darker (factor < 100) copy, alpha kept.
QPixmap shadedPicture(const QPixmap &picture, int factor);

// A grey, half-transparent copy.
QPixmap disabledPicture(const QPixmap &picture);

} // namespace vt
