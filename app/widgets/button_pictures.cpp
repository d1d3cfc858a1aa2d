#include "app/widgets/button_pictures.h"

#include <QColor>
#include <QImage>

namespace vt {

namespace {

template <typename PixelFn>
QPixmap mapPixels(const QPixmap &picture, PixelFn fn)
{
    if (picture.isNull())
        return {};
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = fn(line[x]);
    }
    return QPixmap::fromImage(image);
}

} // namespace

QPixmap shadedPicture(const QPixmap &picture, int factor)
{
    return mapPixels(picture, [factor](QRgb pixel) {
        QColor c = QColor::fromRgba(pixel);
        QColor shaded = factor >= 100 ? c.lighter(factor) : c.darker(10000 / factor);
        shaded.setAlpha(c.alpha());
        return shaded.rgba();
    });
}

QPixmap disabledPicture(const QPixmap &picture)
{
    return mapPixels(picture, [](QRgb pixel) {
        // Grey pulled towards light so disabled pictures recede on the
        // light window background.
        int grey = (qGray(pixel) + 2 * 200) / 3;
        return qRgba(grey, grey, grey, qAlpha(pixel) / 2);
    });
}

ButtonPictures buttonPicturesFrom(const QPixmap &normal)
{
    ButtonPictures pictures;
    pictures.normal = normal;
    pictures.hover = shadedPicture(normal, 115);
    pictures.pressed = shadedPicture(normal, 85);
    pictures.disabled = disabledPicture(normal);
    return pictures;
}

} // namespace vt
