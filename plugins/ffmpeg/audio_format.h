// The pure parts of sound conversion: choosing the output format from what a
// consumer accepts, the integer rate pair handed to the resampler, the
// mixing of input channels into output channels by name, and PCM sample
// widths to and from signed 16-bit.
#pragma once

#include "framework/include/zif.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ffplug {

struct AudioFormat {
    int rate = 0;  // whole hertz
    int channels = 0;
    int bits = 0;
    int isSigned = 1;
    std::vector<std::string> ids;
};

// The smallest value of constraint (a number or a list of numbers) not below
// wanted, else the largest one below it; -1 when constraint holds no number.
int64_t audioPick(zif_object *constraint, int64_t wanted);

// Chooses from target (a table or a list of alternative tables) the output
// format for input. Entries the target leaves open take the input's values;
// channel ids come from the target's "channelids" or, for another channel
// count, from the documented order. False (error 14 or 22 set on errorObject)
// when no alternative fits.
bool audioChooseOutput(zif_object *errorObject, zif_object *target, const AudioFormat &input, AudioFormat *output);

// Integers out/in whose ratio is within 1/3600 of outRate/inRate, both below 2^24.
struct RatePair {
    int out = 0;
    int in = 0;
};
RatePair audioRatePair(double outRate, double inRate);

// One input channel feeding an output channel with a gain in 1/16384.
struct ChannelSource {
    int input = 0;
    int gain = 16384;
};

// For every output channel, the input channels mixed into it: the channel of
// the same name; a mono "center" copied to "left"/"right"; "left" and "right"
// averaged into "center"; input channels the output lacks folded into their
// nearest output neighbours, so a downmix keeps every channel's sound.
std::vector<std::vector<ChannelSource>> audioChannelSources(const std::vector<std::string> &inputIds,
                                                            const std::vector<std::string> &outputIds);

// Interleaved PCM of bits (8, 16, 24, 32) and signedness to signed 16-bit;
// false for another width.
bool pcmToS16(const uint8_t *bytes, int64_t size, int bits, bool isSigned, std::vector<int16_t> *out);
// Signed 16-bit values to PCM of bits and signedness, appended to out.
bool pcmFromS16(const int16_t *values, int64_t count, int bits, bool isSigned, std::vector<uint8_t> *out);

}  // namespace ffplug
