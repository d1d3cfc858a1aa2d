#include "app/common/letterbox_stretch.h"

#include <QPainter>

namespace vt::shell {

QRect LetterboxRect(int w, int h, int sw, int sh)
{
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return QRect(0, 0, std::max(w, 0), std::max(h, 0));
    const float c = static_cast<float>(w) / static_cast<float>(h);
    const float a = static_cast<float>(sw) / static_cast<float>(sh);
    int pw = w, ph = h;
    if (c > a)
        pw = static_cast<int>(static_cast<float>(h) * a) & ~1;
    else
        ph = static_cast<int>(static_cast<float>(w) / a) & ~1;
    const int left = (w - pw) / 2, top = (h - ph) / 2;
    const int right = (w + pw) / 2, bottom = (h + ph) / 2;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

bool LetterboxStretch(QImage &dest, const QImage &source, int w, int h, bool letterbox)
{
    if (w <= 0 || h <= 0)
        return false;
    const QImage::Format format = dest.isNull() ? QImage::Format_RGB32 : dest.format();
    if (dest.isNull() || dest.width() != w || dest.height() != h)
        dest = QImage(w, h, format);

    dest.fill(Qt::black);
    if (source.isNull() || source.width() <= 0 || source.height() <= 0)
        return true;

    const QRect target = letterbox ? LetterboxRect(w, h, source.width(), source.height()) : QRect(0, 0, w, h);
    if (target.isEmpty())
        return true;
    QPainter painter(&dest);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, source);
    return true;
}

} // namespace vt::shell
