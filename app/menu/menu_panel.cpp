#include "app/menu/menu_panel.h"

#include <algorithm>

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

} // namespace vt::menu
