#include "engines/converter/dvd_stream_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/cpu.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
}

#include "engines/converter/media_input.h"

namespace corvane {

namespace {

constexpr int kAudioSampleRate = 48000;
// How far a sound frame's timestamp may stray from the end of the sound
// written so far and still continue it: a tenth of a second, in samples.
constexpr int64_t kAudioTimingSlack = kAudioSampleRate / 10;
constexpr int64_t kPeakVideoRate = 9000000;     // bit/s, DVD video maximum
constexpr int kVideoBufferBits = 1835008;       // VBV buffer of MP@ML (224 KiB)
constexpr int kMuxRate = 10080000;              // bit/s, DVD program stream rate
constexpr int kPackSize = 2048;                 // one DVD sector per pack
constexpr int64_t kMuxMaxDelay = 700000;        // microseconds
// A first pass coding more than this share of the target, or with a mean
// quantiser scale this close to the coarsest (31), was held at its coarsest
// steps: the rate is out of reach.
constexpr double kFirstPassOvershoot = 1.05;
constexpr double kFirstPassCoarsestMeanScale = 28.0;

// MPEG-2's default intra weights, in raster order.
constexpr uint16_t kDefaultIntraWeights[64] = {
    8,  16, 19, 22, 26, 27, 29, 34, 16, 16, 22, 24, 27, 29, 34, 37, 19, 22, 26, 27, 29, 34,
    34, 38, 22, 22, 26, 27, 29, 34, 37, 40, 22, 26, 27, 29, 32, 35, 40, 48, 26, 27, 29, 32,
    35, 40, 48, 58, 26, 27, 29, 34, 38, 46, 56, 69, 27, 29, 35, 38, 46, 56, 69, 83};
constexpr uint16_t kDefaultInterWeight = 16;

// The pictures are coded with the default weights made coarser: intra
// weights times 5/4, the flat inter weight times 3/2 (24). On the linear
// quantiser scale (steps 2..62) that reaches intra steps of about 78 and
// inter steps of 93, coarse enough to keep heavy grain and noise within the
// peak rate and the VBV buffer (noise makes predicted pictures as costly as
// intra ones, so the inter weight matters most), while keeping the linear
// scale's even steps at ordinary rates. The non-linear scale reaches as far
// but its uneven steps cost close to 1 dB at the same size on detailed,
// moving pictures. The finest steps are kept by a quantiser floor of 1.5
// (see open_video_encoder).
struct WeightScale {
    int num, den;
};
constexpr WeightScale kIntraWeightScale{5, 4};
constexpr WeightScale kInterWeightScale{3, 2};

// A matrix for AVCodecContext, which frees it: the given weights (or a flat
// weight when there are none) scaled.
uint16_t *coding_matrix(const uint16_t *weights, uint16_t flat_weight, WeightScale scale)
{
    auto *matrix = static_cast<uint16_t *>(av_malloc(64 * sizeof(uint16_t)));
    if (!matrix)
        return nullptr;
    for (int i = 0; i < 64; ++i) {
        int weight = weights ? weights[i] : flat_weight;
        matrix[i] = static_cast<uint16_t>(std::min(255, (weight * scale.num + scale.den / 2) / scale.den));
    }
    return matrix;
}

// The default quality: macroblock modes chosen by their squared error, the
// zero vector always tried, and lone +-1 luma coefficients dropped where a
// block has nothing else (on noise they cost more bits than they add). Against
// the ffmpeg command line's quick decisions at the same size (20-s 720p
// sources on two cores): 0.09 dB more on a talking head, 0.1 on fast motion,
// 0.02 on film grain, in the same time. Choosing the modes by rate-distortion
// instead gives up to 0.4 dB on fast motion but costs 5-10 % more time.
void set_balanced_options(AVDictionary **options)
{
    av_dict_set(options, "mbcmp", "sse", 0);
    av_dict_set(options, "mpv_flags", "+mv0", 0);
    av_dict_set(options, "luma_elim_threshold", "2", 0);
}

// The best quality chooses the macroblock modes by rate-distortion, always
// tries the zero vector, searches a wider diamond that starts from the
// previous picture's vectors (0.3 dB more on fast motion, a little on
// detail), and quantises by trellis (up to 0.3 dB more on detail and motion,
// 0.1 dB less on heavy grain).
void set_best_options(AVDictionary **options)
{
    av_dict_set(options, "mbd", "rd", 0);
    av_dict_set(options, "mpv_flags", "+mv0", 0);
    av_dict_set(options, "dia_size", "2", 0);
    av_dict_set(options, "last_pred", "2", 0);
    av_dict_set(options, "trellis", "1", 0);
}

// The encoder runs on its own thread beside the decoding and filtering. At
// the default and fastest qualities that overlap keeps one or two cores busy
// by itself and slices only add their overhead (2 % more time on two cores);
// with many cores a single-threaded encoder would hold back a fast decoder,
// so it gets a quarter of them. The best quality's coding outweighs the
// decoding: it is sliced over every core.
int video_encoder_threads(int effort)
{
    if (effort == 0)
        return 0; // one slice per core
    return std::max(1, av_cpu_count() / 4);
}

} // namespace

AVRational dvd_frame_rate(bool ntsc)
{
    return ntsc ? AVRational{30000, 1001} : AVRational{25, 1};
}

DvdStreamWriter::~DvdStreamWriter()
{
    if (muxer_) {
        if (muxer_->pb)
            avio_closep(&muxer_->pb);
        avformat_free_context(muxer_);
    }
}

AVRational DvdStreamWriter::video_time_base() const
{
    return video_encoder_ ? video_encoder_->time_base : AVRational{1, 25};
}

int DvdStreamWriter::audio_frame_samples() const
{
    return audio_encoder_ ? audio_encoder_->frame_size : 1536;
}

bool DvdStreamWriter::open(const std::string &path, const DvdVideoFormat &format, std::string *error)
{
    interlaced_ = format.interlaced;
    top_field_first_ = format.top_field_first;
    if (format.pass == DvdVideoFormat::Pass::First) {
        if (!open_video_encoder(format)) {
            *error = error_;
            return false;
        }
        header_written_ = true; // nothing to write, but finish() flushes the encoder
        return true;
    }
    int rc = avformat_alloc_output_context2(&muxer_, nullptr, "dvd", path.c_str());
    if (rc < 0 || !muxer_) {
        *error = "cannot create the DVD muxer: " + av_error_text(rc);
        return false;
    }
    muxer_->packet_size = kPackSize;
    muxer_->max_delay = kMuxMaxDelay;
    av_opt_set_int(muxer_->priv_data, "muxrate", kMuxRate, 0);
    if (!open_video_encoder(format) || !open_audio_encoder(format)) {
        *error = error_;
        return false;
    }
    rc = avio_open(&muxer_->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (rc < 0) {
        *error = "cannot write " + path + ": " + av_error_text(rc);
        return false;
    }
    rc = avformat_write_header(muxer_, nullptr);
    if (rc < 0) {
        *error = "cannot start the program stream: " + av_error_text(rc);
        return false;
    }
    header_written_ = true;
    return true;
}

bool DvdStreamWriter::open_video_encoder(const DvdVideoFormat &format)
{
    const AVCodec *codec = avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
    if (!codec) {
        error_ = "no MPEG-2 video encoder";
        return false;
    }
    video_encoder_.reset(avcodec_alloc_context3(codec));
    AVCodecContext *enc = video_encoder_.get();
    AVRational rate = dvd_frame_rate(format.ntsc);
    enc->width = format.width;
    enc->height = format.height;
    enc->framerate = rate;
    enc->time_base = av_inv_q(rate);
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    av_reduce(&enc->sample_aspect_ratio.num, &enc->sample_aspect_ratio.den,
              static_cast<int64_t>(format.display_aspect.num) * format.height,
              static_cast<int64_t>(format.display_aspect.den) * format.width, 255);
    enc->bit_rate = static_cast<int64_t>(format.video_kbps) * 1000;
    enc->rc_max_rate = kPeakVideoRate;
    enc->rc_min_rate = 0;
    enc->rc_buffer_size = kVideoBufferBits;
    // Open GOPs: the B-pictures that start a GOP also look back at the
    // previous one, worth about 0.2 dB at the same size over closed GOPs.
    // A player that jumps into a GOP (a chapter start) drops those two
    // pictures, as it must; the first GOP of the stream has none.
    enc->gop_size = format.ntsc ? 18 : 15;
    enc->max_b_frames = 2;
    if (format.interlaced) {
        enc->flags |= AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME;
        enc->field_order = format.top_field_first ? AV_FIELD_TT : AV_FIELD_BB;
    } else {
        enc->field_order = AV_FIELD_PROGRESSIVE;
    }
    enc->profile = FF_PROFILE_MPEG2_MAIN;
    enc->level = 8; // Main Level
    enc->color_range = AVCOL_RANGE_MPEG;
    enc->colorspace = format.ntsc ? AVCOL_SPC_SMPTE170M : AVCOL_SPC_BT470BG;
    enc->color_primaries = format.ntsc ? AVCOL_PRI_SMPTE170M : AVCOL_PRI_BT470BG;
    enc->color_trc = format.ntsc ? AVCOL_TRC_SMPTE170M : AVCOL_TRC_GAMMA28;
    enc->thread_count = video_encoder_threads(format.effort);
    if (muxer_ && muxer_->oformat->flags & AVFMT_GLOBALHEADER)
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (format.pass == DvdVideoFormat::Pass::First) {
        enc->flags |= AV_CODEC_FLAG_PASS1;
    } else if (format.pass == DvdVideoFormat::Pass::Second) {
        // The rate control reads the measurements while the encoder opens;
        // the text stays ours.
        first_pass_stats_ = format.first_pass_stats;
        enc->flags |= AV_CODEC_FLAG_PASS2;
        enc->stats_in = first_pass_stats_.data();
    }

    AVDictionary *options = nullptr;
    // GOPs of fixed length: no extra I pictures at cuts. The encoder's
    // scene-cut detection takes every picture of heavy grain or noise for a
    // cut, and I pictures in place of every P picture would push such
    // pictures past the peak rate.
    av_dict_set(&options, "sc_threshold", "1000000000", 0);
    // The finest step: quantiser scale 1.5, an inter step of 4.5 with the
    // inter weight of 24, about the default weights' finest step (4). At
    // the encoder's usual floor of 2 (step 6) easy or slowly changing
    // pictures stop short of the bitrate by up to a tenth; finer still, a
    // talking head spends the bits on its sensor noise for little gain.
    enc->qmin = 1;
    av_dict_set(&options, "lmin", std::to_string(3 * FF_QP2LAMBDA / 2).c_str(), 0);
    enc->intra_matrix = coding_matrix(kDefaultIntraWeights, 0, kIntraWeightScale);
    enc->inter_matrix = coding_matrix(nullptr, kDefaultInterWeight, kInterWeightScale);
    if (!enc->intra_matrix || !enc->inter_matrix) {
        av_dict_free(&options);
        error_ = "out of memory";
        return false;
    }
    // What each quality trades, measured on a talking head, fast motion and
    // film grain against the same pictures coded by a plain MPEG-2 encode:
    switch (format.effort) {
    case 0:
        // Best pictures, and two passes, which spend the bits where the
        // pictures need them.
        set_best_options(&options);
        break;
    case 2:
        // Fastest: quick macroblock decisions and a narrow motion search;
        // fast motion and fine detail cost bits.
        av_dict_set(&options, "me_range", "16", 0);
        break;
    default:
        set_balanced_options(&options);
        break;
    }
    int rc = avcodec_open2(enc, codec, &options);
    av_dict_free(&options);
    enc->stats_in = nullptr;
    if (rc < 0) {
        error_ = "cannot open the MPEG-2 encoder: " + av_error_text(rc);
        return false;
    }
    if (measuring())
        return true;
    video_stream_ = avformat_new_stream(muxer_, nullptr);
    avcodec_parameters_from_context(video_stream_->codecpar, enc);
    video_stream_->time_base = enc->time_base;
    video_stream_->avg_frame_rate = rate;
    // The muxer sizes its video buffer from the encoder's CPB properties.
    for (int i = 0; i < enc->nb_coded_side_data; ++i) {
        const AVPacketSideData &side = enc->coded_side_data[i];
        uint8_t *copy = av_stream_new_side_data(video_stream_, side.type, side.size);
        if (copy)
            std::copy(side.data, side.data + side.size, copy);
    }
    return true;
}

bool DvdStreamWriter::open_audio_encoder(const DvdVideoFormat &format)
{
    const AVCodec *codec = avcodec_find_encoder(AV_CODEC_ID_AC3);
    if (!codec) {
        error_ = "no AC-3 encoder";
        return false;
    }
    audio_encoder_.reset(avcodec_alloc_context3(codec));
    AVCodecContext *enc = audio_encoder_.get();
    enc->sample_fmt = AV_SAMPLE_FMT_FLTP;
    enc->sample_rate = kAudioSampleRate;
    enc->time_base = AVRational{1, kAudioSampleRate};
    av_channel_layout_default(&enc->ch_layout, 2);
    enc->bit_rate = static_cast<int64_t>(format.audio_kbps) * 1000;
    int rc = avcodec_open2(enc, codec, nullptr);
    if (rc < 0) {
        error_ = "cannot open the AC-3 encoder at " + std::to_string(format.audio_kbps) + " kbit/s: " + av_error_text(rc);
        return false;
    }
    audio_stream_ = avformat_new_stream(muxer_, nullptr);
    avcodec_parameters_from_context(audio_stream_->codecpar, enc);
    audio_stream_->time_base = enc->time_base;
    return true;
}

bool DvdStreamWriter::encode(AVCodecContext *encoder, AVStream *stream, AVFrame *frame)
{
    int rc = avcodec_send_frame(encoder, frame);
    if (rc < 0 && rc != AVERROR_EOF) {
        error_ = std::string("encoding failed: ") + av_error_text(rc);
        return false;
    }
    for (;;) {
        rc = avcodec_receive_packet(encoder, packet_.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0) {
            error_ = std::string("encoding failed: ") + av_error_text(rc);
            return false;
        }
        if (measuring()) {
            if (encoder->stats_out)
                first_pass_stats_ += encoder->stats_out;
            first_pass_bytes_ += packet_->size;
            av_packet_unref(packet_.get());
            continue;
        }
        av_packet_rescale_ts(packet_.get(), encoder->time_base, stream->time_base);
        packet_->stream_index = stream->index;
        rc = av_interleaved_write_frame(muxer_, packet_.get());
        if (rc < 0) {
            error_ = std::string("writing the program stream failed: ") + av_error_text(rc);
            return false;
        }
    }
}

bool DvdStreamWriter::write_video(AVFrame *picture)
{
    if (picture->pts == AV_NOPTS_VALUE || picture->pts < next_video_pts_)
        picture->pts = next_video_pts_;
    next_video_pts_ = picture->pts + 1;
    picture->pict_type = AV_PICTURE_TYPE_NONE;
    picture->interlaced_frame = interlaced_;
    picture->top_field_first = top_field_first_;
    return encode(video_encoder_.get(), video_stream_, picture);
}

bool DvdStreamWriter::write_audio(AVFrame *sound)
{
    if (measuring())
        return true;
    // The sound on the disc runs on without gaps. Sources' timestamps
    // wander by a frame or so (a program stream's packets often stamp a
    // frame with the next one's time): within kAudioTimingSlack of the sound
    // written so far, a frame continues it. Sound missing from the source
    // for longer becomes silence, and sound the source repeats or overlaps
    // by more is dropped, so the sound keeps with the pictures.
    if (sound->pts != AV_NOPTS_VALUE) {
        if (next_audio_pts_ - sound->pts > kAudioTimingSlack)
            return true;
        if (sound->pts - next_audio_pts_ > kAudioTimingSlack && !write_silence_until(sound->pts))
            return false;
    }
    sound->pts = next_audio_pts_;
    next_audio_pts_ = sound->pts + sound->nb_samples;
    return encode(audio_encoder_.get(), audio_stream_, sound);
}

bool DvdStreamWriter::write_silence_to_video_end()
{
    if (measuring())
        return true;
    AVRational rate = video_encoder_->framerate;
    return write_silence_until(
        av_rescale(next_video_pts_, static_cast<int64_t>(kAudioSampleRate) * rate.den, rate.num));
}

bool DvdStreamWriter::write_silence_until(int64_t end)
{
    FramePtr silence = make_frame();
    while (next_audio_pts_ < end) {
        av_frame_unref(silence.get());
        silence->format = AV_SAMPLE_FMT_FLTP;
        silence->sample_rate = kAudioSampleRate;
        av_channel_layout_copy(&silence->ch_layout, &audio_encoder_->ch_layout);
        silence->nb_samples = audio_frame_samples();
        if (av_frame_get_buffer(silence.get(), 0) < 0) {
            error_ = "out of memory";
            return false;
        }
        av_samples_set_silence(silence->extended_data, 0, silence->nb_samples, silence->ch_layout.nb_channels,
                               AV_SAMPLE_FMT_FLTP);
        silence->pts = next_audio_pts_;
        next_audio_pts_ += silence->nb_samples;
        if (!encode(audio_encoder_.get(), audio_stream_, silence.get()))
            return false;
    }
    return true;
}

bool DvdStreamWriter::second_pass_reaches(int kbps) const
{
    if (!video_encoder_ || next_video_pts_ == 0)
        return false;
    // Each picture's line holds "q:" and its lambda (quantiser scale times
    // FF_QP2LAMBDA).
    double lambda_sum = 0;
    int pictures = 0;
    for (size_t at = first_pass_stats_.find(" q:"); at != std::string::npos;
         at = first_pass_stats_.find(" q:", at + 3)) {
        lambda_sum += std::atof(first_pass_stats_.c_str() + at + 3);
        ++pictures;
    }
    if (pictures == 0)
        return false;
    const double mean_scale = lambda_sum / pictures / FF_QP2LAMBDA;
    const AVRational rate = video_encoder_->framerate;
    const double target_bytes = static_cast<double>(kbps) * 1000 / 8 * next_video_pts_ * rate.den / rate.num;
    return first_pass_bytes_ <= target_bytes * kFirstPassOvershoot && mean_scale < kFirstPassCoarsestMeanScale;
}

bool DvdStreamWriter::finish()
{
    if (!header_written_ || finished_)
        return finished_;
    finished_ = true;
    if (measuring())
        return encode(video_encoder_.get(), nullptr, nullptr);
    bool ok = encode(video_encoder_.get(), video_stream_, nullptr) && encode(audio_encoder_.get(), audio_stream_, nullptr);
    int rc = av_write_trailer(muxer_);
    if (rc < 0 && ok) {
        error_ = std::string("cannot complete the program stream: ") + av_error_text(rc);
        ok = false;
    }
    rc = avio_closep(&muxer_->pb);
    if (rc < 0 && ok) {
        error_ = std::string("cannot close the output: ") + av_error_text(rc);
        ok = false;
    }
    return ok;
}

} // namespace corvane
