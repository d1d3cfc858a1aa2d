#include "plugins/common/stream_samples.h"

#include <numeric>

namespace plugins {

MediaTime MediaTime::of(int64_t num, int64_t den)
{
    if (den < 0)
        num = -num, den = -den;
    if (den == 0)
        return {0, 1};
    int64_t g = std::gcd(num, den);
    return g > 1 ? MediaTime{num / g, den / g} : MediaTime{num, den};
}

MediaTime MediaTime::operator+(MediaTime other) const
{
    int64_t g = std::gcd(den, other.den);
    int64_t scale = other.den / g;
    return of(num * scale + other.num * (den / g), den * scale);
}

bool MediaTime::storeIn(zif_object *table, const char *name) const
{
    return zif_tableSetFract(table, name, 0, num, den);
}

bool queueEndOfStream(zif_object *queue, zif_object *description)
{
    zif_object *end = nullptr;
    bool ok = zif_valueClone(description, &end) && zif_tableSetInt(end, "endofstream", 1) && zif_listAdd(queue, end);
    zif_release(end);
    return ok;
}

namespace {

constexpr Channel kMono[] = {Channel::Center};
constexpr Channel kStereo[] = {Channel::Left, Channel::Right};
constexpr Channel kSurround[] = {Channel::Left,          Channel::Center,        Channel::Right,
                                 Channel::LeftSurround,  Channel::RightSurround, Channel::LowFrequency};

const char *channelId(Channel c)
{
    switch (c) {
    case Channel::Left: return "left";
    case Channel::Center: return "center";
    case Channel::Right: return "right";
    case Channel::LeftSurround: return "leftsurround";
    case Channel::RightSurround: return "rightsurround";
    case Channel::LowFrequency: return "lowfreq";
    }
    return "";
}

}  // namespace

const Channel *channelOrder(int channels)
{
    switch (channels) {
    case 1: return kMono;
    case 2: return kStereo;
    case 6: return kSurround;
    default: return nullptr;
    }
}

zif_object *channelIdsFor(zif_context *context, int channels)
{
    const Channel *order = channelOrder(channels);
    zif_object *ids = order ? zif_newList(context) : nullptr;
    for (int i = 0; ids && i < channels; ++i) {
        if (!zif_listAddString(ids, channelId(order[i]))) {
            zif_release(ids);
            return nullptr;
        }
    }
    return ids;
}

}  // namespace plugins
