// The default arrangement of a menu page: its buttons on a balanced grid
// (1 to 3 in a row, 4 as two by two, then up to four columns), each row
// centred in the safe area, under the page's heading and clear of the back
// button in the bottom-left corner, with room for a caption under each
// button. The buttons take the largest size that fits, their picture area
// in the page's picture shape; when even the narrowest buttons would not
// fit, the heading gives way first, then the captions, then the back
// button's band.
#pragma once

#include "app/menu/menu_panel.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace vt::menu {

struct PageLayoutRequest {
    int buttons = 0;
    int headingHeight = 0;  // 0: the page has no heading
    int captionHeight = 0;  // 0: the buttons have no captions
    QSize backButton;       // empty: no back button to keep clear of
};

struct PageLayout {
    QSize buttonSize;
    std::vector<QPoint> buttons;  // top-left of each button, in order
    // Where the heading goes (its top and the safe area's width); null when
    // the grid needs the room and the page goes without a heading.
    QRect heading;
    bool captions = false;  // false when the grid needs their room too
    // The caption band under a button.
    QRect captionUnder(int k, int captionHeight) const;
};

// The grid's columns for a number of buttons.
int LayoutColumns(int buttons);

PageLayout LayOutPage(const PageLayoutRequest &request, const MenuPanel &panel);

} // namespace vt::menu
