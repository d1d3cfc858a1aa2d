// The menu backgrounds shipped with the program and how a background
// picture is read and shown.
//
// The list is "Background/Background.ini" in the program folder: section
// [Background], "Count", and "Image0", "Image1", … naming files in the
// same folder. Files that do not exist are skipped.
#pragma once

#include <QImage>
#include <QSize>

#include <string>
#include <vector>

namespace vt::menu {

inline constexpr const char *kBackgroundFolder = "Background/";
inline constexpr const char *kBackgroundListFile = "Background.ini";

// The full paths of the listed backgrounds that exist, in list order.
// programFolder ends with '/'.
std::vector<std::string> LoadBackgroundList(const std::string &programFolder);

// The picture of a background file, recognised by its content whatever
// its name says (a PNG named ".jpg", ".jpeg", ".JPG", a BMP); null when the
// file is missing or not a picture.
QImage LoadBackgroundPicture(const std::string &path);

// The whole picture scaled to size: how the editor shows a background on
// its panel, as production stretches it over the whole frame.
QImage ScaledBackground(const QImage &picture, QSize size);

} // namespace vt::menu
