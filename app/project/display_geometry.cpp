#include "app/project/display_geometry.h"

#include <algorithm>

namespace vt::project {

namespace {

int32_t roundUpToFour(int32_t value)
{
    return (value + 3) / 4 * 4;
}

} // namespace

double AspectRatioOfCode(int32_t aspectCode, int32_t width, int32_t height)
{
    switch (aspectCode) {
    case 1:
        return 1.0;
    case 2:
        return 4.0 / 3.0;
    case 3:
        return 16.0 / 9.0;
    case 4:
        return 2.21;
    default:
        return height > 0 ? static_cast<double>(width) / height : 1.0;
    }
}

PictureSize DisplaySize(int32_t width, int32_t height, int32_t aspectCode, bool interlaced)
{
    const bool shapeNamed = aspectCode >= 2 && aspectCode <= 4;
    if (!interlaced && !shapeNamed)
        return {width, height};
    const double ratio = AspectRatioOfCode(aspectCode, width, height);
    return {width, static_cast<int32_t>(width / ratio)};
}

PictureSize SnapshotSize(PictureSize picture)
{
    if (picture.width <= kSnapshotMaxWidth && picture.height <= kSnapshotMaxHeight)
        return picture;
    if (picture.width <= 0 || picture.height <= 0)
        return picture;
    const double s1 = static_cast<double>(kSnapshotMaxWidth) / picture.width;
    const double s2 = static_cast<double>(kSnapshotMaxHeight) / picture.height;
    if (s1 >= s2)
        return {static_cast<int32_t>(s2 * picture.width), kSnapshotMaxHeight};
    return {kSnapshotMaxWidth, static_cast<int32_t>(s1 * picture.height)};
}

PictureSize PreviewSize(double displayAspect)
{
    if (displayAspect <= 0)
        return {kPreviewAreaWidth, kPreviewAreaHeight};
    const double areaAspect = static_cast<double>(kPreviewAreaWidth) / kPreviewAreaHeight;
    if (displayAspect < areaAspect) {
        const int32_t width = roundUpToFour(static_cast<int32_t>(displayAspect * kPreviewAreaHeight));
        return {std::min(width, kPreviewAreaWidth), kPreviewAreaHeight};
    }
    const int32_t height = roundUpToFour(static_cast<int32_t>(kPreviewAreaWidth / displayAspect));
    return {kPreviewAreaWidth, std::min(height, kPreviewAreaHeight)};
}

} // namespace vt::project
