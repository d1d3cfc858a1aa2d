// An opened media file: demuxer plus the decoders of one video and one audio
// stream, delivering decoded frames in file order.
#pragma once

#include <string>

#include "engines/converter/av_ptr.h"

namespace corvane {

struct MediaInputOptions {
    int video_stream = -1;   // source stream index, -1: the best video stream
    int audio_stream = -1;   // source stream index, -1: default_sound_stream()
    bool want_video = true;
    bool want_audio = true;
};

enum class MediaKind { Video, Audio };

struct DecodedFrame {
    MediaKind kind = MediaKind::Video;
    FramePtr frame; // pts set from the best-effort timestamp, in the stream's time base
};

class MediaInput {
public:
    // Opens path and the decoders asked for. Fails (with *error set) when the
    // file cannot be read or a stream asked for by index does not exist.
    bool open(const std::string &path, const MediaInputOptions &options, std::string *error);

    AVFormatContext *format() const { return format_.get(); }
    AVStream *video_stream() const { return video_stream_; }
    AVStream *audio_stream() const { return audio_stream_; }
    AVCodecContext *video_decoder() const { return video_decoder_.get(); }
    AVCodecContext *audio_decoder() const { return audio_decoder_.get(); }

    // The container's first timestamp in seconds (0 when unknown).
    double start_seconds() const;

    // The next decoded frame; false at the end of the input (all decoders
    // drained) or on an unrecoverable read error.
    bool next_frame(DecodedFrame &out);

    // Positions the input at the last key frame at or before seconds (counted
    // from the container's start) and resets the decoders.
    bool seek(double seconds);

private:
    bool receive(AVCodecContext *decoder, MediaKind kind, bool &finished, DecodedFrame &out);
    bool open_decoder(AVStream *stream, CodecContextPtr &decoder, std::string *error);

    InputFormatPtr format_;
    AVStream *video_stream_ = nullptr;
    AVStream *audio_stream_ = nullptr;
    CodecContextPtr video_decoder_;
    CodecContextPtr audio_decoder_;
    PacketPtr packet_ = make_packet();
    bool draining_ = false;
    bool video_finished_ = false;
    bool audio_finished_ = false;
};

// The sound a clip plays: the first sound stream marked as the default, or
// the first sound stream when none is marked; null without sound.
AVStream *default_sound_stream(AVFormatContext *format);

// Seconds of a timestamp in a stream's time base; NaN for AV_NOPTS_VALUE.
double timestamp_seconds(int64_t ts, AVRational time_base);

// FFmpeg's text for an error code.
std::string av_error_text(int code);

} // namespace corvane
