// The display rotation a file stores for its pictures (phones record
// upright video as turned landscape pictures plus a display matrix).
#pragma once

#include <string>

#include "engines/converter/av_ptr.h"

namespace corvane {

// The clockwise turn that shows the stream's pictures upright: 0, 90, 180
// or 270 degrees (other angles count as the nearest of these).
int display_rotation(const AVStream *stream);

// Whether the picture's width and height swap when it is turned.
bool rotation_swaps_sides(int degrees);

// The filter-graph text that turns pictures by degrees; "" for 0.
std::string rotation_filters(int degrees);

// A turned copy of a decoded picture (the picture itself for 0 degrees);
// null when the filters fail.
FramePtr rotate_picture(const AVFrame *picture, int degrees);

} // namespace corvane
