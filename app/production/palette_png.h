// Indexed pictures written as palette PNG files with libpng: the palette
// exactly as given, index 0 fully transparent.
#pragma once

#include <QImage>

#include <string>

namespace vt::production {

// image must be QImage::Format_Indexed8. False when the file cannot be
// written (nothing is left behind then).
bool WritePalettePng(const QImage &image, const std::string &path);

} // namespace vt::production
