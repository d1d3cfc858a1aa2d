#include "app/project/preview_picture.h"

#include <QPainter>

namespace vt::project {

QImage PreviewAreaPicture(const QImage &preview, bool letterbox, QSize area)
{
    QImage picture(area, QImage::Format_RGB32);
    picture.fill(Qt::black);
    if (preview.isNull())
        return picture;
    QPainter painter(&picture);
    if (letterbox) {
        const QSize size = preview.size().boundedTo(area);
        painter.drawImage(QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size),
                          preview);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), area), preview);
    }
    return picture;
}

} // namespace vt::project
