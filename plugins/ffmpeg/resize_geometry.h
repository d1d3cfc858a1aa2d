// Where a resized picture goes: the output size and the black bands that
// keep the source's display shape (letterbox top/bottom, pillarbox
// left/right).
#pragma once

namespace ffplug {

struct ResizeTarget {
    int width = 0;              // 0: not given
    int height = 0;             // 0: not given
    double pixelAspect = 0;     // <= 0: not given

    bool given() const { return (width > 0 && height > 0) || pixelAspect > 0; }
};

struct ResizeGeometry {
    int width = 0, height = 0;  // whole output picture
    int left = 0, right = 0, top = 0, bottom = 0;
    double pixelAspect = 1;     // of the output

    int innerWidth() const { return width - left - right; }
    int innerHeight() const { return height - top - bottom; }
    bool operator==(const ResizeGeometry &) const = default;
};

// The geometry of a width x height picture of pixel aspect pixelAspect (<= 0
// counts as 1) resized to target. Bands are split with the first one (left
// or top) rounded down to an even size; sizes are rounded to the nearest
// pixel and are at least 1.
ResizeGeometry resizeGeometry(const ResizeTarget &target, int width, int height, double pixelAspect);

}  // namespace ffplug
