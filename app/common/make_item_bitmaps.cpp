// Build tool: draws the twelve shared item bitmaps of the clip list and the
// menu editor's clip strip and writes them as BMP files into a folder.
//
//   make_item_bitmaps OUTPUT_FOLDER
//
// The frames keep the list entries' background colour 0x797571 wherever
// the entry's own content should show through (it is their transparent
// colour); the subtitle markers are opaque.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor kItemBackground(113, 117, 121);  // colour value 0x797571

struct FrameLook {
    QColor border;
    QColor glow;  // a soft inner line; invalid for none
    qreal width;
};

QImage frame(QSize size, const FrameLook &look)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kItemBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = look.width / 2 + 0.5;
    const QRectF outer = QRectF(image.rect()).adjusted(inset, inset, -inset, -inset);
    painter.setPen(QPen(look.border, look.width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outer, 7, 7);
    if (look.glow.isValid()) {
        painter.setPen(QPen(look.glow, 1));
        painter.drawRoundedRect(outer.adjusted(look.width, look.width, -look.width, -look.width), 5, 5);
    }
    return image;
}

QImage subtitleMarker(bool enabled, bool hover)
{
    QImage image(25, 73, QImage::Format_RGB32);
    image.fill(kItemBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor top = enabled ? QColor(0x4a, 0x8c, 0xf0) : QColor(0x9a, 0xa3, 0xae);
    QColor bottom = enabled ? QColor(0x24, 0x56, 0xb3) : QColor(0x6f, 0x77, 0x82);
    if (hover) {
        top = top.lighter(118);
        bottom = bottom.lighter(118);
    }
    QLinearGradient fill(0, 0, 0, 73);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setPen(QPen(hover ? QColor(255, 255, 255, 200) : bottom.darker(120), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 22, 70), 5, 5);

    // Two caption lines on a small screen: "this clip has subtitles".
    const QColor ink = enabled ? QColor(255, 255, 255) : QColor(0xe4, 0xe7, 0xeb);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, enabled ? 60 : 40));
    painter.drawRoundedRect(QRectF(5, 20, 15, 33), 2, 2);
    painter.setBrush(ink);
    painter.drawRoundedRect(QRectF(7, 40, 11, 3), 1.5, 1.5);
    painter.drawRoundedRect(QRectF(8.5, 46, 8, 3), 1.5, 1.5);
    if (!enabled) {
        // Struck through: no subtitle file.
        painter.setPen(QPen(QColor(0xd9, 0x48, 0x3b), 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(6, 54), QPointF(19, 19));
    }
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_item_bitmaps OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "make_item_bitmaps: cannot create %s\n", argv[1]);
        return 1;
    }

    const FrameLook selected {QColor(0x5b, 0x9b, 0xff), QColor(0xb9, 0xd4, 0xff), 3};
    const FrameLook selectedHover {QColor(0x8d, 0xbb, 0xff), QColor(0xe1, 0xed, 0xff), 3};
    const FrameLook unselected {QColor(0x5d, 0x61, 0x66), QColor(), 1.5};
    const FrameLook unselectedHover {QColor(0xc9, 0xd3, 0xe0), QColor(), 1.5};
    const QSize clipEntry(409, 77), stripEntry(92, 72);

    const struct {
        const char *name;
        QImage image;
    } bitmaps[] = {
        {"srt.bmp", subtitleMarker(true, false)},
        {"srt_dis.bmp", subtitleMarker(false, false)},
        {"srt_on.bmp", subtitleMarker(true, true)},
        {"srt_dis_on.bmp", subtitleMarker(false, true)},
        {"setup_select.bmp", frame(clipEntry, selected)},
        {"setup_select_on.bmp", frame(clipEntry, selectedHover)},
        {"setup_unselect.bmp", frame(clipEntry, unselected)},
        {"setup_unselect_on.bmp", frame(clipEntry, unselectedHover)},
        {"menu_select.bmp", frame(stripEntry, selected)},
        {"menu_select_on.bmp", frame(stripEntry, selectedHover)},
        {"menu_unselect.bmp", frame(stripEntry, unselected)},
        {"menu_unselect_on.bmp", frame(stripEntry, unselectedHover)},
    };
    for (const auto &bitmap : bitmaps) {
        const QString file = folder + QLatin1Char('/') + QLatin1String(bitmap.name);
        if (!bitmap.image.save(file, "BMP")) {
            std::fprintf(stderr, "make_item_bitmaps: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
