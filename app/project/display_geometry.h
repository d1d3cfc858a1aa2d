// Picture sizes of a clip: the display size from the coded size and the
// aspect code, the snapshot limit and the preview size.
#pragma once

#include <cstdint>

namespace vt::project {

struct PictureSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const PictureSize &) const = default;
};

inline constexpr int32_t kPreviewAreaWidth = 296;
inline constexpr int32_t kPreviewAreaHeight = 220;
inline constexpr int32_t kSnapshotMaxWidth = 720;
inline constexpr int32_t kSnapshotMaxHeight = 576;

// The width ÷ height ratio an aspect code stands for (code 0 and unknown
// codes: the coded ratio).
double AspectRatioOfCode(int32_t aspectCode, int32_t width, int32_t height);

// Pixel-aspect corrected size. Interlaced clips take their height from the
// aspect code; progressive clips do too when the code names a shape (4:3,
// 16:9, 2.21:1), since anamorphic progressive sources exist; otherwise the
// coded size is the display size.
PictureSize DisplaySize(int32_t width, int32_t height, int32_t aspectCode, bool interlaced);

// A picture larger than 720 × 576 shrunk to fit, keeping its shape.
PictureSize SnapshotSize(PictureSize picture);

// The preview size for a display aspect: inside 296 × 220, sides multiples of 4.
PictureSize PreviewSize(double displayAspect);

} // namespace vt::project
