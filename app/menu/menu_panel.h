// The editor's preview panel: its size per picture shape, the safe area
// every element is kept inside.
#pragma once

#include "app/menu/menu_design.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vt::menu {

inline constexpr int kPanelLeft = 260;
inline constexpr int kPanelWidth = 518;
inline constexpr int kStandardPanelHeight = 388, kStandardPanelTop = 92;
inline constexpr int kWidePanelHeight = 292, kWidePanelTop = 140;
// How far the back button moves up when the panel becomes 16:9 (and down again).
inline constexpr int kShapeBackButtonShift = 96;
inline constexpr int kTitleMenuButtons = 12;  // only the first twelve clips are on the title menu

struct MenuPanel {
    PictureShape shape = PictureShape::Standard;
    int safeDistance = 10;

    QSize size() const;
    int top() const { return shape == PictureShape::Standard ? kStandardPanelTop : kWidePanelTop; }
    // The safe-area frame; null when the distance is 0 (nothing drawn).
    QRect safeFrame() const;

    // A coordinate held to [safe, panel extent − element extent − safe];
    // when the element does not fit, the lower bound.
    int clampX(int x, int width) const;
    int clampY(int y, int height) const;
    QPoint clamp(QPoint at, QSize element) const { return {clampX(at.x(), element.width()), clampY(at.y(), element.height())}; }
};

} // namespace vt::menu
