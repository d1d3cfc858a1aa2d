#include "app/menu/menu_panel.h"

#include <algorithm>
#include <array>

namespace vt::menu {

namespace {

int clampCoordinate(int value, int extent, int panelExtent, int safe)
{
    const int low = safe;
    const int high = panelExtent - extent - safe;
    if (high < low)
        return low;
    return std::clamp(value, low, high);
}

constexpr std::array<int, 4> kGridLefts = {20, 140, 260, 380};
constexpr std::array<int, 3> kGridTops = {15, 105, 195};

} // namespace

QSize MenuPanel::size() const
{
    return {kPanelWidth, shape == PictureShape::Standard ? kStandardPanelHeight : kWidePanelHeight};
}

QRect MenuPanel::safeFrame() const
{
    if (safeDistance <= 0)
        return {};
    return QRect(QPoint(0, 0), size()).adjusted(safeDistance, safeDistance, -safeDistance, -safeDistance);
}

int MenuPanel::clampX(int x, int width) const
{
    return clampCoordinate(x, width, size().width(), safeDistance);
}

int MenuPanel::clampY(int y, int height) const
{
    return clampCoordinate(y, height, size().height(), safeDistance);
}

QPoint GridPosition(int k, QSize button, const MenuPanel &panel)
{
    QPoint at;
    if (k < kTitleMenuButtons)
        at = {kGridLefts[static_cast<size_t>(k % 4)], kGridTops[static_cast<size_t>(k / 4)]};
    else
        at = {k * 20 - 200, 300};
    return panel.clamp(at, button);
}

} // namespace vt::menu
