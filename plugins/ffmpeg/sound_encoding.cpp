// Sound in "ffmpeg.encoder": signed 16-bit interleaved PCM to MPEG-1 Layer
// II or III or AAC, one codec frame at a time, with time-stamp gaps filled
// with silence and overlaps trimmed.
#include "plugins/common/plugin_errors.h"
#include "plugins/ffmpeg/encoder_node.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <cmath>
#include <cstring>

namespace ffplug {

namespace {

using plugins::fail;

// The library's channel for one of our channel ids (the first of two
// candidates the layout may have), or AV_CHAN_NONE.
bool channelMatches(const std::string &id, AVChannel c)
{
    return (id == "left" && c == AV_CHAN_FRONT_LEFT) || (id == "right" && c == AV_CHAN_FRONT_RIGHT) ||
           (id == "center" && c == AV_CHAN_FRONT_CENTER) || (id == "lowfreq" && c == AV_CHAN_LOW_FREQUENCY) ||
           (id == "leftsurround" && (c == AV_CHAN_SIDE_LEFT || c == AV_CHAN_BACK_LEFT)) ||
           (id == "rightsurround" && (c == AV_CHAN_SIDE_RIGHT || c == AV_CHAN_BACK_RIGHT));
}

std::vector<std::string> channelIdsOf(zif_object *in)
{
    std::vector<std::string> ids;
    zif_object *list = zif_tableGet(in, "channelids");
    bool listed = list && zif_objectGetType(list) == ZIF_TYPE_LIST;
    for (zif_list_link *at = listed ? zif_listBegin(list) : nullptr; listed && at != zif_listEnd(list);) {
        zif_object *s = zif_listNext(list, &at);
        ids.emplace_back(s && zif_objectGetType(s) == ZIF_TYPE_STRING ? zif_stringGetValue(s) : "");
        zif_release(s);
    }
    zif_release(list);
    return ids;
}

AVSampleFormat sampleFormatFor(const AVCodec *codec)
{
    if (!codec->sample_fmts)
        return AV_SAMPLE_FMT_S16;
    for (AVSampleFormat wanted : {AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_S16P, AV_SAMPLE_FMT_FLTP})
        for (const AVSampleFormat *f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
            if (*f == wanted)
                return wanted;
    return codec->sample_fmts[0];
}

bool soundSetUp(zif_object *node, EncoderNode *e, zif_object *in)
{
    zif_object *d = e->outputDescription;
    int64_t bitrate = zif_tableGetInt(d, "bitrate", 0);
    bitrate = bitrate < 1 ? 256000 : bitrate;
    bool vbr = zif_tableGetInt(d, "vbr", 1) != 0;
    auto rate = static_cast<int>(zif_tableGetDouble(in, "samplerate", 0));
    auto channels = static_cast<int>(zif_tableGetInt(in, "channels", 0));
    if (rate < 1 || channels < 1 || channels > 8)
        return fail(node, plugins::kErrPlaneSize);
    AVCodecContext *c = e->codec = avcodec_alloc_context3(e->entry->codec);
    if (!c)
        return fail(node, plugins::kErrNoMemory);
    c->codec_type = AVMEDIA_TYPE_AUDIO;
    c->sample_rate = rate;
    av_channel_layout_default(&c->ch_layout, channels);
    c->bit_rate = bitrate;
    c->sample_fmt = sampleFormatFor(e->entry->codec);
    if (!vbr)
        c->rc_min_rate = c->rc_max_rate = bitrate;
    c->time_base = AVRational{1, rate};
    if (avcodec_open2(c, e->entry->codec, nullptr) < 0)
        return fail(node, plugins::kErrCodecOpen);

    std::vector<std::string> ids = channelIdsOf(in);
    e->channelMap.assign(static_cast<size_t>(channels), 0);
    for (int i = 0; i < channels; ++i) {
        AVChannel ch = av_channel_layout_channel_from_index(&c->ch_layout, static_cast<unsigned>(i));
        int source = i;
        for (size_t k = 0; k < ids.size() && k < static_cast<size_t>(channels); ++k)
            if (channelMatches(ids[k], ch))
                source = static_cast<int>(k);
        e->channelMap[static_cast<size_t>(i)] = source;
    }
    if (c->sample_fmt != AV_SAMPLE_FMT_S16 &&
        (swr_alloc_set_opts2(&e->resampler, &c->ch_layout, c->sample_fmt, rate, &c->ch_layout, AV_SAMPLE_FMT_S16,
                             rate, 0, nullptr) < 0 ||
         swr_init(e->resampler) < 0))
        return fail(node, plugins::kErrScalerCreate);
    if (c->frame_size <= 0)
        c->frame_size = 1152;
    e->frame = av_frame_alloc();
    e->packet = av_packet_alloc();
    if (!e->frame || !e->packet)
        return fail(node, plugins::kErrNoMemory);
    e->frame->nb_samples = c->frame_size;
    e->frame->format = c->sample_fmt;
    e->frame->sample_rate = rate;
    if (av_channel_layout_copy(&e->frame->ch_layout, &c->ch_layout) < 0 || av_frame_get_buffer(e->frame, 0) < 0)
        return fail(node, plugins::kErrNoMemory);
    e->sound.setChannels(channels);
    return true;
}

// Adds one input block at its time: an overlap with what came before beyond
// the tolerance is cut off, a gap beyond it becomes silence.
void soundAdd(EncoderNode *e, zif_object *in, const uint8_t *bytes, int32_t size)
{
    int rate = e->codec->sample_rate, channels = e->codec->ch_layout.nb_channels;
    int64_t frames = size / (channels * 2);
    int64_t position = e->expectedPosition;
    if (zif_object *t = zif_tableGet(in, "presentationtime")) {
        zif_object *f = zif_objectGetType(t) == ZIF_TYPE_FRACT ? zif_numberGetFractValue(t, nullptr) : nullptr;
        if (f) {
            // Exact: (n + num / den) * rate.
            int64_t den = zif_fractGetDenominator(f);
            position = zif_fractGetIntegralPart(f) * rate + (den > 0 ? zif_fractGetNumerator(f) * rate / den : 0);
        } else {
            position = std::llround(zif_numberGetDoubleValue(t, 0) * rate);
        }
        zif_release(f);
        zif_release(t);
    }
    int64_t tolerance = rate / 16, skip = 0;
    if (!e->positioned) {
        e->expectedPosition = e->encodedPosition = position;
        e->positioned = true;
    } else if (position < e->expectedPosition - tolerance) {
        skip = std::min(frames, e->expectedPosition - position);
    } else if (position > e->expectedPosition + tolerance) {
        e->sound.addSilence(position - e->expectedPosition);
        e->expectedPosition = position;
    }
    const auto *samples = reinterpret_cast<const int16_t *>(bytes);
    e->sound.add(samples + skip * channels, frames - skip);
    e->expectedPosition += frames - skip;
}

bool encodeFrame(zif_object *node, EncoderNode *e)
{
    AVCodecContext *c = e->codec;
    int channels = c->ch_layout.nb_channels, n = c->frame_size;
    e->sound.take(n, &e->frameSamples);
    std::vector<int16_t> ordered(e->frameSamples.size());
    for (int i = 0; i < n; ++i)
        for (int ch = 0; ch < channels; ++ch)
            ordered[static_cast<size_t>(i * channels + ch)] =
                e->frameSamples[static_cast<size_t>(i * channels + e->channelMap[static_cast<size_t>(ch)])];
    AVFrame *f = e->frame;
    if (av_frame_make_writable(f) < 0)
        return fail(node, plugins::kErrNoMemory);
    if (e->resampler) {
        const auto *from = reinterpret_cast<const uint8_t *>(ordered.data());
        if (swr_convert(e->resampler, f->extended_data, n, &from, n) != n)
            return fail(node, plugins::kErrConversion);
    } else {
        std::memcpy(f->data[0], ordered.data(), ordered.size() * sizeof(int16_t));
    }
    f->pts = e->encodedPosition;
    plugins::MediaTime time = plugins::MediaTime::of(e->encodedPosition, c->sample_rate);
    e->encodedPosition += n;
    int queued = 0;
    return encoderSend(node, e, f, &queued, time, true);
}

}  // namespace

int32_t encoderSoundWork(zif_object *node)
{
    EncoderNode *e = encoderOf(node);
    if (!e->inQueue || !e->outQueue || zif_listGetEntryCount(e->outQueue) > 0 || e->ended)
        return zif_nodeSetFinishedForNow(node, e->ended);
    bool end = false;
    while (!end && (!e->codec || e->sound.frames() < e->codec->frame_size) && zif_listGetEntryCount(e->inQueue) > 0) {
        zif_object *in = zif_listRemoveFirst(e->inQueue);
        end = zif_tableGetInt(in, "endofstream", 0) != 0;
        const uint8_t *bytes = nullptr;
        int32_t size = 0;
        bool ok = true;
        if (zif_tableGetData(in, "data", &bytes, &size, nullptr, 0) && bytes && size > 0) {
            ok = e->codec || soundSetUp(node, e, in);
            if (ok)
                soundAdd(e, in, bytes, size);
        }
        zif_release(in);
        if (!ok)
            return 0;
    }
    while (e->codec && (e->sound.frames() >= e->codec->frame_size || (end && e->sound.frames() > 0)))
        if (!encodeFrame(node, e))
            return 0;
    if (end) {
        int queued = 0;
        if ((e->codec && !encoderSend(node, e, nullptr, &queued, {}, false)) || !encoderQueueMarker(e, true))
            return 0;
        e->ended = true;
    }
    return zif_nodeSetFinishedForNow(node, e->ended);
}

}  // namespace ffplug
