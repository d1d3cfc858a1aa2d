#include "engines/converter/menu_encoder.h"

#include <algorithm>

#include "engines/converter/clip_encode_settings.h"
#include "engines/converter/dvd_stream_writer.h"
#include "engines/converter/filter_chain.h"
#include "engines/converter/media_input.h"

namespace corvane {

namespace {

constexpr int kMenuVideoKbps = 5000;
constexpr int kMenuAudioKbps = 192;
constexpr int kSampleRate = 48000;
constexpr int kMaxLoopSeconds = 300;

// The picture scaled to the picture size, padded centred to the frame, in
// BT.601 limited-range YUV.
bool load_picture(const MenuEncodeSettings &s, FramePtr *picture, std::string *error)
{
    MediaInput input;
    MediaInputOptions options;
    options.want_audio = false;
    if (!input.open(s.bitmap, options, error))
        return false;
    DecodedFrame decoded;
    if (!input.video_stream() || !input.next_frame(decoded)) {
        *error = "no picture in " + s.bitmap;
        return false;
    }
    int pad_x = ((s.frame_width - s.picture_width) / 2) & ~1;
    int pad_y = ((s.frame_height - s.picture_height) / 2) & ~1;
    std::string chain = "scale=" + std::to_string(s.picture_width) + ":" + std::to_string(s.picture_height) +
                        ":flags=bicubic:out_color_matrix=bt601:out_range=tv,pad=" + std::to_string(s.frame_width) +
                        ":" + std::to_string(s.frame_height) + ":" + std::to_string(pad_x) + ":" +
                        std::to_string(pad_y) + ":black,format=yuv420p";
    FilterChain filters;
    if (!filters.open_video(decoded.frame.get(), input.video_stream()->time_base, AVRational{1, 1}, chain, error))
        return false;
    filters.push(decoded.frame.get());
    filters.push(nullptr);
    if (filters.pull(*picture) != FilterChain::Pull::Frame) {
        *error = "cannot convert the picture of " + s.bitmap;
        return false;
    }
    (*picture)->color_range = AVCOL_RANGE_MPEG;
    return true;
}

// The music, decoded, resampled and cut or looped to exactly the menu's
// length, in encoder-sized frames.
class MenuMusic {
public:
    bool open(const MenuEncodeSettings &s, int frame_samples, std::string *error)
    {
        MediaInputOptions options;
        options.want_video = false;
        if (!input_.open(s.music, options, error))
            return false;
        if (!input_.audio_stream()) {
            *error = s.music + " has no sound";
            return false;
        }
        total_samples_ = static_cast<int64_t>(s.duration_seconds) * kSampleRate;
        frame_samples_ = frame_samples;
        return true;
    }

    // The next frame of music; false when all of it has been delivered.
    bool next(FramePtr &sound, std::string *error)
    {
        for (;;) {
            if (filters_.is_open()) {
                FilterChain::Pull state = filters_.pull(sound);
                if (state == FilterChain::Pull::Frame) {
                    sound->pts = av_rescale_q(sound->pts, filters_.output_time_base(), AVRational{1, kSampleRate});
                    return true;
                }
                if (state == FilterChain::Pull::Finished)
                    return false;
            }
            DecodedFrame decoded;
            bool more = input_.next_frame(decoded);
            if (!filters_.is_open()) {
                if (!more) {
                    *error = "no sound could be decoded";
                    return false;
                }
                // Music shorter than the menu starts again from its beginning
                // (the first kMaxLoopSeconds of it are kept for that).
                const int64_t loop = std::min<int64_t>(total_samples_, int64_t{kMaxLoopSeconds} * kSampleRate);
                std::string chain = "asetpts=PTS-STARTPTS,aresample=48000,"
                                    "aformat=sample_fmts=fltp:sample_rates=48000:channel_layouts=stereo,"
                                    "aloop=loop=-1:size=" + std::to_string(loop) +
                                    ",atrim=end_sample=" + std::to_string(total_samples_) +
                                    ",apad=whole_len=" + std::to_string(total_samples_) +
                                    ",asetnsamples=n=" + std::to_string(frame_samples_) + ":p=1";
                if (!filters_.open_audio(decoded.frame.get(), input_.audio_stream()->time_base, chain, error))
                    return false;
            }
            filters_.push(more ? decoded.frame.get() : nullptr);
        }
    }

private:
    MediaInput input_;
    FilterChain filters_;
    int64_t total_samples_ = 0;
    int frame_samples_ = 1536;
};

} // namespace

bool parse_menu_encode_arguments(const MenuEncodeArguments &args, MenuEncodeSettings *s, std::string *error)
{
    if (args.standard != 1 && args.standard != 2) {
        *error = "bad video standard " + std::to_string(args.standard) + " (1 NTSC, 2 PAL)";
        return false;
    }
    s->ntsc = args.standard == 1;
    if (!args.bitmap || !*args.bitmap || !args.output || !*args.output) {
        *error = "the picture and the output file must be named";
        return false;
    }
    s->bitmap = args.bitmap;
    s->output = args.output;
    if (!parse_int_text(args.duration, &s->duration_seconds) || s->duration_seconds < 1 || s->duration_seconds > 3600) {
        *error = std::string("bad menu duration \"") + (args.duration ? args.duration : "(null)") + "\"";
        return false;
    }
    if (!parse_size_text(args.picture_size, &s->picture_width, &s->picture_height) ||
        !parse_size_text(args.frame_size, &s->frame_width, &s->frame_height)) {
        *error = "bad picture or frame size";
        return false;
    }
    if (!check_dvd_frame(s->ntsc, s->frame_width, s->frame_height, s->picture_width, s->picture_height, error))
        return false;
    s->picture_width &= ~1;
    s->picture_height &= ~1;
    if (!parse_aspect_text(args.aspect, &s->display_aspect)) {
        *error = std::string("bad aspect \"") + (args.aspect ? args.aspect : "(null)") + "\"";
        return false;
    }
    s->with_music = args.with_music != 0;
    if (s->with_music) {
        if (!args.music || !*args.music) {
            *error = "no music file named";
            return false;
        }
        s->music = args.music;
    }
    return true;
}

bool encode_menu(const MenuEncodeSettings &s, ConversionProgress &progress, std::string *error)
{
    FramePtr picture;
    if (!load_picture(s, &picture, error))
        return false;

    DvdVideoFormat format;
    format.ntsc = s.ntsc;
    format.width = s.frame_width;
    format.height = s.frame_height;
    format.display_aspect = s.display_aspect;
    format.video_kbps = kMenuVideoKbps;
    format.audio_kbps = kMenuAudioKbps;
    DvdStreamWriter writer;
    MenuMusic music;
    if (s.with_music && !music.open(s, writer.audio_frame_samples(), error))
        return false;
    if (!writer.open(s.output, format, error))
        return false;

    AVRational rate = dvd_frame_rate(s.ntsc);
    const int64_t frames = av_rescale(s.duration_seconds, rate.num, rate.den);
    bool music_left = s.with_music;
    FramePtr sound;
    for (int64_t i = 0; i < frames && !progress.stop_requested; ++i) {
        FramePtr copy = clone_frame(picture.get());
        copy->pts = i;
        if (!writer.write_video(copy.get())) {
            *error = writer.error();
            return false;
        }
        // Keep the sound up with the pictures so that the packs interleave.
        int64_t sound_end = av_rescale(i + 1, static_cast<int64_t>(kSampleRate) * rate.den, rate.num);
        while (music_left && (!sound || sound->pts < sound_end)) {
            if (sound && !writer.write_audio(sound.get())) {
                *error = writer.error();
                return false;
            }
            sound.reset();
            std::string music_error;
            music_left = music.next(sound, &music_error);
            if (!music_error.empty()) {
                *error = music_error;
                return false;
            }
        }
        progress.current_frame = static_cast<int32_t>(i + 1);
        progress.seconds_done = static_cast<int32_t>((i + 1) * rate.den / rate.num);
        progress.percent_done = static_cast<int32_t>((i + 1) * 100 / frames);
    }
    if (sound && !writer.write_audio(sound.get())) {
        *error = writer.error();
        return false;
    }
    if (!s.with_music && !writer.write_silence_to_video_end()) {
        *error = writer.error();
        return false;
    }
    if (!writer.finish()) {
        *error = writer.error();
        return false;
    }
    return true;
}

} // namespace corvane
