#include "app/production/menu_compositor.h"

#include "app/production/offscreen_gui.h"

#include <QFont>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace vt::production {

namespace {

constexpr int kFrameWidth = 720;
constexpr int kFramePen = 2;
constexpr int kScreenDpi = 96;

enum PaletteIndex : uchar { kKey = 0, kFrame = 1, kBack = 2 };

QImage indexedLayer(int height, QRgb frame, QRgb back)
{
    QImage layer(kFrameWidth, height, QImage::Format_Indexed8);
    layer.setColorTable({kMenuKeyColour, frame, back});
    layer.fill(kKey);
    return layer;
}

void setIndex(QImage &layer, int x, int y, uchar index)
{
    if (x >= 0 && y >= 0 && x < layer.width() && y < layer.height())
        layer.scanLine(y)[x] = index;
}

// A frame kFramePen pixels wide just inside r (right and bottom excluded);
// the inside stays transparent.
void drawFrame(QImage &layer, const EdgeRect &r)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const bool edge = x < r.left + kFramePen || x >= r.right - kFramePen || y < r.top + kFramePen ||
                              y >= r.bottom - kFramePen;
            if (edge)
                setIndex(layer, x, y, kFrame);
        }
}

// Every pixel of shape that differs from its top-left (key) pixel, set to
// index at (left, top) plus its offset.
void stampShape(QImage &layer, const QImage &shape, int left, int top, uchar index)
{
    if (shape.isNull())
        return;
    const QRgb key = shape.pixel(0, 0);
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x)
            if (shape.pixel(x, y) != key)
                setIndex(layer, left + x, top + y, index);
}

void drawButtonLayer(QImage &layer, const std::vector<EdgeRect> &buttons, const QImage &marker,
                     const QImage *backShape, FramePoint back)
{
    for (const EdgeRect &button : buttons) {
        const EdgeRect r{button.left, button.top, button.right + 1, button.bottom + 1};
        drawFrame(layer, r);
        if (marker.isNull())
            continue;
        const int cx = r.left + (r.right - r.left) / 2;
        const int cy = r.top + (r.bottom - r.top) / 2;
        stampShape(layer, marker, cx - marker.width() / 2, cy - marker.height() / 2, kFrame);
    }
    if (backShape)
        stampShape(layer, *backShape, back.x, back.y, kBack);
}

void drawLabel(QPainter &painter, const MenuLabel &label, const EdgeRect &at)
{
    QFont font(QString::fromStdString(label.fontName));
    // Points at the screen's 96 dpi, rounded as the editor shows them.
    font.setPixelSize((MenuFontSize(label.fontSize) * kScreenDpi + 36) / 72);
    font.setBold(label.bold);
    font.setItalic(label.italic);
    font.setUnderline(label.underline);
    font.setStrikeOut(label.strikeout);
    painter.setFont(font);
    painter.setPen(label.colour);
    painter.drawText(QRect(at.left, at.top, kFrameWidth * 2, kFrameWidth), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     QString::fromStdString(label.text));
}

// A button's rectangle for spumux: its lines widened to start and end on
// even lines, which interlaced players need to show the highlight where it
// was drawn (spumux warns about odd ones).
EdgeRect onEvenLines(const EdgeRect &r)
{
    return {r.left, r.top & ~1, r.right, (r.bottom + 1) & ~1};
}

// A button's picture for its frame rectangle r. The frame's pixels are not
// square, so the picture is shaped (letterboxed or stretched) at the size r
// has on screen, as the editor shows it, and only then takes r's lines, like
// everything else on the page.
QImage buttonPicture(const MenuButton &button, const EdgeRect &r, const DesignMapping &mapping)
{
    const int shownLines = std::max(1, mapping.squarePixelLines(r.height()));
    const QImage shaped = button.pictureAt(r.width(), shownLines);
    if (shaped.isNull() || shaped.height() == r.height())
        return shaped;
    return shaped.scaled(r.width(), r.height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QImage MenuBackgroundPicture(const std::string &file, int frameHeight)
{
    QImage frame(kFrameWidth, frameHeight, QImage::Format_RGB32);
    frame.fill(Qt::black);
    if (file.empty())
        return frame;
    QImageReader reader(QString::fromStdString(file));
    reader.setDecideFormatFromContent(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        return frame;
    if (picture.size() == frame.size())
        return picture.convertToFormat(QImage::Format_RGB32);
    return picture.scaled(frame.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

ComposedMenu ComposeMenu(const MenuPage &page, const DesignMapping &mapping, const MenuResources &resources,
                         bool withBackButton)
{
    EnsureGuiApplication();
    const int height = mapping.frameHeight();
    ComposedMenu menu;
    const FramePoint back = mapping.MapDesignPoint(page.backLeft, page.backTop);
    const bool backDrawn = withBackButton && resources.backButtonsPossible();
    std::vector<EdgeRect> drawn;  // where the layers draw each button, back button first
    if (backDrawn)
        drawn.push_back({back.x, back.y, back.x + resources.backBmp.width(), back.y + resources.backBmp.height()});

    QImage background = MenuBackgroundPicture(page.backgroundFile, height);
    {
        QPainter painter(&background);
        for (const MenuLabel &label : page.labels)
            drawLabel(painter, label, mapping.MapTextRect(label.bounds));
        std::vector<EdgeRect> buttons;
        for (const MenuButton &button : page.buttons) {
            const EdgeRect r = mapping.MapButtonRect(button.bounds);
            buttons.push_back(r);
            if (button.pictureAt && r.width() > 0 && r.height() > 0)
                painter.drawImage(r.left, r.top, buttonPicture(button, r, mapping));
        }
        if (backDrawn)
            painter.drawImage(back.x, back.y, resources.backBmp);
        drawn.insert(drawn.end(), buttons.begin(), buttons.end());
    }
    menu.background = background.convertToFormat(QImage::Format_RGB888);
    for (const EdgeRect &r : drawn)
        menu.buttons.push_back(onEvenLines(r));

    const std::vector<EdgeRect> pageButtons(drawn.begin() + (backDrawn ? 1 : 0), drawn.end());
    const QImage *backShape = backDrawn ? &resources.backPng : nullptr;
    menu.highlight = indexedLayer(height, kHighlightFrameColour, kHighlightBackColour);
    drawButtonLayer(menu.highlight, pageButtons, resources.mouseOn, backShape, back);
    menu.select = indexedLayer(height, kSelectColour, kSelectColour);
    drawButtonLayer(menu.select, pageButtons, resources.mouseDown, backShape, back);
    return menu;
}

} // namespace vt::production
