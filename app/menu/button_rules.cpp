#include "app/menu/button_rules.h"

#include "app/common/letterbox_stretch.h"

#include <algorithm>
#include <cmath>

namespace vt::menu {

QSize LockRatioSize(QSize size, double aspect)
{
    if (!(aspect > 0) || !std::isfinite(aspect))
        return size;
    const int a = size.height() - 2 * kButtonBorder;
    const int b = static_cast<int>(a * aspect);
    const int c = static_cast<int>((size.width() - 2 * kButtonBorder) / aspect);
    if (a < c)
        return {b + 2 * kButtonBorder, size.height()};
    return {size.width(), c + 2 * kButtonBorder};
}

HitZone HitZoneAt(QPoint at, QSize size)
{
    const bool left = at.x() < kButtonBorder;
    const bool right = at.x() > size.width() - kButtonBorder;
    const bool top = at.y() < kButtonBorder;
    const bool bottom = at.y() > size.height() - kButtonBorder;
    if (left)
        return top ? HitZone::TopLeft : bottom ? HitZone::BottomLeft : HitZone::LeftEdge;
    if (right)
        return top ? HitZone::TopRight : bottom ? HitZone::BottomRight : HitZone::RightEdge;
    return top ? HitZone::TopEdge : bottom ? HitZone::BottomEdge : HitZone::Move;
}

FrameLook FrameLookFor(bool selected, bool mouseOver)
{
    if (selected) {
        const uint32_t colour = mouseOver ? 0xFF7500 : 0x0055FF;
        return {colour, colour};
    }
    if (mouseOver)
        return {0x00FF00, std::nullopt};
    return {};
}

QRect DraggedBounds(HitZone zone, QRect start, QPoint delta)
{
    if (zone == HitZone::Move)
        return start.translated(delta);
    const bool left = zone == HitZone::LeftEdge || zone == HitZone::TopLeft || zone == HitZone::BottomLeft;
    const bool right = zone == HitZone::RightEdge || zone == HitZone::TopRight || zone == HitZone::BottomRight;
    const bool top = zone == HitZone::TopEdge || zone == HitZone::TopLeft || zone == HitZone::TopRight;
    const bool bottom = zone == HitZone::BottomEdge || zone == HitZone::BottomLeft || zone == HitZone::BottomRight;

    int width = start.width(), height = start.height();
    if (left)
        width = std::clamp(start.width() - delta.x(), kMinButtonWidth, kMaxButtonWidth);
    if (right)
        width = std::clamp(start.width() + delta.x(), kMinButtonWidth, kMaxButtonWidth);
    if (top)
        height = std::clamp(start.height() - delta.y(), kMinButtonHeight, kMaxButtonHeight);
    if (bottom)
        height = std::clamp(start.height() + delta.y(), kMinButtonHeight, kMaxButtonHeight);
    const int x = left ? start.x() + start.width() - width : start.x();
    const int y = top ? start.y() + start.height() - height : start.y();
    return {x, y, width, height};
}

QImage PictureAtSize(const QImage &picture, QSize size, bool keepAspect, bool lockRatio)
{
    QImage result;
    if (!common::LetterboxStretch(result, picture, size.width(), size.height(), keepAspect && !lockRatio))
        return {};
    return result;
}

} // namespace vt::menu
