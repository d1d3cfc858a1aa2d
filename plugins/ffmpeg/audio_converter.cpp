#include "plugins/ffmpeg/audio_converter.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/ffmpeg/audio_format.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace ffplug {

namespace {

constexpr int kMaxOutputChannels = 16;
constexpr const char *kKind = "ffmpeg.audioconvert";

zif_object *genericDescription(zif_context *context)
{
    zif_object *d = zif_newTable(context);
    bool ok = d && zif_tableSetString(d, "mediatype", "audio") && zif_tableSetString(d, "portclass", "data") &&
              zif_tableSetString(d, "format", "pcm.interleaved");
    if (!ok)
        zif_release(d);
    return ok ? d : nullptr;
}

struct SwrFree {
    void operator()(SwrContext *s) const { swr_free(&s); }
};

// One output channel: the input channels mixed into it and its resampler,
// which keeps the input it has not turned into output yet.
struct ChannelSlot {
    std::vector<ChannelSource> sources;
    std::unique_ptr<SwrContext, SwrFree> resampler;
    std::vector<int16_t> output;
};

struct AudioConverter {
    zif_object *description = nullptr;  // the generic description; output samples start as its clone
    zif_object *target = nullptr;
    zif_object *inQueue = nullptr;
    zif_object *outQueue = nullptr;
    bool configured = false;
    bool ended = false;  // the end of stream went out
    AudioFormat input;
    AudioFormat output;
    RatePair rates;
    std::vector<ChannelSlot> slots;
    std::vector<int16_t> samples;  // the current block as signed 16-bit
    ~AudioConverter()
    {
        for (zif_object *o : {description, target, inQueue, outQueue})
            zif_release(o);
    }
};

AudioConverter *converterOf(zif_object *node) { return reinterpret_cast<AudioConverter *>(zif_nodeGetUserData(node)); }

AudioConverter *converterOfPort(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    AudioConverter *c = converterOf(node);
    zif_release(node);
    return c;
}

void converterDestroy(zif_object *node) { delete converterOf(node); }

bool slotSetUp(zif_object *node, AudioConverter *c, ChannelSlot *slot)
{
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    SwrContext *s = nullptr;
    bool ok = swr_alloc_set_opts2(&s, &mono, AV_SAMPLE_FMT_S16, c->rates.out, &mono, AV_SAMPLE_FMT_S16,
                                  c->rates.in, 0, nullptr) >= 0 &&
              av_opt_set_int(s, "filter_size", 16, 0) >= 0 && av_opt_set_int(s, "phase_shift", 10, 0) >= 0 &&
              av_opt_set_int(s, "linear_interp", 0, 0) >= 0 && av_opt_set_double(s, "cutoff", 1.0, 0) >= 0 &&
              swr_init(s) >= 0;
    slot->resampler.reset(s);
    slot->output.clear();
    return ok || plugins::fail(node, plugins::kErrScalerCreate);
}

bool configure(zif_object *node, AudioConverter *c, const AudioFormat &in)
{
    bool same = c->configured && in.rate == c->input.rate && in.channels == c->input.channels &&
                in.bits == c->input.bits && in.isSigned == c->input.isSigned && in.ids == c->input.ids;
    if (same)
        return true;
    c->configured = false;
    if (!audioChooseOutput(node, c->target, in, &c->output))
        return false;
    if (c->output.channels > kMaxOutputChannels || c->output.channels < 1)
        return plugins::fail(node, plugins::kErrConversion);
    c->input = in;
    c->rates = audioRatePair(c->output.rate, in.rate);
    auto sources = audioChannelSources(in.ids, c->output.ids);
    c->slots.clear();
    c->slots.resize(sources.size());
    for (size_t i = 0; i < sources.size(); ++i) {
        c->slots[i].sources = std::move(sources[i]);
        if (!slotSetUp(node, c, &c->slots[i]))
            return false;
    }
    c->configured = true;
    return true;
}

// Mixes and resamples one block (frames of c->samples; none at the end) into
// every slot's output; with flush the resamplers also give up what they hold.
bool resampleBlock(zif_object *node, AudioConverter *c, int64_t frames, bool flush)
{
    std::vector<int16_t> mono(static_cast<size_t>(frames));
    int64_t produced = -1;
    for (ChannelSlot &slot : c->slots) {
        for (int64_t f = 0; f < frames; ++f) {
            int64_t sum = 0;
            for (const ChannelSource &s : slot.sources)
                sum += static_cast<int64_t>(c->samples[static_cast<size_t>(f * c->input.channels + s.input)]) * s.gain;
            mono[static_cast<size_t>(f)] = static_cast<int16_t>(std::clamp<int64_t>(sum / 16384, -32768, 32767));
        }
        SwrContext *s = slot.resampler.get();
        slot.output.clear();
        auto convert = [&](const int16_t *from, int64_t count) {
            // swr_get_out_samples counts in 64 bits: rate products do not overflow.
            int room = swr_get_out_samples(s, static_cast<int>(count));
            if (room < 0)
                return -1;
            size_t at = slot.output.size();
            slot.output.resize(at + static_cast<size_t>(room) + 16);
            auto *out = reinterpret_cast<uint8_t *>(slot.output.data() + at);
            const auto *in = reinterpret_cast<const uint8_t *>(from);
            int n = swr_convert(s, &out, room + 16, from ? &in : nullptr, static_cast<int>(count));
            slot.output.resize(at + static_cast<size_t>(std::max(n, 0)));
            return n;
        };
        if ((frames > 0 && convert(mono.data(), frames) < 0) || (flush && convert(nullptr, 0) < 0))
            return plugins::fail(node, plugins::kErrConversion);
        auto count = static_cast<int64_t>(slot.output.size());
        if (produced >= 0 && count != produced)
            return plugins::fail(node, plugins::kErrConversion);
        produced = count;
    }
    return true;
}

bool buildOutput(zif_object *node, AudioConverter *c, zif_object *in, bool end, zif_object **out)
{
    size_t produced = c->slots.empty() ? 0 : c->slots[0].output.size();
    std::vector<int16_t> interleaved(produced * c->slots.size());
    for (size_t i = 0; i < produced; ++i)
        for (size_t ch = 0; ch < c->slots.size(); ++ch)
            interleaved[i * c->slots.size() + ch] = c->slots[ch].output[i];
    std::vector<uint8_t> bytes;
    if (!pcmFromS16(interleaved.data(), static_cast<int64_t>(interleaved.size()), c->output.bits,
                    c->output.isSigned != 0, &bytes))
        return plugins::fail(node, plugins::kErrConversion);
    if (bytes.size() > INT32_MAX)
        return plugins::fail(node, plugins::kErrConversion);
    zif_context *context = zif_objectGetContext(node);
    zif_object *t = nullptr, *ids = zif_newList(context);
    for (const std::string &id : c->output.ids) {
        zif_object *s = zif_newString(context, id.c_str());
        if (ids && s)
            zif_listAdd(ids, s);
        zif_release(s);
    }
    double duration = zif_tableGetDouble(in, "duration", -1);
    bool ok = ids && zif_valueClone(c->description, &t) &&
              zif_tableSetData(t, "data", bytes.data(), static_cast<int32_t>(bytes.size())) &&
              zif_tableSetInt(t, "endofstream", end ? 1 : 0) &&
              zif_tableSetDouble(t, "samplerate", c->output.rate) && zif_tableSetInt(t, "channels", c->output.channels) &&
              zif_tableSetInt(t, "pcm.bitspervalue", c->output.bits) &&
              zif_tableSetInt(t, "pcm.signed", c->output.isSigned) && zif_tableSet(t, "channelids", ids) &&
              (duration <= 0 || zif_tableSetDouble(t, "duration", duration)) &&
              (!zif_tableContains(in, "presentationtime") || zif_tableSetFromTable(t, in, "presentationtime"));
    zif_release(ids);
    if (!ok) {
        zif_release(t);
        return false;
    }
    *out = t;
    return true;
}

bool readFormat(zif_object *in, AudioFormat *f)
{
    f->rate = static_cast<int>(zif_tableGetDouble(in, "samplerate", 0));
    f->channels = static_cast<int>(zif_tableGetInt(in, "channels", 0));
    f->bits = static_cast<int>(zif_tableGetInt(in, "pcm.bitspervalue", 0));
    f->isSigned = static_cast<int>(zif_tableGetInt(in, "pcm.signed", -1));
    zif_object *ids = zif_tableGet(in, "channelids");
    f->ids.clear();
    bool listed = ids && zif_objectGetType(ids) == ZIF_TYPE_LIST;
    for (zif_list_link *at = listed ? zif_listBegin(ids) : nullptr; listed && at != zif_listEnd(ids);) {
        zif_object *e = zif_listNext(ids, &at);
        f->ids.emplace_back(e && zif_objectGetType(e) == ZIF_TYPE_STRING ? zif_stringGetValue(e) : "");
        zif_release(e);
    }
    zif_release(ids);
    return f->rate > 0 && f->channels >= 1 && f->bits >= 1 && f->isSigned >= 0 && listed &&
           static_cast<int>(f->ids.size()) == f->channels;
}

// The output for one input sample (*out null to drop it); false fails the work.
bool convertSample(zif_object *node, AudioConverter *c, zif_object *in, zif_object **out)
{
    bool end = zif_tableGetInt(in, "endofstream", 0) == 1;
    AudioFormat format;
    if (!readFormat(in, &format)) {
        // Without a usable format only the end of the stream is passed on,
        // after what the resamplers still hold.
        if (end && c->configured) {
            c->samples.clear();
            return resampleBlock(node, c, 0, true) && buildOutput(node, c, in, true, out);
        }
        if (end) {
            bool ok = zif_valueClone(c->description, out) && zif_tableSetInt(*out, "endofstream", 1);
            return ok;
        }
        return true;
    }
    if (!configure(node, c, format))
        return false;
    const AudioFormat &o = c->output;
    if (o.channels == format.channels && o.rate == format.rate && o.bits == format.bits &&
        o.isSigned == format.isSigned && o.ids == format.ids) {
        *out = zif_addRef(in);
        return true;
    }
    const uint8_t *bytes = nullptr;
    int32_t size = 0;
    bool hasData = zif_tableGetData(in, "data", &bytes, &size, nullptr, 0) != 0;
    if (!hasData && !end)
        return true;
    if (!pcmToS16(bytes, hasData ? size : 0, format.bits, format.isSigned != 0, &c->samples))
        return plugins::fail(node, plugins::kErrConversion);
    int64_t frames = static_cast<int64_t>(c->samples.size()) / format.channels;
    return resampleBlock(node, c, frames, end) && buildOutput(node, c, in, end, out);
}

int32_t converterWork(zif_object *node)
{
    AudioConverter *c = converterOf(node);
    if (!c->inQueue || !c->outQueue || zif_listGetEntryCount(c->outQueue) > 0 || c->ended)
        return zif_nodeSetFinishedForNow(node, c->ended);
    while (!c->ended && zif_listGetEntryCount(c->inQueue) > 0) {
        zif_object *in = zif_listRemoveFirst(c->inQueue);
        c->ended = zif_tableGetInt(in, "endofstream", 0) == 1;
        zif_object *out = nullptr;
        bool ok = convertSample(node, c, in, &out) && (!out || zif_listAdd(c->outQueue, out));
        zif_release(out);
        zif_release(in);
        if (!ok)
            return 0;
    }
    return zif_nodeSetFinishedForNow(node, c->ended) ? 1 : 0;
}

int32_t outputConnect(zif_object *port, zif_object *connector)
{
    AudioConverter *c = converterOfPort(port);
    zif_release(c->outQueue);
    c->outQueue = zif_portConnectorGetQueue(connector);
    if (!c->target)
        c->target = zif_portConnectorGetDescription(connector);
    return c->outQueue ? 1 : 0;
}

int32_t inputConnect(zif_object *port, zif_object *connector)
{
    AudioConverter *c = converterOfPort(port);
    zif_release(c->inQueue);
    c->inQueue = zif_portConnectorGetQueue(connector);
    return c->inQueue && zif_listSetMaxEntryCount(c->inQueue, 4) ? 1 : 0;
}

zif_object *converterCreate(zif_object *graph, zif_object *target)
{
    zif_object *description = genericDescription(zif_objectGetContext(graph));
    zif_object *node = description ? zif_graphAddNewNode(graph, kKind) : nullptr;
    if (!node) {
        zif_release(description);
        return nullptr;
    }
    auto *c = new AudioConverter;
    c->description = description;
    c->target = zif_addRef(target);
    zif_nodeSetName(node, kKind);
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(c));
    zif_nodeSetDestroyFunc(node, converterDestroy);
    zif_nodeSetWorkFunc(node, converterWork);
    zif_object *out = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, "ffmpeg.audioconvert.out");
    zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "ffmpeg.audioconvert.in");
    bool ok = out && in && zif_portSetDescription(out, description) && zif_portSetDescription(in, description) &&
              zif_portSetMinConnections(out, 1) && zif_portSetMaxConnections(out, 1) &&
              zif_portSetMinConnections(in, 1) && zif_portSetMaxConnections(in, 1) &&
              zif_portSetOnConnectFunc(out, outputConnect) && zif_portSetOnConnectFunc(in, inputConnect);
    zif_release(out);
    zif_release(in);
    if (ok)
        return node;
    zif_release(node);
    return nullptr;
}

uint64_t converterDirectCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_object *node = converterCreate(graph, nullptr);
    uint64_t id = node ? zif_nodeGetID(node) : 0;
    zif_release(node);
    return id;
}

bool portOfAudioConverter(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    zif_object *name = node ? zif_nodeGetName(node) : nullptr;
    bool converter = name && std::strcmp(zif_stringGetValue(name), kKind) == 0;
    zif_release(name);
    zif_release(node);
    return converter;
}

// A choice for every sound port with room, either side; never on a
// converter's own ports, where the search would chain converters without end.
int32_t converterAddChoices(zif_object *builder, zif_object *graph)
{
    zif_object *generic = genericDescription(zif_objectGetContext(graph));
    zif_object *ports = generic ? zif_graphNewPortIterator(graph, -1, 0, generic, 2) : nullptr;
    bool ok = ports != nullptr;
    while (zif_object *port = ok ? zif_iteratorNext(ports) : nullptr) {
        zif_object *description = zif_portGetDescription(port);
        zif_object *overlap = nullptr;
        if (!portOfAudioConverter(port) && zif_constraintsMatch(description, generic, &overlap) > ZIF_MATCH_NONE) {
            zif_object *choice = zif_newTable(zif_objectGetContext(graph));
            bool input = zif_portGetType(port) == ZIF_PORT_INPUT;
            ok = choice && zif_tableSetInt(choice, "partnerid", static_cast<int64_t>(zif_portGetID(port))) &&
                 zif_tableSetInt(choice, "porttype", input ? 1 : 0) && zif_tableSet(choice, "overlap", overlap) &&
                 zif_graphAddChoice(graph, builder, choice);
            zif_release(choice);
        }
        zif_release(overlap);
        zif_release(description);
        zif_release(port);
    }
    zif_release(ports);
    zif_release(generic);
    return ok ? 1 : 0;
}

int32_t converterApply(zif_object *, zif_object *graph, zif_object *choice)
{
    bool feedsConsumer = zif_tableGetInt(choice, "porttype", 0) == 1;
    zif_object *overlap = feedsConsumer ? zif_tableGet(choice, "overlap") : nullptr;
    zif_object *node = converterCreate(graph, overlap);
    zif_release(overlap);
    if (!node)
        return 0;
    const char *own = feedsConsumer ? "ffmpeg.audioconvert.out" : "ffmpeg.audioconvert.in";
    uint64_t port = zif_graphFindNodePort(graph, zif_nodeGetID(node), own);
    zif_release(node);
    auto partner = static_cast<uint64_t>(zif_tableGetInt(choice, "partnerid", 0));
    return port ? zif_graphCreateConnection(graph, port, partner) : 0;
}

int32_t converterAddBuilders(zif_object *, zif_object *graph)
{
    zif_object *builder = zif_graphAddNewBuilder(graph, kKind);
    bool ok = builder && zif_graphBuilderSetPriority(builder, 25.0) &&
              zif_graphBuilderSetAddChoicesFunc(builder, converterAddChoices) &&
              zif_graphBuilderSetApplyChoiceFunc(builder, converterApply);
    zif_release(builder);
    return ok ? 1 : 0;
}

}  // namespace

bool audioConverterRegister(zif_context *context)
{
    zif_object *plugin = zif_newPlugin(context, kKind);
    bool ok = plugin && zif_pluginSetDirectCreateNodeFunc(plugin, converterDirectCreate) &&
              zif_pluginSetAddBuildersFunc(plugin, converterAddBuilders);
    zif_release(plugin);
    return ok;
}

}  // namespace ffplug
