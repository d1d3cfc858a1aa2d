// One menu page as the editor designed it, in design-page pixels: what the
// compositor draws into a title or chapter menu.
#pragma once

#include "app/production/menu_mapping.h"

#include <QColor>
#include <QImage>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vt::production {

struct MenuLabel {
    EdgeRect bounds;
    std::string text;  // UTF-8
    std::string fontName;
    int fontSize = 10;  // points on the design page
    QColor colour = Qt::white;
    bool bold = false, italic = false, underline = false, strikeout = false;
};

struct MenuButton {
    EdgeRect bounds;  // the control, frame border included
    // The button's picture at a size (clip snapshot or chapter frame, scaled
    // the way the button shows it).
    std::function<QImage(int width, int height)> pictureAt;
    int32_t chapterTime = 0;  // chapter buttons: the second of the source file the chapter starts at
};

struct MenuPage {
    std::string backgroundFile;  // "" or missing: black
    std::string musicFile;       // "" for none
    std::vector<MenuLabel> labels;
    std::vector<MenuButton> buttons;
    int backLeft = 0, backTop = 0;  // the back button's place on the page
};

} // namespace vt::production
