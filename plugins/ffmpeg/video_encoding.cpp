// Video in "ffmpeg.encoder": 4:2:0 pictures to MPEG-1, MPEG-2 or MPEG-4
// Part 2, with constant or variable bit rate and two-pass statistics.
#include "plugins/common/plugin_errors.h"
#include "plugins/ffmpeg/encoder_node.h"
#include "plugins/ffmpeg/pixel_layout.h"

#include <cmath>
#include <cstring>

namespace ffplug {

namespace {

using plugins::fail;

bool videoSetUp(zif_object *node, EncoderNode *e, zif_object *in)
{
    zif_context *context = zif_objectGetContext(node);
    zif_object *rateValue = zif_tableGet(in, "framerate");
    zif_object *rate = rateValue && zif_objectGetType(rateValue) != ZIF_TYPE_LIST
                           ? zif_numberGetFractValue(rateValue, nullptr)
                           : nullptr;
    zif_release(rateValue);
    if (!rate)
        return fail(node, plugins::kErrMissingEntry);
    int64_t rateNum = zif_fractGetIntegralPart(rate) * zif_fractGetDenominator(rate) + zif_fractGetNumerator(rate);
    int64_t rateDen = zif_fractGetDenominator(rate);
    zif_release(rate);
    if (rateNum <= 0 || rateDen <= 0)
        return fail(node, plugins::kErrPlaneSize);
    double aspect = zif_tableGetDouble(in, "pixelaspectratio", 1.0);
    zif_object *d = e->outputDescription;
    int64_t bitrate = zif_tableGetInt(d, "bitrate", 0);
    bitrate = bitrate < 1 ? 1000000 : bitrate;
    int64_t maxRate = zif_tableGetInt(d, "bitrate.max", 0), minRate = zif_tableGetInt(d, "bitrate.min", 0);
    bool vbr = zif_tableGetInt(d, "vbr", 1) != 0;
    int64_t buffer = zif_tableGetInt(d, "vbvbuffersize", 0);
    int64_t width = zif_tableGetInt(in, "width", 0), height = zif_tableGetInt(in, "height", 0);
    if (width == 0 || height == 0)
        return fail(node, plugins::kErrMissingEntry);
    if (width < 0 || height < 0 || width > 16384 || height > 16384)
        return fail(node, plugins::kErrPlaneSize);
    e->width = static_cast<int>(width);
    e->height = static_cast<int>(height);

    if (e->pass == 1 && !e->log.create(context, e->logUri))
        return false;
    if (e->pass == 2 && !e->log.readAll(context, e->logUri))
        return false;
    auto configure = [&](AVCodecContext *c) {
        c->codec_type = AVMEDIA_TYPE_VIDEO;
        c->pix_fmt = AV_PIX_FMT_YUV420P;
        c->width = e->width;
        c->height = e->height;
        c->bit_rate = bitrate;
        if (vbr) {
            if (buffer > 0) {
                c->rc_buffer_size = static_cast<int>(buffer);
                if (minRate > 0)
                    c->rc_min_rate = minRate;
                if (maxRate > 0)
                    c->rc_max_rate = maxRate;
            }
        } else {
            c->rc_min_rate = c->rc_max_rate = bitrate;
            c->rc_buffer_size = static_cast<int>(buffer > 0 ? buffer : 1638400);
            c->bit_rate_tolerance = 4000000;
            c->qblur = 0.5f;
        }
        if (rateNum > 1000000 || rateDen > 1000000)
            c->time_base = av_d2q(static_cast<double>(rateDen) / static_cast<double>(rateNum), 1000000);
        else
            av_reduce(&c->time_base.num, &c->time_base.den, rateDen, rateNum, INT32_MAX);
        c->framerate = av_inv_q(c->time_base);
        c->sample_aspect_ratio = av_d2q(aspect > 0 ? aspect : 1.0, 255);
        c->gop_size = static_cast<int>(e->gopSize);
        c->max_b_frames = static_cast<int>(zif_tableGetInt(d, "bframes", 0));
        if (std::strcmp(e->entry->format, "mpeg4.video.asp") == 0)
            c->me_range = 1023;
        if (e->pass == 1)
            c->flags |= AV_CODEC_FLAG_PASS1;
        if (e->pass == 2) {
            c->stats_in = const_cast<char *>(e->log.statistics());
            c->flags |= AV_CODEC_FLAG_PASS2;
        }
    };
    // The preferred encoder of the format first; another one of the same
    // format when it refuses the picture (an odd size, say).
    for (const EncoderEntry *candidate : encoderAlternatives(e->entry->format)) {
        avcodec_free_context(&e->codec);
        e->codec = avcodec_alloc_context3(candidate->codec);
        if (!e->codec)
            return fail(node, plugins::kErrNoMemory);
        configure(e->codec);
        if (avcodec_open2(e->codec, candidate->codec, nullptr) >= 0) {
            e->entry = candidate;
            break;
        }
        avcodec_free_context(&e->codec);
    }
    if (!e->codec)
        return fail(node, plugins::kErrCodecOpen);
    e->frame = av_frame_alloc();
    e->packet = av_packet_alloc();
    return (e->frame && e->packet) || fail(node, plugins::kErrNoMemory);
}

bool encodePicture(zif_object *node, EncoderNode *e, zif_object *in)
{
    if (zif_tableGetInt(in, "width", 0) != e->width || zif_tableGetInt(in, "height", 0) != e->height)
        return fail(node, plugins::kErrPlaneSize);
    PlaneRefs planes;
    if (!planesRead(in, AV_PIX_FMT_YUV420P, e->width, e->height, &planes))
        return false;
    if (e->nextFrame < 0) {
        zif_object *t = zif_tableGet(in, "presentationtime");
        double seconds = zif_numberGetDoubleValue(t, 0);
        zif_release(t);
        e->nextFrame = static_cast<int64_t>(std::llround(seconds / av_q2d(e->codec->time_base)));
    }
    AVFrame *f = e->frame;
    av_frame_unref(f);
    f->format = AV_PIX_FMT_YUV420P;
    f->width = e->width;
    f->height = e->height;
    for (int p = 0; p < 3; ++p) {
        // Not reference counted: the library copies what it keeps.
        f->data[p] = const_cast<uint8_t *>(planes.data[p]);
        f->linesize[p] = planes.lineSize[p];
    }
    f->pts = e->nextFrame++;
    int queued = 0;
    bool ok = encoderSend(node, e, f, &queued, {}, false);
    for (int p = 0; p < 3; ++p)
        f->data[p] = nullptr;
    return ok && (queued > 0 || encoderQueueMarker(e, false));
}

}  // namespace

int32_t encoderVideoWork(zif_object *node)
{
    EncoderNode *e = encoderOf(node);
    if (!e->inQueue || !e->outQueue || zif_listGetEntryCount(e->outQueue) > 0 || e->ended)
        return zif_nodeSetFinishedForNow(node, e->ended);
    while (!e->ended && zif_listGetEntryCount(e->inQueue) > 0) {
        zif_object *in = zif_listRemoveFirst(e->inQueue);
        e->ended = zif_tableGetInt(in, "endofstream", 0) != 0;
        bool picture = zif_tableContains(in, "yuv.data.y") && zif_tableContains(in, "yuv.data.u") &&
                       zif_tableContains(in, "yuv.data.v");
        bool ok = !picture || ((e->codec || videoSetUp(node, e, in)) && encodePicture(node, e, in));
        zif_release(in);
        if (!ok)
            return 0;
    }
    if (e->ended) {
        int queued = 0;
        if ((e->codec && !encoderSend(node, e, nullptr, &queued, {}, false)) || !encoderQueueMarker(e, true))
            return 0;
    }
    return zif_nodeSetFinishedForNow(node, e->ended);
}

}  // namespace ffplug
