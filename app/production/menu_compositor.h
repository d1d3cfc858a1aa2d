// Draws one menu: the full-frame background (picture, labels, button
// pictures, back button) and the highlight and select images that spumux
// turns into the menu's buttons.
//
// The highlight and select images are 8-bit indexed with an exact palette
// and drawn without blending: index 0 is the transparent key (1, 1, 1), and
// each image holds at most three other colours, so no button region ever
// exceeds the four colours a DVD subpicture can show.
#pragma once

#include "app/production/menu_mapping.h"
#include "app/production/menu_page.h"
#include "app/production/menu_resources.h"

#include <QImage>

#include <vector>

namespace vt::production {

inline constexpr QRgb kMenuKeyColour = 0xFF010101;  // transparent, "010101" in the control file
inline constexpr QRgb kHighlightFrameColour = 0xFFFFFBF0;
inline constexpr QRgb kHighlightBackColour = 0xFFFFC000;
inline constexpr QRgb kSelectColour = 0xFF0000FF;

struct ComposedMenu {
    QImage background;          // 720 × frame height, 24-bit
    QImage highlight, select;   // 720 × frame height, indexed
    // The spumux rectangles, the back button first when drawn; their top and
    // bottom lines are even (a button drawn from line 85 to 120 is 84-120).
    std::vector<EdgeRect> buttons;
};

// withBackButton: the page gets its back button (the caller has decided that
// back buttons are possible; the resources hold both back pictures then).
ComposedMenu ComposeMenu(const MenuPage &page, const DesignMapping &mapping, const MenuResources &resources,
                         bool withBackButton);

// The background picture of a page at 720 × frameHeight: decoded by content
// (a .jpeg or a mis-named file loads as well), scaled to the frame; black
// when missing or unreadable.
QImage MenuBackgroundPicture(const std::string &file, int frameHeight);

} // namespace vt::production
