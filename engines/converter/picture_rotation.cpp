#include "engines/converter/picture_rotation.h"

#include <cmath>

extern "C" {
#include <libavutil/display.h>
}

#include "engines/converter/filter_chain.h"

namespace corvane {

int display_rotation(const AVStream *stream)
{
    const uint8_t *matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (!matrix)
        return 0;
    // The matrix turns counter-clockwise; showing upright needs the opposite.
    double degrees = -av_display_rotation_get(reinterpret_cast<const int32_t *>(matrix));
    if (std::isnan(degrees))
        return 0;
    int quarter_turns = static_cast<int>(std::lround(degrees / 90.0));
    return ((quarter_turns % 4) + 4) % 4 * 90;
}

bool rotation_swaps_sides(int degrees)
{
    return degrees == 90 || degrees == 270;
}

std::string rotation_filters(int degrees)
{
    switch (degrees) {
    case 90:
        return "transpose=clock";
    case 180:
        return "hflip,vflip";
    case 270:
        return "transpose=cclock";
    default:
        return "";
    }
}

FramePtr rotate_picture(const AVFrame *picture, int degrees)
{
    FramePtr copy = make_frame();
    if (degrees == 0 || rotation_filters(degrees).empty())
        return av_frame_ref(copy.get(), picture) >= 0 ? std::move(copy) : nullptr;
    FilterChain chain;
    std::string error;
    if (!chain.open_video(picture, AVRational{1, 25}, picture->sample_aspect_ratio, rotation_filters(degrees), &error))
        return nullptr;
    if (av_frame_ref(copy.get(), picture) < 0 || !chain.push(copy.get()) || !chain.push(nullptr))
        return nullptr;
    FramePtr turned;
    return chain.pull(turned) == FilterChain::Pull::Frame ? std::move(turned) : nullptr;
}

} // namespace corvane
