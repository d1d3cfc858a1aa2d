// The picture size a clip is scaled to when it keeps its shape inside the
// DVD frame (the converter pads the rest with black).
#pragma once

#include <string>

namespace vt::production {

struct ProductionParams;

// "W:H" for a clip of width × displayHeight on the run's frame. Without a
// usable clip size (0 or negative), the frame size.
std::string LetterboxPictureSize(int width, int displayHeight, const ProductionParams &params);

} // namespace vt::production
