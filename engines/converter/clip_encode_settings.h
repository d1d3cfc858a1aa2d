// The settings of one clip conversion, read and checked from the text
// arguments of X_MpegEnc.
#pragma once

#include <string>

extern "C" {
#include <libavutil/rational.h>
}

namespace corvane {

struct ClipEncodeSettings {
    std::string source;
    std::string output;
    int start_seconds = 0;
    int duration_seconds = 0;      // 0: up to the end of the source
    bool ntsc = false;
    AVRational display_aspect{4, 3};
    int video_kbps = 5000;
    int audio_kbps = 192;
    int picture_width = 720;
    int picture_height = 576;
    int frame_width = 720;
    int frame_height = 576;
    int video_stream = -1;
    int audio_stream = -1;
    int audio_delay_ms = 0;
    int quality = 1;               // encoder effort, 0 best .. 2 fastest
    bool deinterlace = false;
};

struct ClipEncodeArguments {
    const char *source, *start, *sample_rate, *aspect, *video_codec, *format, *video_kbps, *audio_kbps;
    const char *picture_size, *frame_size, *frame_rate, *video_stream, *audio_stream, *output;
    const char *audio_delay_ms, *duration, *audio_codec;
    int flags, standard, quality, deinterlace;
};

// Checks and converts the arguments; false with *error naming the first bad one.
bool parse_clip_encode_arguments(const ClipEncodeArguments &args, ClipEncodeSettings *settings, std::string *error);

// Shared text readers, also used by the menu encoder.
bool parse_int_text(const char *text, int *value);
bool parse_size_text(const char *text, int *width, int *height);            // "720:576"
bool parse_aspect_text(const char *text, AVRational *aspect);               // "4:3", "16:9", "4/3", "16/9"
bool check_dvd_frame(bool ntsc, int frame_width, int frame_height, int picture_width, int picture_height,
                     std::string *error);

} // namespace corvane
