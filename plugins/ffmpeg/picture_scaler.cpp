#include "plugins/ffmpeg/picture_scaler.h"
#include "plugins/common/plugin_errors.h"

extern "C" {
#include <libswscale/swscale.h>
}

namespace ffplug {

PictureScaler::~PictureScaler() { sws_freeContext(context_); }

bool PictureScaler::scale(zif_object *errorObject, const PlaneRefs &source, AVPixelFormat from, int sourceWidth,
                          int sourceHeight, const PlaneTargets &target, AVPixelFormat to, int width, int height)
{
    // sws_getCachedContext keeps the context while every parameter is the same.
    context_ = sws_getCachedContext(context_, sourceWidth, sourceHeight, from, width, height, to,
                                    SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr);
    if (!context_)
        return plugins::fail(errorObject, plugins::kErrScalerCreate);
    return sws_scale(context_, source.data, source.lineSize, 0, sourceHeight, target.data, target.lineSize) > 0 ||
           plugins::fail(errorObject, plugins::kErrScalerCreate);
}

}  // namespace ffplug
