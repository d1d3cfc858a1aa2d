// The encoders the module offers, in table order, each under the format
// name its output carries, and the port descriptions built from them.
#pragma once

#include "framework/include/zif.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <vector>

namespace ffplug {

struct EncoderEntry {
    const char *format;  // "mpeg2.video", "mpeg1.audio.mp2", ...
    bool video;
    const AVCodec *codec;
};

// The entries whose encoder the library has, in table order.
const std::vector<EncoderEntry> &encoderEntries();
// The entry for format: the last available one in table order, so a second
// encoder of the same format wins; null when none.
const EncoderEntry *encoderFind(const char *format);
// Every entry for format, the one encoderFind gives first.
std::vector<const EncoderEntry *> encoderAlternatives(const char *format);

// New references, null on failure:
// the output descriptions of the video (video true) or sound entries;
zif_object *encoderOutputDescriptions(zif_context *context, bool video);
// every output description, in table order;
zif_object *encoderAllOutputDescriptions(zif_context *context);
// the input description: 4:2:0 pictures or signed 16-bit interleaved PCM;
zif_object *encoderInputDescription(zif_context *context, bool video);
// both input descriptions, video first.
zif_object *encoderAllInputDescriptions(zif_context *context);

}  // namespace ffplug
