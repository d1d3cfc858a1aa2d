// Writes a DVD-Video program stream: MPEG-2 MP@ML pictures and AC-3 48 kHz
// stereo sound in 2048-byte "dvd" packs with navigation packets at every
// closed GOP, within the DVD rate and buffer limits.
#pragma once

#include <cstdint>
#include <string>

#include "engines/converter/av_ptr.h"

namespace corvane {

struct DvdVideoFormat {
    bool ntsc = false;          // 720x480 at 30000/1001, else 720x576 at 25
    int width = 720;
    int height = 576;
    AVRational display_aspect{4, 3};
    int video_kbps = 5000;
    int audio_kbps = 192;
    int effort = 1;             // 0 best pictures, 1 balanced, 2 fastest
    bool interlaced = false;    // field-coded pictures (source fields kept)
    bool top_field_first = true;
    // Two-pass coding: the first pass only measures the pictures and writes
    // no file; the second codes them again with what the first measured.
    enum class Pass { Only, First, Second } pass = Pass::Only;
    std::string first_pass_stats;  // what the first pass measured, for Pass::Second
};

// The frame rate of the standard.
AVRational dvd_frame_rate(bool ntsc);

class DvdStreamWriter {
public:
    ~DvdStreamWriter();

    // Opens the encoders and the file at path (no file for a first pass).
    bool open(const std::string &path, const DvdVideoFormat &format, std::string *error);

    // A yuv420p picture of the frame size; pts in video_time_base() (frame
    // numbers) or AV_NOPTS_VALUE for "the next one".
    bool write_video(AVFrame *picture);
    // Planar float stereo sound at 48 kHz; pts in samples or AV_NOPTS_VALUE.
    // Frames hold audio_frame_samples() samples (the last may be shorter).
    bool write_audio(AVFrame *sound);
    // Silence from the current sound position up to the end of the pictures
    // written so far.
    bool write_silence_to_video_end();

    // Flushes both encoders and completes the file.
    bool finish();
    // After a first pass's finish(): the measurements for the second.
    const std::string &first_pass_stats() const { return first_pass_stats_; }
    // Whether a second pass can code the pictures the first one measured at
    // kbps: false when the first, coding at that rate, could not get down to
    // it even with the coarsest steps. (The encoder's second-pass rate
    // control refuses such a rate, and libavcodec 5.1 corrupts its heap on
    // the way out of that refusal, so it must never be asked.)
    bool second_pass_reaches(int kbps) const;

    AVRational video_time_base() const;
    int audio_frame_samples() const;
    int64_t video_frames() const { return next_video_pts_; }
    const std::string &error() const { return error_; }

private:
    bool open_video_encoder(const DvdVideoFormat &format);
    bool open_audio_encoder(const DvdVideoFormat &format);
    bool encode(AVCodecContext *encoder, AVStream *stream, AVFrame *frame);
    // Whole frames of silence until the sound reaches end (in samples).
    bool write_silence_until(int64_t end);
    bool measuring() const { return muxer_ == nullptr; }

    AVFormatContext *muxer_ = nullptr;
    CodecContextPtr video_encoder_;
    CodecContextPtr audio_encoder_;
    AVStream *video_stream_ = nullptr;
    AVStream *audio_stream_ = nullptr;
    PacketPtr packet_ = make_packet();
    int64_t next_video_pts_ = 0;
    int64_t next_audio_pts_ = 0;
    bool header_written_ = false;
    bool finished_ = false;
    bool interlaced_ = false;
    bool top_field_first_ = true;
    std::string error_;
    std::string first_pass_stats_;  // a first pass's, or the one the second pass codes with
    int64_t first_pass_bytes_ = 0;
};

} // namespace corvane
