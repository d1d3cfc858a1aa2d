#include "engines/converter/clip_encode_settings.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace corvane {

namespace {

constexpr int kAc3Rates[] = {64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448};

bool text_is(const char *text, const char *expected)
{
    return text && std::strcmp(text, expected) == 0;
}

bool fail(std::string *error, const std::string &what, const char *text)
{
    *error = what + " \"" + (text ? text : "(null)") + "\"";
    return false;
}

} // namespace

bool parse_int_text(const char *text, int *value)
{
    if (!text || !*text)
        return false;
    const char *end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, *value);
    return ec == std::errc() && ptr == end;
}

bool parse_size_text(const char *text, int *width, int *height)
{
    if (!text)
        return false;
    const char *colon = std::strchr(text, ':');
    if (!colon)
        return false;
    std::string w(text, colon);
    return parse_int_text(w.c_str(), width) && parse_int_text(colon + 1, height) && *width > 0 && *height > 0;
}

bool parse_aspect_text(const char *text, AVRational *aspect)
{
    if (text_is(text, "4:3") || text_is(text, "4/3")) {
        *aspect = AVRational{4, 3};
        return true;
    }
    if (text_is(text, "16:9") || text_is(text, "16/9")) {
        *aspect = AVRational{16, 9};
        return true;
    }
    return false;
}

bool check_dvd_frame(bool ntsc, int frame_width, int frame_height, int picture_width, int picture_height,
                     std::string *error)
{
    if (frame_width != 720 || frame_height != (ntsc ? 480 : 576)) {
        *error = std::string("the frame size of ") + (ntsc ? "NTSC" : "PAL") + " is 720:" + (ntsc ? "480" : "576");
        return false;
    }
    if (picture_width < 16 || picture_height < 16 || picture_width > frame_width || picture_height > frame_height) {
        *error = "the picture size " + std::to_string(picture_width) + ":" + std::to_string(picture_height) +
                 " does not fit the frame";
        return false;
    }
    return true;
}

bool parse_clip_encode_arguments(const ClipEncodeArguments &args, ClipEncodeSettings *s, std::string *error)
{
    if (!args.source || !*args.source)
        return fail(error, "no source file", args.source);
    if (!args.output || !*args.output)
        return fail(error, "no output file", args.output);
    s->source = args.source;
    s->output = args.output;
    if (!parse_int_text(args.start, &s->start_seconds) || s->start_seconds < 0)
        return fail(error, "bad start second", args.start);
    if (!parse_int_text(args.duration, &s->duration_seconds) || s->duration_seconds < 0)
        return fail(error, "bad duration", args.duration);
    if (!text_is(args.sample_rate, "48000"))
        return fail(error, "a DVD's sound is sampled at 48000 Hz, not", args.sample_rate);
    if (!text_is(args.video_codec, "mpeg2"))
        return fail(error, "unsupported video codec", args.video_codec);
    if (!text_is(args.format, "dvd"))
        return fail(error, "unsupported format", args.format);
    if (!text_is(args.audio_codec, "ac3"))
        return fail(error, "unsupported audio codec", args.audio_codec);
    if (!parse_aspect_text(args.aspect, &s->display_aspect))
        return fail(error, "bad aspect", args.aspect);
    if (!parse_int_text(args.video_kbps, &s->video_kbps) || s->video_kbps < 500 || s->video_kbps > 9000)
        return fail(error, "video bitrate (500..9000 kbit/s) out of range:", args.video_kbps);
    if (!parse_int_text(args.audio_kbps, &s->audio_kbps) ||
        std::find(std::begin(kAc3Rates), std::end(kAc3Rates), s->audio_kbps) == std::end(kAc3Rates))
        return fail(error, "not an AC-3 bitrate of a DVD (64..448 kbit/s):", args.audio_kbps);
    if (args.standard != 1 && args.standard != 2) {
        *error = "bad video standard " + std::to_string(args.standard) + " (1 NTSC, 2 PAL)";
        return false;
    }
    s->ntsc = args.standard == 1;
    if (!text_is(args.frame_rate, s->ntsc ? "30000/1001" : "25"))
        return fail(error, s->ntsc ? "NTSC runs at 30000/1001, not" : "PAL runs at 25, not", args.frame_rate);
    if (!parse_size_text(args.frame_size, &s->frame_width, &s->frame_height))
        return fail(error, "bad frame size", args.frame_size);
    if (!parse_size_text(args.picture_size, &s->picture_width, &s->picture_height))
        return fail(error, "bad picture size", args.picture_size);
    if (!check_dvd_frame(s->ntsc, s->frame_width, s->frame_height, s->picture_width, s->picture_height, error))
        return false;
    // Chroma is subsampled by two both ways: keep the picture even.
    s->picture_width &= ~1;
    s->picture_height &= ~1;
    if (!parse_int_text(args.video_stream, &s->video_stream) || s->video_stream < -1)
        return fail(error, "bad video stream index", args.video_stream);
    if (!parse_int_text(args.audio_stream, &s->audio_stream) || s->audio_stream < -1)
        return fail(error, "bad audio stream index", args.audio_stream);
    if (!parse_int_text(args.audio_delay_ms, &s->audio_delay_ms) || s->audio_delay_ms < 0 || s->audio_delay_ms > 60000)
        return fail(error, "bad audio delay (0..60000 ms)", args.audio_delay_ms);
    if (args.flags != 0) {
        *error = "unknown flags " + std::to_string(args.flags);
        return false;
    }
    if (args.quality < 0 || args.quality > 2) {
        *error = "bad quality index " + std::to_string(args.quality) + " (0, 1 or 2)";
        return false;
    }
    s->quality = args.quality;
    s->deinterlace = args.deinterlace != 0;
    return true;
}

} // namespace corvane
