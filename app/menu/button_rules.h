// The rules of a menu button drawn on the preview panel: its size when its
// picture area follows the clip's shape, the zones the mouse grabs it by,
// the frame it shows per state, how a drag moves or resizes it, and its
// picture at any size.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>

namespace vt::menu {

inline constexpr int kButtonBorder = 8;  // picture inset and grab border, pixels
inline constexpr QSize kTitleButtonSize{104, 78};
inline constexpr QSize kChapterButtonSize{80, 60};
inline constexpr int kMinButtonWidth = 80, kMaxButtonWidth = 240;
inline constexpr int kMinButtonHeight = 60, kMaxButtonHeight = 180;
inline constexpr uint32_t kElementBackgroundColour = 0x797571;  // colour value 0x00BBGGRR

// The size a button takes when its picture area (the button less the
// border on every side) is given the display aspect: the height kept and
// the width following, or the width kept and the height following,
// whichever keeps the button inside its old size. A zero, negative or
// non-finite aspect leaves the size unchanged.
QSize LockRatioSize(QSize size, double aspect);

enum class HitZone {
    Move = 1,  // inside the border
    LeftEdge,
    TopEdge,
    RightEdge,
    BottomEdge,
    TopLeft,
    BottomLeft,
    TopRight,
    BottomRight,
};

// The zone of a point (x, y) inside a button of the given size.
HitZone HitZoneAt(QPoint at, QSize size);

// Outline and corner-handle colours (colour values 0x00BBGGRR); none where
// nothing is drawn (the handles are then erased to the background).
struct FrameLook {
    std::optional<uint32_t> outline;
    std::optional<uint32_t> handles;
    bool operator==(const FrameLook &) const = default;
};
FrameLook FrameLookFor(bool selected, bool mouseOver);

// The bounds after dragging by delta from start: the zone moves the button
// or moves the grabbed edges, each side held to 80–240 × 60–180 with the
// opposite edge staying put. Not yet clamped into the safe area.
QRect DraggedBounds(HitZone zone, QRect start, QPoint delta);

// The picture at w × h: letterboxed onto black when keepAspect is on and
// lockRatio off, stretched otherwise. Null when w or h is not positive.
QImage PictureAtSize(const QImage &picture, QSize size, bool keepAspect, bool lockRatio);

} // namespace vt::menu
