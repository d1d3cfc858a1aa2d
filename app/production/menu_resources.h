// The pictures every menu is drawn with, from the program folder's RES/:
// the back button as drawn on the background (BackBmp.bmp), its shape for the
// highlight and select images (BackPng.bmp), and the highlight and select
// markers (MouseOn.bmp, MouseDown.bmp).
#pragma once

#include <QImage>

#include <string>

namespace vt::production {

inline constexpr const char *kBackBmpFile = "BackBmp.bmp";
inline constexpr const char *kBackPngFile = "BackPng.bmp";
inline constexpr const char *kMouseOnFile = "MouseOn.bmp";
inline constexpr const char *kMouseDownFile = "MouseDown.bmp";

struct MenuResources {
    QImage backBmp, backPng, mouseOn, mouseDown;

    // Both back-button pictures loaded.
    bool backButtonsPossible() const { return !backBmp.isNull() && !backPng.isNull(); }
};

// Loads the four pictures from resFolder (names matched without regard to
// case); a picture that is missing or unreadable stays null.
MenuResources LoadMenuResources(const std::string &resFolder);

} // namespace vt::production
