#include "engines/converter/media_input.h"

#include <cmath>

namespace corvane {

namespace {

// MPEG program and transport streams announce their streams late; give the
// prober enough of the file to find them and their parameters.
constexpr const char *kProbeSize = "20000000";
constexpr const char *kAnalyzeDuration = "20000000";

AVStream *choose_stream(AVFormatContext *format, AVMediaType type, int index, std::string *error)
{
    if (index >= 0) {
        if (index >= static_cast<int>(format->nb_streams) || format->streams[index]->codecpar->codec_type != type) {
            *error = "stream " + std::to_string(index) + " is not a " + av_get_media_type_string(type) + " stream";
            return nullptr;
        }
        return format->streams[index];
    }
    if (type == AVMEDIA_TYPE_AUDIO)
        return default_sound_stream(format);
    int best = av_find_best_stream(format, type, -1, -1, nullptr, 0);
    if (best < 0)
        return nullptr;
    // Cover art of a sound file is a picture, not a video.
    if (format->streams[best]->disposition & AV_DISPOSITION_ATTACHED_PIC)
        return nullptr;
    return format->streams[best];
}

} // namespace

AVStream *default_sound_stream(AVFormatContext *format)
{
    AVStream *first = nullptr;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        AVStream *stream = format->streams[i];
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        if (stream->disposition & AV_DISPOSITION_DEFAULT)
            return stream;
        if (!first)
            first = stream;
    }
    return first;
}

std::string av_error_text(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

double timestamp_seconds(int64_t ts, AVRational time_base)
{
    if (ts == AV_NOPTS_VALUE)
        return NAN;
    return static_cast<double>(ts) * av_q2d(time_base);
}

bool MediaInput::open(const std::string &path, const MediaInputOptions &options, std::string *error)
{
    AVDictionary *format_options = nullptr;
    av_dict_set(&format_options, "probesize", kProbeSize, 0);
    av_dict_set(&format_options, "analyzeduration", kAnalyzeDuration, 0);
    AVFormatContext *raw = nullptr;
    int rc = avformat_open_input(&raw, path.c_str(), nullptr, &format_options);
    av_dict_free(&format_options);
    if (rc < 0) {
        *error = "cannot open " + path + ": " + av_error_text(rc);
        return false;
    }
    format_.reset(raw);
    rc = avformat_find_stream_info(raw, nullptr);
    if (rc < 0) {
        *error = "cannot read the streams of " + path + ": " + av_error_text(rc);
        return false;
    }
    std::string choose_error;
    if (options.want_video) {
        video_stream_ = choose_stream(raw, AVMEDIA_TYPE_VIDEO, options.video_stream, &choose_error);
        if (!choose_error.empty()) {
            *error = choose_error;
            return false;
        }
        if (video_stream_ && !open_decoder(video_stream_, video_decoder_, error))
            return false;
    }
    if (options.want_audio) {
        audio_stream_ = choose_stream(raw, AVMEDIA_TYPE_AUDIO, options.audio_stream, &choose_error);
        if (!choose_error.empty()) {
            *error = choose_error;
            return false;
        }
        // A sound stream nobody can decode is treated as no sound at all.
        if (audio_stream_ && !open_decoder(audio_stream_, audio_decoder_, &choose_error))
            audio_stream_ = nullptr;
    }
    for (unsigned i = 0; i < raw->nb_streams; ++i) {
        AVStream *stream = raw->streams[i];
        stream->discard = (stream == video_stream_ || stream == audio_stream_) ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    video_finished_ = !video_decoder_;
    audio_finished_ = !audio_decoder_;
    return true;
}

bool MediaInput::open_decoder(AVStream *stream, CodecContextPtr &decoder, std::string *error)
{
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        *error = std::string("no decoder for ") + avcodec_get_name(stream->codecpar->codec_id);
        return false;
    }
    decoder.reset(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(decoder.get(), stream->codecpar);
    decoder->pkt_timebase = stream->time_base;
    decoder->thread_count = 0;
    int rc = avcodec_open2(decoder.get(), codec, nullptr);
    if (rc < 0) {
        *error = std::string("cannot open the ") + codec->name + " decoder: " + av_error_text(rc);
        decoder.reset();
        return false;
    }
    return true;
}

double MediaInput::start_seconds() const
{
    if (!format_ || format_->start_time == AV_NOPTS_VALUE)
        return 0.0;
    return static_cast<double>(format_->start_time) / AV_TIME_BASE;
}

bool MediaInput::receive(AVCodecContext *decoder, MediaKind kind, bool &finished, DecodedFrame &out)
{
    if (!decoder || finished)
        return false;
    FramePtr frame = make_frame();
    int rc = avcodec_receive_frame(decoder, frame.get());
    if (rc == AVERROR_EOF) {
        finished = true;
        return false;
    }
    if (rc < 0)
        return false;
    frame->pts = frame->best_effort_timestamp;
    out.kind = kind;
    out.frame = std::move(frame);
    return true;
}

bool MediaInput::next_frame(DecodedFrame &out)
{
    for (;;) {
        if (receive(video_decoder_.get(), MediaKind::Video, video_finished_, out))
            return true;
        if (receive(audio_decoder_.get(), MediaKind::Audio, audio_finished_, out))
            return true;
        if (draining_)
            return false; // both decoders are drained (or failed while draining)
        int rc = av_read_frame(format_.get(), packet_.get());
        if (rc < 0) {
            draining_ = true;
            if (video_decoder_)
                avcodec_send_packet(video_decoder_.get(), nullptr);
            if (audio_decoder_)
                avcodec_send_packet(audio_decoder_.get(), nullptr);
            continue;
        }
        AVCodecContext *decoder = nullptr;
        if (video_stream_ && packet_->stream_index == video_stream_->index)
            decoder = video_decoder_.get();
        else if (audio_stream_ && packet_->stream_index == audio_stream_->index)
            decoder = audio_decoder_.get();
        if (decoder)
            avcodec_send_packet(decoder, packet_.get()); // a damaged packet is skipped
        av_packet_unref(packet_.get());
    }
}

bool MediaInput::seek(double seconds)
{
    int64_t target = static_cast<int64_t>((seconds + start_seconds()) * AV_TIME_BASE);
    int rc = avformat_seek_file(format_.get(), -1, INT64_MIN, target, target, 0);
    if (rc < 0)
        rc = av_seek_frame(format_.get(), -1, target, AVSEEK_FLAG_BACKWARD);
    if (video_decoder_)
        avcodec_flush_buffers(video_decoder_.get());
    if (audio_decoder_)
        avcodec_flush_buffers(audio_decoder_.get());
    draining_ = false;
    video_finished_ = !video_decoder_;
    audio_finished_ = !audio_decoder_;
    return rc >= 0;
}

} // namespace corvane
