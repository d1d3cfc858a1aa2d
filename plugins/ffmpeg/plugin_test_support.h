// The ffmpeg plug-in's test fixture on the shared plug-in harness: a
// context with libwyv_ffmpeg.so loaded, sinks that hold two samples at the
// most, and the pictures and layouts the converter tests feed.
#pragma once

#include "plugins/common/decoder_test_support.h"

namespace fftest {

using plugintest::bytesOf;
using plugintest::Sink;
using plugintest::Source;

class PluginTest : public plugintest::DecoderTest {
protected:
    void SetUp() override;
    // Direct-creates an "ffmpeg.decoder" and connects the command to it: 1 or 0.
    int32_t connectDecoder(uint64_t command, uint64_t *node = nullptr)
    {
        return DecoderTest::connectDecoder("ffmpeg.decoder", command, node);
    }
};

// Runs zif-run from the program folder with args; the exit status, stdout in *out.
int runZifRun(const std::string &args, std::string *out);

// What ffprobe reports on the first stream of path: "key=value" lines of
// the asked -show_entries, with extra options (-count_frames, ...).
std::string ffprobe(const std::string &path, const std::string &entries, const std::string &extra = "");
// The value of key in such a report, or "".
std::string reportValue(const std::string &report, const std::string &key);

// A "yuv.separate" 4:2:0 picture of w x h filled with y, u, v; chroma
// planes are (w + 1) / 2 by (h + 1) / 2 unless chromaBytes says otherwise.
zif_object *yuvPicture(zif_context *ctx, int w, int h, uint8_t y, uint8_t u, uint8_t v, int64_t chromaBytes = -1);
// The description entries of one RGB layout: 24 or 32 bits, red offset.
zif_object *rgbDescription(zif_context *ctx, int bits, int offsetR);
// The 4:2:0 layout description with a size.
zif_object *yuvDescription(zif_context *ctx, int w, int h);

}  // namespace fftest
