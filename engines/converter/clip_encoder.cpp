#include "engines/converter/clip_encoder.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <memory>

#include "engines/converter/dvd_stream_writer.h"
#include "engines/converter/dvd_writer_thread.h"
#include "engines/converter/filter_chain.h"
#include "engines/converter/media_input.h"
#include "engines/converter/picture_rotation.h"

namespace corvane {

namespace {

constexpr int kBestQuality = 0;
constexpr int kFastestQuality = 2;

std::string number_text(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

bool source_is_interlaced(const AVFrame *frame, const AVCodecParameters *parameters)
{
    if (frame->interlaced_frame)
        return true;
    return parameters->field_order == AV_FIELD_TT || parameters->field_order == AV_FIELD_BB ||
           parameters->field_order == AV_FIELD_TB || parameters->field_order == AV_FIELD_BT;
}

bool source_is_top_field_first(const AVFrame *frame, const AVCodecParameters *parameters)
{
    if (frame->interlaced_frame)
        return frame->top_field_first;
    return parameters->field_order == AV_FIELD_TT || parameters->field_order == AV_FIELD_TB;
}

// The part of a sound filter description that cuts [start, end) out of the
// source (end 0: up to its end) and makes that range start at zero; times in
// seconds of the source's own clock.
std::string trim_filters(double start, double end)
{
    std::string text = "atrim=start=" + number_text(start);
    if (end > 0)
        text += ":end=" + number_text(end);
    return text + ",asetpts=PTS-" + number_text(start) + "/TB";
}

// How far before the asked start a seek is retried when it landed after it
// (MPEG transport and program streams seek by byte position).
constexpr double kLongestSeekBack = 16.0;

// Sound frames held while looking for the first picture: minutes of sound.
// A file whose pictures cannot be decoded is given up on, not read whole
// into memory.
constexpr size_t kMostFramesAhead = 20000;

// One pass over the clip: decoding, filtering and coding. A two-pass
// conversion runs two, each reporting half of the progress.
class ClipEncoder {
public:
    ClipEncoder(const ClipEncodeSettings &settings, ConversionProgress &progress,
                DvdVideoFormat::Pass pass = DvdVideoFormat::Pass::Only, std::string first_pass_stats = {})
        : settings_(settings), progress_(progress), pass_(pass), first_pass_stats_(std::move(first_pass_stats))
    {
    }

    bool run(std::string *error);
    // After a first pass: what it measured, whether a second pass can reach
    // the rate, and the seconds of pictures it coded.
    const std::string &first_pass_stats() const { return writer_.first_pass_stats(); }
    bool second_pass_reaches_rate() const { return writer_.second_pass_reaches(settings_.video_kbps); }
    double seconds_coded() const;
    // This pass reports base_seconds plus share of the seconds it codes.
    void share_progress(double base_seconds, double share)
    {
        progress_base_seconds_ = base_seconds;
        progress_share_ = share;
    }

private:
    bool read_to_first_picture(std::deque<DecodedFrame> &ahead);
    bool convert(DecodedFrame &decoded, std::string *error);
    bool open_video(const AVFrame *first, std::string *error);
    bool open_audio(const AVFrame *first, std::string *error);
    bool push_picture(AVFrame *picture);
    bool close_pictures();
    bool drain_video();
    bool drain_audio();
    void report_progress();
    bool finished_reading() const;

    const ClipEncodeSettings &settings_;
    ConversionProgress &progress_;
    const DvdVideoFormat::Pass pass_;
    const std::string first_pass_stats_;
    double progress_share_ = 1.0;       // of the seconds coded, reported as done
    double progress_base_seconds_ = 0.0; // reported before this pass
    MediaInput input_;
    FilterChain video_filters_;
    FilterChain audio_filters_;
    DvdStreamWriter writer_;
    std::unique_ptr<DvdWriterThread> writer_thread_; // owns writer_ while it runs
    bool writer_open_ = false;
    AVRational video_time_base_{1, 25};
    // The pictures are cut and shifted to start at zero here rather than by
    // filters, so that the end of the input is known on the filters' clock:
    // the end of the last picture, or the end of the range.
    AVRational source_time_base_{1, 25};
    int64_t cut_start_ts_ = 0;          // cut_start_ in source_time_base_
    int64_t cut_length_ts_ = INT64_MAX; // the range's length, INT64_MAX: to the end
    int64_t picture_duration_ts_ = 1;   // for pictures that do not say
    int64_t pictures_end_ts_ = 0;       // the end of the last picture pushed, shifted
    bool pictures_closed_ = false;
    bool sound_written_ = false;
    bool video_done_ = false;
    bool audio_done_ = false;
    double range_start_ = 0.0;  // the asked start, on the source's clock
    double cut_start_ = 0.0;    // where both streams start: the asked start or the later first picture
    double cut_end_ = 0.0;      // 0: up to the end of the source
    double expected_seconds_ = 0.0;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

bool ClipEncoder::run(std::string *error)
{
    MediaInputOptions options;
    options.video_stream = settings_.video_stream;
    options.audio_stream = settings_.audio_stream;
    options.want_audio = pass_ != DvdVideoFormat::Pass::First; // a first pass measures pictures only
    if (!input_.open(settings_.source, options, error))
        return false;
    if (!input_.video_stream()) {
        *error = settings_.source + " has no video stream";
        return false;
    }
    range_start_ = input_.start_seconds() + settings_.start_seconds;
    double source_seconds = input_.format()->duration > 0
                                ? static_cast<double>(input_.format()->duration) / AV_TIME_BASE
                                : 0.0;
    expected_seconds_ = settings_.duration_seconds > 0 ? settings_.duration_seconds
                                                       : std::max(source_seconds - settings_.start_seconds, 1.0);
    audio_done_ = !input_.audio_stream();

    // Sound often starts before the first picture (a cut recording, video
    // that starts late, a seek that lands behind the start): both streams
    // start together at the first picture, and the sound before it is cut.
    std::deque<DecodedFrame> ahead;
    if (!read_to_first_picture(ahead)) {
        if (progress_.stop_requested)
            return true;
        *error = "no pictures in the range to convert of " + settings_.source;
        return false;
    }
    const double first_picture =
        timestamp_seconds(ahead.back().frame->pts, input_.video_stream()->time_base);
    cut_start_ = std::isnan(first_picture) ? range_start_ : std::max(range_start_, first_picture);
    cut_end_ = settings_.duration_seconds > 0 ? range_start_ + settings_.duration_seconds : 0.0;
    if (cut_end_ > 0 && cut_end_ <= cut_start_) {
        *error = "no pictures in the range to convert of " + settings_.source;
        return false;
    }
    for (; !ahead.empty(); ahead.pop_front())
        if (!convert(ahead.front(), error))
            return false;

    DecodedFrame decoded;
    while (!progress_.stop_requested && !finished_reading() && input_.next_frame(decoded))
        if (!convert(decoded, error))
            return false;
    if (!progress_.stop_requested) {
        // End of input: let the filters hand out what they still hold.
        if (video_filters_.is_open() && !video_done_) {
            close_pictures();
            drain_video();
        }
        if (audio_filters_.is_open() && !audio_done_) {
            audio_filters_.push(nullptr);
            drain_audio();
        }
    }
    if (!writer_open_) {
        if (progress_.stop_requested)
            return true; // stopped before the first picture: nothing written
        *error = "no pictures in the range to convert of " + settings_.source;
        return false;
    }
    if (!writer_thread_->drain()) {
        *error = writer_.error();
        return false;
    }
    // A source without sound in the range still gets a sound track.
    if (!sound_written_ && !writer_.write_silence_to_video_end()) {
        *error = writer_.error();
        return false;
    }
    if (!writer_.finish()) {
        *error = writer_.error();
        return false;
    }
    report_progress();
    if (!progress_.stop_requested && pass_ != DvdVideoFormat::Pass::First)
        progress_.percent_done = 100;
    return true;
}

// Reads the decoded frames up to and including the first picture. When a
// seek landed after the asked start, seeks further back and reads again.
bool ClipEncoder::read_to_first_picture(std::deque<DecodedFrame> &ahead)
{
    const AVStream *video = input_.video_stream();
    const double one_frame = video->avg_frame_rate.num > 0 ? av_q2d(av_inv_q(video->avg_frame_rate)) : 0.04;
    for (double back = 0;; back = back == 0 ? 1 : back * 2) {
        const double target = std::max(0.0, settings_.start_seconds - back);
        if (settings_.start_seconds > 0)
            input_.seek(target);
        ahead.clear();
        DecodedFrame decoded;
        while (!progress_.stop_requested && input_.next_frame(decoded)) {
            const bool picture = decoded.kind == MediaKind::Video;
            ahead.push_back(std::move(decoded));
            if (picture || ahead.size() >= kMostFramesAhead)
                break;
        }
        if (ahead.empty() || ahead.back().kind != MediaKind::Video)
            return false;
        const double first = timestamp_seconds(ahead.back().frame->pts, video->time_base);
        const bool landed_late = first > range_start_ + one_frame;
        if (!landed_late || target <= 0 || back >= kLongestSeekBack)
            return true;
    }
}

bool ClipEncoder::convert(DecodedFrame &decoded, std::string *error)
{
    if (decoded.kind == MediaKind::Video && !video_done_) {
        if (!video_filters_.is_open() && !open_video(decoded.frame.get(), error))
            return false;
        if (!push_picture(decoded.frame.get()) || !drain_video()) {
            *error = writer_.error().empty() ? "the picture filters failed" : writer_.error();
            return false;
        }
    } else if (decoded.kind == MediaKind::Audio && !audio_done_) {
        if (!audio_filters_.is_open() && !open_audio(decoded.frame.get(), error))
            return false;
        if (!audio_filters_.push(decoded.frame.get()) || !drain_audio()) {
            *error = writer_.error().empty() ? "the sound filters failed" : writer_.error();
            return false;
        }
    }
    return true;
}

bool ClipEncoder::finished_reading() const
{
    return video_done_ && audio_done_;
}

bool ClipEncoder::open_video(const AVFrame *first, std::string *error)
{
    const AVCodecParameters *parameters = input_.video_stream()->codecpar;
    const int rotation = display_rotation(input_.video_stream());
    bool interlaced = source_is_interlaced(first, parameters);
    bool scaled_vertically = settings_.picture_height != first->height;
    // Asked for, deinterlacing also applies to sources that do not flag their
    // fields (many camera recordings); scaling lines of an interlaced picture
    // would mix its fields, so that is never done, nor is turning it.
    bool deinterlace = settings_.deinterlace || (interlaced && (scaled_vertically || rotation != 0));
    bool keep_fields = interlaced && !deinterlace;

    AVRational rate = dvd_frame_rate(settings_.ntsc);
    std::string chain = "null";
    if (deinterlace)
        chain += ",yadif=mode=send_frame:parity=auto:deint=all";
    // Upright before scaling: the picture size is that of the shown picture.
    if (rotation != 0)
        chain += "," + rotation_filters(rotation);
    chain += ",fps=fps=" + std::to_string(rate.num) + "/" + std::to_string(rate.den);
    chain += ",scale=" + std::to_string(settings_.picture_width) + ":" + std::to_string(settings_.picture_height) +
             ":flags=" + (settings_.quality == kFastestQuality ? "fast_bilinear" : "bicubic") +
             (keep_fields ? ":interl=1" : "");
    int pad_x = ((settings_.frame_width - settings_.picture_width) / 2) & ~1;
    int pad_y = ((settings_.frame_height - settings_.picture_height) / 2) & ~1;
    chain += ",pad=" + std::to_string(settings_.frame_width) + ":" + std::to_string(settings_.frame_height) + ":" +
             std::to_string(pad_x) + ":" + std::to_string(pad_y) + ":black";
    chain += ",format=yuv420p";
    const AVStream *video = input_.video_stream();
    source_time_base_ = video->time_base;
    cut_start_ts_ = std::llround(cut_start_ / av_q2d(source_time_base_));
    if (cut_end_ > 0)
        cut_length_ts_ = std::llround(cut_end_ / av_q2d(source_time_base_)) - cut_start_ts_;
    const AVRational source_rate = video->avg_frame_rate.num > 0 ? video->avg_frame_rate : video->r_frame_rate;
    picture_duration_ts_ =
        source_rate.num > 0 ? std::max<int64_t>(1, av_rescale_q(1, av_inv_q(source_rate), source_time_base_)) : 1;
    if (!video_filters_.open_video(first, source_time_base_, first->sample_aspect_ratio, chain, error))
        return false;

    DvdVideoFormat format;
    format.ntsc = settings_.ntsc;
    format.width = settings_.frame_width;
    format.height = settings_.frame_height;
    format.display_aspect = settings_.display_aspect;
    format.video_kbps = settings_.video_kbps;
    format.audio_kbps = settings_.audio_kbps;
    format.effort = settings_.quality;
    format.interlaced = keep_fields;
    format.top_field_first = source_is_top_field_first(first, parameters);
    format.pass = pass_;
    format.first_pass_stats = first_pass_stats_;
    if (!writer_.open(settings_.output, format, error))
        return false;
    video_time_base_ = writer_.video_time_base();
    writer_thread_ = std::make_unique<DvdWriterThread>(writer_, [this] { report_progress(); });
    writer_open_ = true;
    // Sound decoded before the first picture waits in its filters until now.
    return drain_audio();
}

bool ClipEncoder::open_audio(const AVFrame *first, std::string *error)
{
    std::string chain = trim_filters(cut_start_, cut_end_);
    if (settings_.audio_delay_ms > 0)
        chain += ",adelay=delays=" + std::to_string(settings_.audio_delay_ms) + ":all=1";
    // Surround is folded down to stereo with a matrix scaled so that no sum
    // of full-scale channels can exceed full scale: a normalised downmix
    // that never clips.
    chain += ",aresample=48000:rematrix_maxval=1,aformat=sample_fmts=fltp:sample_rates=48000:channel_layouts=stereo"
             ",asetnsamples=n=" + std::to_string(writer_.audio_frame_samples()) + ":p=1";
    return audio_filters_.open_audio(first, input_.audio_stream()->time_base, chain, error);
}

// Pictures before the range are dropped; the first one at or past its end
// ends the filters' input there.
bool ClipEncoder::push_picture(AVFrame *picture)
{
    if (pictures_closed_)
        return true;
    const int64_t pts = picture->pts == AV_NOPTS_VALUE ? pictures_end_ts_ : picture->pts - cut_start_ts_;
    if (pts < 0)
        return true;
    if (pts >= cut_length_ts_) {
        pictures_end_ts_ = cut_length_ts_;
        return close_pictures();
    }
    const int64_t duration = picture->pkt_duration > 0 ? picture->pkt_duration : picture_duration_ts_;
    pictures_end_ts_ = std::max(pictures_end_ts_, std::min(pts + duration, cut_length_ts_));
    picture->pts = pts;
    return video_filters_.push(picture);
}

bool ClipEncoder::close_pictures()
{
    if (pictures_closed_)
        return true;
    pictures_closed_ = true;
    return video_filters_.close(pictures_end_ts_);
}

bool ClipEncoder::drain_video()
{
    FramePtr picture;
    for (;;) {
        FilterChain::Pull state = video_filters_.pull(picture);
        if (state == FilterChain::Pull::NeedInput)
            return true;
        if (state == FilterChain::Pull::Finished) {
            video_done_ = true;
            return true;
        }
        picture->pts = av_rescale_q(picture->pts, video_filters_.output_time_base(), video_time_base_);
        if (!writer_thread_->write_video(std::move(picture)))
            return false;
    }
}

bool ClipEncoder::drain_audio()
{
    if (!writer_open_ || !audio_filters_.is_open())
        return true;
    FramePtr sound;
    for (;;) {
        FilterChain::Pull state = audio_filters_.pull(sound);
        if (state == FilterChain::Pull::NeedInput)
            return true;
        if (state == FilterChain::Pull::Finished) {
            audio_done_ = true;
            return true;
        }
        sound->pts = av_rescale_q(sound->pts, audio_filters_.output_time_base(), AVRational{1, 48000});
        if (!writer_thread_->write_audio(std::move(sound)))
            return false;
        sound_written_ = true;
    }
}

double ClipEncoder::seconds_coded() const
{
    AVRational rate = dvd_frame_rate(settings_.ntsc);
    return static_cast<double>(writer_.video_frames()) * rate.den / rate.num;
}

void ClipEncoder::report_progress()
{
    int64_t frames = writer_.video_frames();
    double seconds = progress_base_seconds_ + seconds_coded() * progress_share_;
    double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    progress_.current_frame = static_cast<int32_t>(frames);
    progress_.seconds_done = static_cast<int32_t>(seconds);
    progress_.frames_per_second = elapsed > 0 ? static_cast<int32_t>(frames / elapsed) : 0;
    progress_.percent_done = static_cast<int32_t>(std::min(99.0, seconds * 100.0 / expected_seconds_));
}

} // namespace

bool encode_clip(const ClipEncodeSettings &settings, ConversionProgress &progress, std::string *error)
{
    if (settings.quality != kBestQuality) {
        ClipEncoder encoder(settings, progress);
        return encoder.run(error);
    }
    // The best pictures take two passes: the second spends the bits where
    // the first found the pictures needing them. A rate the pictures cannot
    // get down to is coded in one pass, as closely as the coarsest steps allow.
    ClipEncoder first(settings, progress, DvdVideoFormat::Pass::First);
    first.share_progress(0, 0.5);
    if (!first.run(error))
        return false;
    if (progress.stop_requested)
        return true;
    const bool two_passes = first.second_pass_reaches_rate();
    ClipEncoder second(settings, progress, two_passes ? DvdVideoFormat::Pass::Second : DvdVideoFormat::Pass::Only,
                       two_passes ? first.first_pass_stats() : std::string());
    second.share_progress(first.seconds_coded() * 0.5, 0.5);
    return second.run(error);
}

} // namespace corvane
