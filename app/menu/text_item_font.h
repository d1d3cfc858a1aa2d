// How a menu text looks on the design page: its font and the size of its
// auto-sized label. Needs a QGuiApplication.
#pragma once

#include "app/menu/menu_design.h"

#include <QFont>
#include <QSize>

namespace vt::menu {

// The font a text item is drawn with (points at 96 dots per inch).
QFont FontOfTextItem(const TextItem &item);
// The size of a text item's label: its text in its font.
QSize TextItemSize(const TextItem &item);

} // namespace vt::menu
