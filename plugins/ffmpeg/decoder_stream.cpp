#include "plugins/ffmpeg/decoder_stream.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/ffmpeg/pixel_layout.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
}

#include <cstring>
#include <string>

namespace ffplug {

namespace {

using plugins::Channel;
using plugins::MediaTime;

bool isYuv420(int f) { return f == AV_PIX_FMT_YUV420P || f == AV_PIX_FMT_YUVJ420P; }
bool isYuv444(int f) { return f == AV_PIX_FMT_YUV444P || f == AV_PIX_FMT_YUVJ444P; }

// Full-range planar YUV has the same planes as the video-range kind.
bool samePlanes(int a, int b)
{
    return a == b || (isYuv420(a) && isYuv420(b)) || (isYuv444(a) && isYuv444(b));
}

MediaTime frameRateOf(const AVStream *s)
{
    AVRational r = s->avg_frame_rate.num > 0 && s->avg_frame_rate.den > 0 ? s->avg_frame_rate : s->r_frame_rate;
    return r.num > 0 && r.den > 0 ? MediaTime::of(r.num, r.den) : MediaTime{0, 1};
}

// Where a channel of the documented order sits in a decoded frame.
int channelIndex(const AVChannelLayout *layout, Channel c, int position)
{
    static const int kWaveOrder[] = {0, 2, 1, 4, 5, 3};  // FL FR FC LFE SL SR, documented order
    if (layout->nb_channels == 1)
        return 0;
    AVChannel wanted[2] = {AV_CHAN_NONE, AV_CHAN_NONE};
    switch (c) {
    case Channel::Left: wanted[0] = AV_CHAN_FRONT_LEFT; break;
    case Channel::Center: wanted[0] = AV_CHAN_FRONT_CENTER; break;
    case Channel::Right: wanted[0] = AV_CHAN_FRONT_RIGHT; break;
    case Channel::LeftSurround: wanted[0] = AV_CHAN_SIDE_LEFT, wanted[1] = AV_CHAN_BACK_LEFT; break;
    case Channel::RightSurround: wanted[0] = AV_CHAN_SIDE_RIGHT, wanted[1] = AV_CHAN_BACK_RIGHT; break;
    case Channel::LowFrequency: wanted[0] = AV_CHAN_LOW_FREQUENCY; break;
    }
    for (AVChannel ch : wanted) {
        int i = ch == AV_CHAN_NONE ? -1 : av_channel_layout_index_from_channel(layout, ch);
        if (i >= 0)
            return i;
    }
    return layout->nb_channels == 6 ? kWaveOrder[position] : position;
}

}  // namespace

DecoderStream::~DecoderStream()
{
    close();
    zif_release(description_);
}

void DecoderStream::close()
{
    avcodec_free_context(&codec_);
    system_.reset();
    av_packet_free(&packet_);
    av_frame_free(&frame_);
    swr_free(&resampler_);
    input_.close();
    zif_release(queue_);
    queue_ = nullptr;
    stream_ = nullptr;
    endSent_ = started_ = haveNextTime_ = false;
    primingPackets_ = 1;
    picturesToDrop_ = 0;
    startStamp_ = AV_NOPTS_VALUE;
    nextTime_ = {};
    channelSource_.clear();
}

namespace {

void streamDisconnected(zif_object *connector)
{
    auto *stream = reinterpret_cast<DecoderStream *>(zif_portConnectorGetUserData(connector));
    if (stream)
        stream->close();
}

}  // namespace

bool DecoderStream::describe(zif_object *errorObject, const AVFormatContext *probe, double duration)
{
    zif_context *context = zif_objectGetContext(errorObject);
    AVStream *s = probe->streams[index_];
    const AVCodecParameters *par = s->codecpar;
    zif_object *d = zif_newTable(context);
    bool ok = d && (duration <= 0 || zif_tableSetDouble(d, "duration", duration));
    if (ok && isVideo()) {
        int64_t w = par->width, h = par->height;
        AVRational sar = av_guess_sample_aspect_ratio(const_cast<AVFormatContext *>(probe), s, nullptr);
        if (sar.num <= 0 || sar.den <= 0)
            sar = {1, 1};
        MediaTime rate = frameRateOf(s);
        ok = zif_tableSetString(d, "portclass", "data") && zif_tableSetString(d, "mediatype", "video") &&
             zif_tableSetInt(d, "width", w) && zif_tableSetInt(d, "height", h) &&
             (rate.num == 0 || zif_tableSetFract(d, "framerate", 0, rate.num, rate.den)) &&
             zif_tableSetFract(d, "pixelaspectratio", 0, sar.num, sar.den);
        int f = par->format;
        pixelFormat_ = f;
        if (ok && (isYuv420(f) || isYuv444(f))) {
            int64_t ratio = isYuv420(f) ? 2 : 1;
            int64_t chroma = (w + ratio - 1) / ratio;
            ok = zif_tableSetString(d, "format", "yuv.separate") && zif_tableSetInt(d, "yuv.hratio.y", ratio) &&
                 zif_tableSetInt(d, "yuv.vratio.y", ratio);
            for (const char *k : {"yuv.hratio.u", "yuv.hratio.v", "yuv.vratio.u", "yuv.vratio.v"})
                ok = ok && zif_tableSetInt(d, k, 1);
            ok = ok && zif_tableSetInt(d, "yuv.linedelta.y", w) && zif_tableSetInt(d, "yuv.linedelta.u", chroma) &&
                 zif_tableSetInt(d, "yuv.linedelta.v", chroma);
        } else if (ok && (f == AV_PIX_FMT_RGB24 || f == AV_PIX_FMT_BGR24)) {
            bool rgb = f == AV_PIX_FMT_RGB24;
            ok = zif_tableSetString(d, "format", "rgb.interleaved") && zif_tableSetInt(d, "bitsperpixel", 24) &&
                 zif_tableSetInt(d, "linedelta", w * 3) && zif_tableSetInt(d, "rgb.bits.r", 8) &&
                 zif_tableSetInt(d, "rgb.bits.g", 8) && zif_tableSetInt(d, "rgb.bits.b", 8) &&
                 zif_tableSetInt(d, "rgb.offset.r", rgb ? 0 : 16) && zif_tableSetInt(d, "rgb.offset.g", 8) &&
                 zif_tableSetInt(d, "rgb.offset.b", rgb ? 16 : 0);
        } else if (ok) {
            ok = plugins::fail(errorObject, plugins::kErrUnsupported);
        }
    } else if (ok) {
        int channels = par->ch_layout.nb_channels, rate = par->sample_rate;
        zif_object *ids = plugins::channelIdsFor(context, channels);
        ok = zif_tableSetString(d, "mediatype", "audio") && zif_tableSetString(d, "format", "pcm.interleaved") &&
             zif_tableSetInt(d, "pcm.bitspervalue", 16) && zif_tableSetInt(d, "pcm.signed", 1) &&
             (rate == 0 || zif_tableSetInt(d, "samplerate", rate)) && zif_tableSetInt(d, "channels", channels) &&
             (ids ? zif_tableSet(d, "channelids", ids) != 0 : plugins::fail(errorObject, plugins::kErrUnsupported));
        zif_release(ids);
    }
    if (!ok) {
        zif_release(d);
        return false;
    }
    description_ = d;
    return true;
}

bool DecoderStream::open(zif_object *connector, const std::string &path, const AVInputFormat *format)
{
    close();
    queue_ = zif_portConnectorGetQueue(connector);
    zif_portConnectorSetUserData(connector, reinterpret_cast<intptr_t>(this));
    zif_portConnectorSetDisconnectFunc(connector, streamDisconnected);
    if (!input_.open(path, format))
        return plugins::fail(connector, plugins::kErrMediaOpen);
    AVFormatContext *f = input_.format();
    if (index_ >= static_cast<int>(f->nb_streams))
        return plugins::fail(connector, plugins::kErrConversion);
    stream_ = f->streams[index_];
    for (unsigned i = 0; i < f->nb_streams; ++i)
        f->streams[i]->discard = static_cast<int>(i) == index_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVCodec *decoder = avcodec_find_decoder(stream_->codecpar->codec_id);
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (!isVideo() && (!decoder || systemAudioForced())) {
        system_ = SystemAudioDecoder::open(stream_->codecpar);
        if (!system_)
            return plugins::fail(connector, plugins::kErrUnsupported);
        return packet_ && frame_ ? true : plugins::fail(connector, ZIF_ERR_NO_MEMORY);
    }
    if (!decoder)
        return plugins::fail(connector, plugins::kErrUnsupported);
    codec_ = avcodec_alloc_context3(decoder);
    if (!codec_ || !packet_ || !frame_ || avcodec_parameters_to_context(codec_, stream_->codecpar) < 0)
        return plugins::fail(connector, ZIF_ERR_NO_MEMORY);
    codec_->pkt_timebase = stream_->time_base;
    if (avcodec_open2(codec_, decoder, nullptr) < 0) {
        avcodec_free_context(&codec_);
        return plugins::fail(connector, plugins::kErrMediaOpen);
    }
    MediaTime rate = frameRateOf(stream_);
    frameDuration_ = rate.num ? MediaTime::of(rate.den, rate.num) : MediaTime::of(1, 25);
    return true;
}

bool DecoderStream::work(const plugins::DecodeRequest &request, bool *busy)
{
    if (endSent_)
        return true;
    *busy = true;
    if (zif_listGetEntryCount(queue_) > 0)
        return true;
    if (request.hasEnd() && started_ && haveNextTime_ && nextTime_ > request.endTime)
        return finish();
    AVRational tb = stream_->time_base;
    for (;;) {
        int result = av_read_frame(input_.format(), packet_);
        if (result < 0) {
            // End of file, or a read error, which ends the stream the same way:
            // the decoder gives back what it still holds, then the end.
            return decode(nullptr, false) && finish();
        }
        bool decoded = false, ok = true;
        if (packet_->stream_index == index_) {
            if (!started_) {
                bool reached = packet_->pts != AV_NOPTS_VALUE &&
                               static_cast<double>(packet_->pts) * tb.num / tb.den >= request.startTime &&
                               (packet_->flags & AV_PKT_FLAG_KEY);
                started_ = request.startTime <= 0 || reached;
                if (reached && request.startTime > 0)
                    startStamp_ = packet_->pts;
            }
            if (started_ || primingPackets_ > 0) {
                ok = decode(packet_, !started_);
                if (primingPackets_ > 0)
                    --primingPackets_;
                decoded = true;
            }
        }
        av_packet_unref(packet_);
        if (!ok)
            return false;
        if (decoded)
            return true;
    }
}

bool DecoderStream::finish()
{
    endSent_ = true;
    return plugins::queueEndOfStream(queue_, description_);
}

// Sends one packet (null: drains the decoder) and delivers every frame that
// comes out. A packet the decoder rejects as damaged is passed over.
bool DecoderStream::decode(AVPacket *packet, bool skip)
{
    AVRational tb = stream_->time_base;
    if (packet && !skip) {
        int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        bool resync = !isVideo() && packet->pts != AV_NOPTS_VALUE;
        if (stamp != AV_NOPTS_VALUE && (!haveNextTime_ || resync)) {
            nextTime_ = MediaTime::of(stamp * tb.num, tb.den);
            haveNextTime_ = true;
        }
    }
    if (system_)
        return decodeWithSystem(packet, skip);
    int sent = avcodec_send_packet(codec_, packet);
    if (sent == AVERROR(ENOMEM))
        return plugins::fail(description_, ZIF_ERR_NO_MEMORY);
    int frames = 0;
    while (sent >= 0 || sent == AVERROR(EAGAIN)) {
        int got = avcodec_receive_frame(codec_, frame_);
        if (got < 0)
            break;
        ++frames;
        bool ok = true;
        bool early = isVideo() && startStamp_ != AV_NOPTS_VALUE && frame_->best_effort_timestamp != AV_NOPTS_VALUE &&
                     frame_->best_effort_timestamp < startStamp_;
        if (isVideo() && !skip && picturesToDrop_ > 0)
            --picturesToDrop_;  // held back from a packet decoded before the start
        else if (!skip && !early)
            ok = isVideo() ? deliverPicture(frame_) : deliverSound(frame_);
        av_frame_unref(frame_);
        if (!ok)
            return false;
    }
    if (isVideo() && skip && frames == 0)
        ++picturesToDrop_;
    return true;
}

// A packet the system decoder refuses is passed over like a damaged one.
bool DecoderStream::decodeWithSystem(AVPacket *packet, bool skip)
{
    std::vector<int16_t> pcm;
    bool decoded = system_->decode(packet, &pcm);
    int channels = system_->channels();
    if (!decoded || skip || pcm.empty() || channels <= 0)
        return true;
    av_frame_unref(frame_);
    frame_->format = AV_SAMPLE_FMT_S16;
    frame_->sample_rate = system_->sampleRate();
    frame_->nb_samples = static_cast<int>(pcm.size() / static_cast<size_t>(channels));
    av_channel_layout_default(&frame_->ch_layout, channels);
    frame_->data[0] = reinterpret_cast<uint8_t *>(pcm.data());
    frame_->linesize[0] = static_cast<int>(pcm.size() * sizeof(int16_t));
    frame_->extended_data = frame_->data;
    bool ok = deliverSound(frame_);
    frame_->data[0] = nullptr;
    av_frame_unref(frame_);
    return ok;
}

bool DecoderStream::deliverPicture(const AVFrame *frame)
{
    auto format = static_cast<AVPixelFormat>(frame->format);
    PictureShape shape = pictureShape(format, frame->width, frame->height);
    zif_object *sample = nullptr;
    // A picture must keep the layout its port describes.
    bool ok = (shape.planes > 0 && samePlanes(format, pixelFormat_)) || plugins::fail(description_, plugins::kErrUnsupported);
    ok = ok && zif_valueClone(description_, &sample) && zif_tableSetInt(sample, "width", frame->width) &&
         zif_tableSetInt(sample, "height", frame->height) && nextTime_.storeIn(sample, "presentationtime");
    nextTime_ = nextTime_ + frameDuration_;
    haveNextTime_ = true;
    // Planes are copied row by row into top-down planes without padding,
    // whatever the sign and size of the decoder's line steps.
    int64_t lines[3], rows[3];
    for (int p = 0; p < 3; ++p)
        lines[p] = shape.plane[p].rowBytes, rows[p] = shape.plane[p].rows;
    PlaneTargets planes;
    ok = ok && planesAdd(sample, format, frame->width, frame->height, lines, rows, &planes);
    for (int p = 0; ok && p < shape.planes; ++p)
        av_image_copy_plane(planes.data[p], planes.lineSize[p], frame->data[p], frame->linesize[p],
                            static_cast<int>(lines[p]), static_cast<int>(rows[p]));
    ok = ok && zif_listAdd(queue_, sample);
    zif_release(sample);
    return ok;
}

bool DecoderStream::deliverSound(const AVFrame *frame)
{
    int channels = frame->ch_layout.nb_channels;
    const Channel *order = plugins::channelOrder(channels);
    if (!order || frame->sample_rate <= 0)
        return plugins::fail(description_, plugins::kErrUnsupported);
    if (!resampler_) {
        AVChannelLayout layout = frame->ch_layout;  // the layout is kept, only the sample format changes
        if (swr_alloc_set_opts2(&resampler_, &layout, AV_SAMPLE_FMT_S16, frame->sample_rate, &layout,
                                static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr) < 0 ||
            swr_init(resampler_) < 0)
            return plugins::fail(description_, plugins::kErrUnsupported);
        channelSource_.resize(static_cast<size_t>(channels));
        for (int i = 0; i < channels; ++i)
            channelSource_[static_cast<size_t>(i)] = channelIndex(&frame->ch_layout, order[i], i);
    }
    if (static_cast<int>(channelSource_.size()) != channels)
        return plugins::fail(description_, plugins::kErrUnsupported);
    int room = swr_get_out_samples(resampler_, frame->nb_samples);
    std::vector<int16_t> converted(static_cast<size_t>(room > 0 ? room : 0) * static_cast<size_t>(channels));
    auto *out = reinterpret_cast<uint8_t *>(converted.data());
    int count = swr_convert(resampler_, &out, room, const_cast<const uint8_t **>(frame->extended_data), frame->nb_samples);
    if (count < 0)
        return plugins::fail(description_, plugins::kErrConversion);
    if (count == 0)
        return true;
    samples_.resize(static_cast<size_t>(count) * static_cast<size_t>(channels));
    for (int s = 0; s < count; ++s)
        for (int c = 0; c < channels; ++c)
            samples_[static_cast<size_t>(s * channels + c)] =
                converted[static_cast<size_t>(s * channels + channelSource_[static_cast<size_t>(c)])];
    zif_object *sample = nullptr;
    int64_t bytes = static_cast<int64_t>(samples_.size()) * 2;
    bool ok = zif_valueClone(description_, &sample) && nextTime_.storeIn(sample, "presentationtime") &&
              zif_tableSetData(sample, "data", samples_.data(), static_cast<int32_t>(bytes)) &&
              zif_tableSetInt(sample, "samplerate", frame->sample_rate) && zif_tableSetInt(sample, "channels", channels) &&
              zif_listAdd(queue_, sample);
    zif_release(sample);
    nextTime_ = nextTime_ + MediaTime::of(count, frame->sample_rate);
    haveNextTime_ = true;
    return ok;
}

}  // namespace ffplug
