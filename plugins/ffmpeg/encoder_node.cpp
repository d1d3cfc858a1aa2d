#include "plugins/ffmpeg/encoder_node.h"
#include "plugins/common/plugin_errors.h"

#include <cstring>

namespace ffplug {

namespace {

// The 7-byte ADTS header that frames one raw AAC packet of payload bytes, so
// the stream stands on its own without a container.
bool adtsHeader(const AVCodecContext *c, size_t payload, uint8_t header[7])
{
    static const int kRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000, 7350};
    int rateIndex = -1;
    for (int i = 0; i < 13; ++i)
        if (kRates[i] == c->sample_rate)
            rateIndex = i;
    int channels = c->ch_layout.nb_channels;
    size_t length = payload + 7;
    if (rateIndex < 0 || channels < 1 || channels > 7 || length > 0x1FFF)
        return false;
    int profile = c->profile >= 0 ? c->profile : FF_PROFILE_AAC_LOW;  // object type - 1
    header[0] = 0xFF;
    header[1] = 0xF1;  // MPEG-4, layer 0, no CRC
    header[2] = static_cast<uint8_t>((profile & 3) << 6 | rateIndex << 2 | (channels >> 2 & 1));
    header[3] = static_cast<uint8_t>((channels & 3) << 6 | (length >> 11 & 3));
    header[4] = static_cast<uint8_t>(length >> 3 & 0xFF);
    header[5] = static_cast<uint8_t>((length & 7) << 5 | 0x1F);
    header[6] = 0xFC;
    return true;
}

bool queuePacket(zif_object *node, EncoderNode *e, const AVPacket *p, plugins::MediaTime fallback, bool hasFallback)
{
    zif_object *t = nullptr;
    bool ok = zif_valueClone(e->outputDescription, &t) && zif_tableSetInt(t, "endofstream", 0);
    if (ok && e->entry && std::strcmp(e->entry->format, "mpeg4.audio.aac") == 0) {
        std::vector<uint8_t> framed(static_cast<size_t>(p->size) + 7);
        ok = adtsHeader(e->codec, static_cast<size_t>(p->size), framed.data());
        if (ok) {
            std::memcpy(framed.data() + 7, p->data, static_cast<size_t>(p->size));
            ok = zif_tableSetData(t, "data", framed.data(), static_cast<int32_t>(framed.size()));
        } else {
            plugins::fail(node, plugins::kErrConversion);
        }
    } else if (ok) {
        ok = zif_tableSetData(t, "data", p->data, p->size);
    }
    AVRational tb = e->codec->time_base;
    if (ok && p->pts != AV_NOPTS_VALUE)
        ok = plugins::MediaTime::of(p->pts * tb.num, tb.den).storeIn(t, "presentationtime");
    else if (ok && hasFallback)
        ok = fallback.storeIn(t, "presentationtime");
    if (ok && e->entry->video)
        ok = zif_tableSetInt(t, "keyframe", (p->flags & AV_PKT_FLAG_KEY) ? 1 : 0);
    ok = ok && zif_listAdd(e->outQueue, t);
    zif_release(t);
    return ok;
}

}  // namespace

EncoderNode::~EncoderNode()
{
    avcodec_free_context(&codec);
    av_frame_free(&frame);
    av_packet_free(&packet);
    swr_free(&resampler);
    for (zif_object *o : {inQueue, outQueue, outputDescription})
        zif_release(o);
}

EncoderNode *encoderOf(zif_object *node) { return reinterpret_cast<EncoderNode *>(zif_nodeGetUserData(node)); }

bool encoderSend(zif_object *node, EncoderNode *e, AVFrame *frame, int *queued, plugins::MediaTime fallbackTime,
                 bool hasFallback)
{
    int r = avcodec_send_frame(e->codec, frame);
    if (r < 0 && r != AVERROR_EOF)
        return plugins::fail(node, plugins::kErrConversion);
    while ((r = avcodec_receive_packet(e->codec, e->packet)) >= 0) {
        bool ok = (e->pass != 1 || e->log.append(e->codec->stats_out)) &&
                  queuePacket(node, e, e->packet, fallbackTime, hasFallback);
        av_packet_unref(e->packet);
        if (!ok)
            return false;
        ++*queued;
    }
    return r == AVERROR(EAGAIN) || r == AVERROR_EOF || plugins::fail(node, plugins::kErrConversion);
}

bool encoderQueueMarker(EncoderNode *e, bool end)
{
    zif_object *t = nullptr;
    bool ok = zif_valueClone(e->outputDescription, &t) && zif_tableSetInt(t, "endofstream", end ? 1 : 0) &&
              zif_listAdd(e->outQueue, t);
    zif_release(t);
    return ok;
}

}  // namespace ffplug
