// A libswscale context kept across pictures and remade whenever the source
// or destination geometry or pixel format changes.
#pragma once

#include "plugins/ffmpeg/pixel_layout.h"

struct SwsContext;

namespace ffplug {

class PictureScaler {
public:
    PictureScaler() = default;
    PictureScaler(const PictureScaler &) = delete;
    PictureScaler &operator=(const PictureScaler &) = delete;
    ~PictureScaler();

    // Scales (or only converts) source into target. A scaler that cannot be
    // made fails with error 17 on errorObject's context.
    bool scale(zif_object *errorObject, const PlaneRefs &source, AVPixelFormat from, int sourceWidth,
               int sourceHeight, const PlaneTargets &target, AVPixelFormat to, int width, int height);

private:
    SwsContext *context_ = nullptr;
};

}  // namespace ffplug
