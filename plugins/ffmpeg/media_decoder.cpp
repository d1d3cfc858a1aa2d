#include "plugins/ffmpeg/media_decoder.h"
#include "plugins/common/decode_request.h"
#include "plugins/common/decoder_node.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/common/plugin_register.h"
#include "plugins/ffmpeg/decoder_stream.h"
#include "plugins/ffmpeg/media_input.h"
#include "plugins/ffmpeg/system_audio_decoder.h"

#include <memory>
#include <string>
#include <vector>

namespace ffplug {

namespace {

struct DecoderNode {
    plugins::DecodeRequest request;
    const AVInputFormat *inputFormat = nullptr;  // found by the probe, reused by every stream
    double duration = 0;
    std::vector<std::unique_ptr<DecoderStream>> streams;
    bool finished = false;
};

DecoderNode *decoderOf(zif_object *node) { return reinterpret_cast<DecoderNode *>(zif_nodeGetUserData(node)); }

void decoderDestroy(zif_object *node) { delete decoderOf(node); }

int32_t outputConnect(zif_object *port, zif_object *connector)
{
    auto *stream = reinterpret_cast<DecoderStream *>(zif_portGetUserData(port));
    zif_object *node = zif_portGetNode(port);
    DecoderNode *d = decoderOf(node);
    zif_release(node);
    return stream->open(connector, d->request.path, d->inputFormat) ? 1 : 0;
}

// Opens the file once to learn its streams and adds a port for each wanted
// video and sound stream; the probe decodes nothing.
bool probe(zif_object *node, DecoderNode *d)
{
    MediaInput input;
    if (!input.open(d->request.path, nullptr))
        return plugins::fail(node, plugins::kErrMediaOpen);
    AVFormatContext *f = input.format();
    d->inputFormat = f->iformat;
    d->duration = f->duration > 0 ? static_cast<double>(f->duration) / AV_TIME_BASE : 0;
    for (unsigned i = 0; i < f->nb_streams; ++i) {
        AVMediaType type = f->streams[i]->codecpar->codec_type;
        bool wanted = (type == AVMEDIA_TYPE_VIDEO && d->request.wantVideo) ||
                      (type == AVMEDIA_TYPE_AUDIO && d->request.wantAudio);
        if (!wanted)
            continue;
        auto stream = std::make_unique<DecoderStream>(static_cast<int>(i), type);
        AVCodecParameters *par = f->streams[i]->codecpar;
        SystemAudioFormat system;
        if (type == AVMEDIA_TYPE_AUDIO && !avcodec_find_decoder(par->codec_id) &&
            systemAudioProbe(d->request.path, static_cast<int>(i), &system)) {
            if (system.sampleRate > 0)
                par->sample_rate = system.sampleRate;
            if (system.channels > 0)
                av_channel_layout_default(&par->ch_layout, system.channels);
        }
        if (!stream->describe(node, f, d->duration))
            return false;
        d->streams.push_back(std::move(stream));
    }
    if (d->streams.empty())
        return plugins::fail(node, plugins::kErrMediaOpen);
    for (const auto &stream : d->streams) {
        const char *name = stream->isVideo() ? "ffmpeg.decoder.video.0" : "ffmpeg.decoder.audio.0";
        if (!plugins::decoderOutputAdd(node, name, stream->description(), reinterpret_cast<intptr_t>(stream.get()),
                                       outputConnect))
            return false;
    }
    return true;
}

int32_t commandConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    DecoderNode *d = decoderOf(node);
    bool ok = plugins::decodeRequestRead(connector, &d->request) && probe(node, d);
    zif_release(node);
    return ok ? 1 : 0;
}

int32_t decoderWork(zif_object *node)
{
    DecoderNode *d = decoderOf(node);
    if (!d->finished) {
        bool busy = false;
        for (const auto &stream : d->streams) {
            // Streams nobody connected do not hold the node back.
            if (stream->opened() && !stream->work(d->request, &busy))
                return 0;
        }
        d->finished = !busy;
    }
    return zif_nodeSetFinishedForNow(node, d->finished);
}

uint64_t decoderCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_object *node = plugins::decoderNodeAdd(graph, "ffmpeg.decoder", decoderDestroy, decoderWork, commandConnect);
    if (!node)
        return 0;
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(new DecoderNode));
    uint64_t id = zif_nodeGetID(node);
    zif_release(node);
    return id;
}

}  // namespace

bool mediaDecoderRegister(zif_context *context)
{
    return plugins::pluginRegister(context, "ffmpeg.decoder", decoderCreate);
}

}  // namespace ffplug
