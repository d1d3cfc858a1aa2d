#include "app/production/letterbox_rule.h"

#include "app/production/production_params.h"

#include <algorithm>

namespace vt::production {

namespace {

constexpr int kFrameWidth = 720;

int roundUpToFour(int value)
{
    return (value + 3) / 4 * 4;
}

} // namespace

std::string LetterboxPictureSize(int width, int displayHeight, const ProductionParams &params)
{
    if (width <= 0 || displayHeight <= 0 || params.DesignHeight <= 0)
        return params.FrameSize;
    const int frameHeight = params.FrameHeight;
    const int designHeight = params.DesignHeight;
    const double ratio = static_cast<double>(width) / displayHeight;
    int pictureWidth = kFrameWidth;
    int pictureHeight = frameHeight;
    if (ratio > params.DisplayRatio) {
        const int bar = designHeight - kFrameWidth * displayHeight / width;
        const int barLines = static_cast<int>(static_cast<double>(frameHeight) / designHeight * bar);
        pictureHeight = frameHeight - barLines;
    } else {
        pictureWidth = designHeight * width / displayHeight;
    }
    pictureHeight = std::min(roundUpToFour(pictureHeight), frameHeight);
    pictureWidth = std::min(roundUpToFour(pictureWidth), kFrameWidth);
    return std::to_string(pictureWidth) + ":" + std::to_string(pictureHeight);
}

} // namespace vt::production
