// Samples and descriptions every decoder builds the same way: exact media
// times, the end-of-stream table, and the channel identifiers of sound.
#pragma once

#include "framework/include/zif.h"

#include <cstdint>

namespace plugins {

// An exact time or rate: num / den seconds, den > 0, in lowest terms.
struct MediaTime {
    int64_t num = 0;
    int64_t den = 1;

    static MediaTime of(int64_t num, int64_t den);
    MediaTime operator+(MediaTime other) const;
    bool operator>(double seconds) const { return static_cast<double>(num) > seconds * static_cast<double>(den); }
    double seconds() const { return static_cast<double>(num) / static_cast<double>(den); }
    // Sets name in table to this time as a fract.
    bool storeIn(zif_object *table, const char *name) const;
};

// Appends to queue a clone of description with "endofstream" = 1.
bool queueEndOfStream(zif_object *queue, zif_object *description);

// The documented channel order of sound samples.
enum class Channel { Left, Center, Right, LeftSurround, RightSurround, LowFrequency };

// The order of a stream of 1, 2 or 6 channels (channels entries); null for
// any other channel count.
const Channel *channelOrder(int channels);

// The "channelids" list for 1, 2 or 6 channels (new reference), else null.
zif_object *channelIdsFor(zif_context *context, int channels);

}  // namespace plugins
