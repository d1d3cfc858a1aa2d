#include "engines/converter/media_probe.h"

#include <cmath>

#include "engines/converter/media_input.h"
#include "engines/converter/picture_rotation.h"

namespace corvane {

namespace {

// Pictures decoded to learn the field structure when the stream does not say.
constexpr int kFieldProbeFrames = 5;

double seconds_of(const MediaInput &input)
{
    AVFormatContext *format = input.format();
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        return static_cast<double>(format->duration) / AV_TIME_BASE;
    AVStream *video = input.video_stream();
    if (video->duration != AV_NOPTS_VALUE && video->duration > 0)
        return timestamp_seconds(video->duration, video->time_base);
    return 0.0;
}

float stream_kbps(const AVStream *stream)
{
    return stream ? static_cast<float>(stream->codecpar->bit_rate) / 1000.0f : 0.0f;
}

// Video rate when the stream does not state it: what is left of the whole
// file's rate after the sound.
float estimated_video_kbps(const MediaInput &input, double seconds, float audio_kbps)
{
    AVFormatContext *format = input.format();
    double total_kbps = format->bit_rate > 0 ? format->bit_rate / 1000.0 : 0.0;
    if (total_kbps <= 0 && format->pb && seconds > 0) {
        int64_t size = avio_size(format->pb);
        if (size > 0)
            total_kbps = size * 8.0 / 1000.0 / seconds;
    }
    return total_kbps > audio_kbps ? static_cast<float>(total_kbps - audio_kbps) : static_cast<float>(total_kbps);
}

bool field_order_known(AVFieldOrder order)
{
    return order != AV_FIELD_UNKNOWN;
}

std::vector<SoundTrackFacts> sound_tracks_of(const AVFormatContext *format, const AVStream *used)
{
    std::vector<SoundTrackFacts> tracks;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream *stream = format->streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        SoundTrackFacts track;
        track.stream_index = stream->index;
        track.sample_rate = stream->codecpar->sample_rate;
        track.channels = stream->codecpar->ch_layout.nb_channels;
        track.kbps = stream_kbps(stream);
        track.used = stream == used;
        if (const AVDictionaryEntry *language = av_dict_get(stream->metadata, "language", nullptr, 0))
            track.language = language->value;
        tracks.push_back(track);
    }
    return tracks;
}

} // namespace

int aspect_code_of(double display_aspect)
{
    static const double ratios[] = {1.0, 4.0 / 3.0, 16.0 / 9.0, 2.21};
    int best = 0;
    double best_error = 0.02;
    for (int i = 0; i < 4; ++i) {
        double error = std::fabs(display_aspect - ratios[i]) / ratios[i];
        if (error <= best_error) {
            best_error = error;
            best = i + 1;
        }
    }
    return best;
}

bool probe_media(const std::string &path, MediaFacts *facts, FramePtr *first_frame, std::string *error)
{
    MediaInput input;
    MediaInputOptions options;
    options.want_audio = false;
    if (!input.open(path, options, error))
        return false;
    AVStream *video = input.video_stream();
    if (!video) {
        *error = path + " has no video stream";
        return false;
    }
    double seconds = seconds_of(input);
    if (seconds < 1.0) {
        *error = path + " lasts less than a second";
        return false;
    }
    const AVCodecParameters *vpar = video->codecpar;
    facts->duration_seconds = static_cast<int>(seconds);
    AVRational rate = video->avg_frame_rate.num > 0 ? video->avg_frame_rate : video->r_frame_rate;
    facts->frame_rate = rate.num > 0 && rate.den > 0 ? static_cast<float>(av_q2d(rate)) : 0.0f;
    // Sizes and shape as the pictures are shown: turned upright.
    const int rotation = display_rotation(video);
    const bool turned = rotation_swaps_sides(rotation);
    facts->width = turned ? vpar->height : vpar->width;
    facts->height = turned ? vpar->width : vpar->height;
    AVRational sar = av_guess_sample_aspect_ratio(input.format(), video, nullptr);
    double pixel_aspect = sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0;
    if (turned)
        pixel_aspect = 1.0 / pixel_aspect;
    facts->aspect_code = facts->height > 0 ? aspect_code_of(pixel_aspect * facts->width / facts->height) : 0;

    const AVStream *audio = default_sound_stream(input.format());
    facts->sound_tracks = sound_tracks_of(input.format(), audio);
    if (audio) {
        facts->sample_rate = audio->codecpar->sample_rate;
        facts->channels = audio->codecpar->ch_layout.nb_channels;
        facts->audio_kbps = stream_kbps(audio);
    }
    facts->video_kbps = vpar->bit_rate > 0 ? stream_kbps(video) : estimated_video_kbps(input, seconds, facts->audio_kbps);

    // The first picture, and with it the field structure when the stream
    // leaves it open.
    bool interlaced = vpar->field_order != AV_FIELD_PROGRESSIVE && field_order_known(vpar->field_order);
    bool decided = field_order_known(vpar->field_order);
    DecodedFrame decoded;
    int frames = 0;
    while (input.next_frame(decoded)) {
        bool frame_interlaced = decoded.frame->interlaced_frame;
        if (!*first_frame)
            *first_frame = std::move(decoded.frame);
        if (!decided)
            interlaced = interlaced || frame_interlaced;
        if (decided || ++frames >= kFieldProbeFrames)
            break;
    }
    facts->progressive = !interlaced;
    if (*first_frame && rotation != 0)
        *first_frame = rotate_picture(first_frame->get(), rotation);
    if (!*first_frame) {
        *error = "no picture could be decoded from " + path;
        return false;
    }
    return true;
}

} // namespace corvane
