// Drawing a picture into a bitmap of a given size, whole or letterboxed.
#pragma once

#include <QImage>
#include <QRect>

namespace vt::common {

// Where a sw × sh picture goes inside a w × h bitmap when letterboxed: as
// large as fits with the source's aspect ratio (single precision, the
// computed side truncated and made even), centred.
QRect LetterboxRect(int w, int h, int sw, int sh);

// Gives dest the size w × h (a null dest is created as 32-bit) and draws
// source into it: stretched over the whole bitmap, or with letterbox onto a
// black background inside LetterboxRect. Pixels are dropped or repeated, not
// blended. False when w or h is not positive; an empty source leaves the
// bitmap black.
bool LetterboxStretch(QImage &dest, const QImage &source, int w, int h, bool letterbox);

} // namespace vt::common
