// Good-quality resampling of a picture through the resampler library
// (RS_ReSize in libresize.so, loaded by name from the program folder for
// each call and released afterwards).
#pragma once

#include <QImage>

#include <string>

namespace vt::shell {

// 24 for a 24-bit bitmap, 32 otherwise.
int BitsPerPixel(const QImage &image);

// Gives dest the size w × h and fills it with source resampled: Lanczos when
// quality is set, bicubic otherwise. dest keeps its pixel format (a null dest
// becomes 32-bit); source is not changed. False, with error set, when the
// sizes are invalid or the library cannot be loaded or fails.
bool QualityResize(QImage &dest, const QImage &source, int w, int h, bool quality, std::string *error = nullptr);

} // namespace vt::shell
