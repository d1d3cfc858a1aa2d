#include "plugins/smde/smde_decoder.h"
#include "plugins/common/decode_request.h"
#include "plugins/common/decoder_node.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/common/plugin_register.h"
#include "plugins/common/stream_samples.h"
#include "plugins/smde/utf16_text.h"

#include <memory>
#include <string>
#include <vector>

namespace smde {

namespace {

constexpr size_t kMaxNameUnits = 1024;
constexpr size_t kMaxExtensionListUnits = 4096;
constexpr int64_t kMaxPictureSide = 16384;

enum PluginError : int32_t {
    kErrDecoder = plugins::kErrMediaOpen,        // 15
    kErrUnsupported = plugins::kErrUnsupported,  // 29
    kErrRead = 34,
};

enum class Kind { Picture = 2, Sound = 1 };

struct DecoderNode;

struct StreamRecord {
    DecoderNode *owner = nullptr;
    Kind kind = Kind::Picture;
    int32_t width = 0, height = 0;
    double frameRate = 0, pixelAspect = 0;
    int32_t sampleRate = 0, channels = 0, bits = 0;
    zif_object *description = nullptr;
    zif_object *queue = nullptr;
    bool ended = false;

    ~StreamRecord()
    {
        zif_release(description);
        zif_release(queue);
    }
};

struct DecoderNode {
    SmdeDecoderType *type = nullptr;
    std::string pluginName;
    plugins::DecodeRequest request;
    SmdeDecoder *instance = nullptr;
    double duration = 0;
    std::vector<std::unique_ptr<StreamRecord>> streams;  // the picture first
    bool finished = false;

    ~DecoderNode()
    {
        streams.clear();
        if (instance && instance->destroy)
            instance->destroy(instance);
    }
};

DecoderNode *decoderOf(zif_object *node) { return reinterpret_cast<DecoderNode *>(zif_nodeGetUserData(node)); }

void decoderDestroy(zif_object *node) { delete decoderOf(node); }

zif_object *pictureDescription(zif_context *context, const StreamRecord &r, double duration)
{
    zif_object *d = zif_newTable(context);
    bool ok = d && zif_tableSetString(d, "mediatype", "video") && zif_tableSetString(d, "portclass", "data") &&
              (duration <= 0 || zif_tableSetDouble(d, "duration", duration)) && zif_tableSetInt(d, "width", r.width) &&
              zif_tableSetInt(d, "height", r.height) &&
              (r.frameRate <= 0 || zif_tableSetDouble(d, "framerate", r.frameRate)) &&
              zif_tableSetDouble(d, "pixelaspectratio", r.pixelAspect) &&
              zif_tableSetString(d, "format", "rgb.interleaved") && zif_tableSetInt(d, "bitsperpixel", 24) &&
              zif_tableSetInt(d, "rgb.bits.r", 8) && zif_tableSetInt(d, "rgb.bits.g", 8) &&
              zif_tableSetInt(d, "rgb.bits.b", 8) && zif_tableSetInt(d, "rgb.offset.r", 0) &&
              zif_tableSetInt(d, "rgb.offset.g", 8) && zif_tableSetInt(d, "rgb.offset.b", 16) &&
              zif_tableSetInt(d, "firstlineoffset", 0);
    if (!ok) {
        zif_release(d);
        return nullptr;
    }
    return d;
}

// The description of sound in a format; null with error 29 for a channel
// count without channel ids. Only 8-bit samples are unsigned.
zif_object *soundDescription(zif_object *errorObject, int32_t sampleRate, int32_t channels, int32_t bits,
                             double duration)
{
    zif_context *context = zif_objectGetContext(errorObject);
    zif_object *ids = nullptr;
    if (channels > 0) {
        ids = channels <= 2 ? plugins::channelIdsFor(context, channels) : nullptr;
        if (!ids) {
            plugins::fail(errorObject, kErrUnsupported);
            return nullptr;
        }
    }
    zif_object *d = zif_newTable(context);
    bool ok = d && zif_tableSetString(d, "portclass", "data") && zif_tableSetString(d, "mediatype", "audio") &&
              (duration <= 0 || zif_tableSetDouble(d, "duration", duration)) &&
              zif_tableSetString(d, "format", "pcm.interleaved") &&
              (bits <= 0 || zif_tableSetInt(d, "pcm.bitspervalue", bits)) &&
              zif_tableSetInt(d, "pcm.signed", bits != 8 ? 1 : 0) &&
              (!ids || (zif_tableSetInt(d, "channels", channels) && zif_tableSet(d, "channelids", ids))) &&
              (sampleRate <= 0 || zif_tableSetInt(d, "samplerate", sampleRate));
    zif_release(ids);
    if (!ok) {
        zif_release(d);
        plugins::fail(errorObject, ZIF_ERR_NO_MEMORY);
        return nullptr;
    }
    return d;
}

// Opens the file through the decoder type and describes what it holds.
bool openFile(zif_object *node, DecoderNode *d)
{
    zif_context *context = zif_objectGetContext(node);
    zif_char16 *path = zif_utf8ToUTF16(context, d->request.path.c_str());
    if (!path)
        return false;
    if (d->type->prepare)
        d->type->prepare(d->type);
    int32_t opened = d->type->open ? d->type->open(d->type, &d->instance, reinterpret_cast<const char16_t *>(path), 1,
                                                   d->request.startTime)
                                   : -1;
    zif_free(context, path);
    if (opened != 0 || !d->instance) {
        d->instance = nullptr;
        return plugins::fail(node, kErrDecoder);
    }
    SmdeDecoder *in = d->instance;
    SmdeInfo info{};
    if (!in->info || in->info(in, &info) != 0)
        return plugins::fail(node, kErrDecoder);
    d->duration = info.duration;
    if (info.flags & kSmdeHasPicture) {
        auto r = std::make_unique<StreamRecord>();
        r->kind = Kind::Picture;
        if (!in->videoFormat || in->videoFormat(in, &r->width, &r->height, &r->frameRate, &r->pixelAspect) != 0 ||
            !in->pixelFormat || in->pixelFormat(in) != kSmdePixelRgb24 || r->width <= 0 || r->height <= 0 ||
            r->width > kMaxPictureSide || r->height > kMaxPictureSide)
            return plugins::fail(node, kErrDecoder);
        r->description = pictureDescription(context, *r, d->duration);
        if (!r->description)
            return plugins::fail(node, ZIF_ERR_NO_MEMORY);
        d->streams.push_back(std::move(r));
    }
    if (info.flags & kSmdeHasSound) {
        auto r = std::make_unique<StreamRecord>();
        r->kind = Kind::Sound;
        if (!in->audioFormat || in->audioFormat(in, &r->sampleRate, &r->channels, &r->bits) != 0)
            return plugins::fail(node, kErrDecoder);
        r->description = soundDescription(node, r->sampleRate, r->channels, r->bits, d->duration);
        if (!r->description)
            return false;
        d->streams.push_back(std::move(r));
    }
    for (const auto &r : d->streams)
        r->owner = d;
    return true;
}

void streamDisconnected(zif_object *connector)
{
    auto *r = reinterpret_cast<StreamRecord *>(zif_portConnectorGetUserData(connector));
    if (r) {
        zif_release(r->queue);
        r->queue = nullptr;
    }
}

int32_t outputConnect(zif_object *port, zif_object *connector)
{
    auto *r = reinterpret_cast<StreamRecord *>(zif_portGetUserData(port));
    zif_release(r->queue);
    r->queue = zif_portConnectorGetQueue(connector);
    zif_portConnectorSetUserData(connector, reinterpret_cast<intptr_t>(r));
    zif_portConnectorSetDisconnectFunc(connector, streamDisconnected);
    return r->queue ? 1 : 0;
}

// Queues a sample filled from a block of the library once the block is
// released: a block that was unusable or not released is a read error, a
// failed fill is a lack of memory.
bool queueFilled(StreamRecord *r, zif_object *sample, bool readable, bool filled)
{
    if (!readable || !filled) {
        zif_release(sample);
        return plugins::fail(r->description, readable ? ZIF_ERR_NO_MEMORY : kErrRead);
    }
    bool queued = zif_listAdd(r->queue, sample);
    zif_release(sample);
    return queued || plugins::fail(r->description, ZIF_ERR_NO_MEMORY);
}

// One picture: its time, then its bytes while it is locked.
bool readPicture(StreamRecord *r)
{
    SmdeDecoder *in = r->owner->instance;
    int32_t next = in->nextPicture(in);
    if (next == kSmdeEndOfStream) {
        r->ended = true;
        return true;
    }
    if (next != 0)
        return plugins::fail(r->description, kErrRead);
    double time = in->pictureTime(in);
    if (r->owner->request.hasEnd() && time > r->owner->request.endTime) {
        r->ended = true;
        return true;
    }
    const uint8_t *data = nullptr;
    int32_t lineLength = 0;
    if (in->lockPicture(in, &data, &lineLength) != 0)
        return plugins::fail(r->description, kErrRead);
    // The lines must hold the picture's pixels and fit one sample.
    int64_t bytes = static_cast<int64_t>(lineLength) * r->height;
    bool usable = data && lineLength >= static_cast<int64_t>(r->width) * 3 && bytes <= INT32_MAX;
    zif_object *sample = nullptr;
    bool ok = usable && zif_valueClone(r->description, &sample) &&
              zif_tableSetData(sample, "data", data, static_cast<int32_t>(bytes)) &&
              zif_tableSetDouble(sample, "presentationtime", time) &&
              zif_tableSetDouble(sample, "linedelta", static_cast<double>(lineLength));
    bool released = in->releasePicture(in) == 0;
    return queueFilled(r, sample, usable && released, ok);
}

// One sound block, described by its own format so that a change of format
// travels with the data.
bool readSound(StreamRecord *r)
{
    SmdeDecoder *in = r->owner->instance;
    int32_t next = in->nextSoundBlock(in);
    if (next == kSmdeEndOfStream) {
        r->ended = true;
        return true;
    }
    if (next != 0)
        return plugins::fail(r->description, kErrRead);
    double time = in->soundBlockTime(in);
    if (r->owner->request.hasEnd() && time > r->owner->request.endTime) {
        r->ended = true;
        return true;
    }
    int32_t rate = 0, channels = 0, bits = 0;
    if (in->soundBlockFormat(in, &rate, &channels, &bits) != 0)
        return plugins::fail(r->description, kErrRead);
    zif_object *sample = soundDescription(r->description, rate, channels, bits, r->owner->duration);
    if (!sample)
        return false;
    const uint8_t *data = nullptr;
    int32_t size = 0;
    if (in->lockSoundBlock(in, &data, &size) != 0) {
        zif_release(sample);
        return plugins::fail(r->description, kErrRead);
    }
    bool usable = size >= 0 && (data || size == 0);
    bool ok = usable && zif_tableSetData(sample, "data", data, size) &&
              zif_tableSetDouble(sample, "presentationtime", time);
    bool released = in->releaseSoundBlock(in) == 0;
    return queueFilled(r, sample, usable && released, ok);
}

int32_t decoderWork(zif_object *node)
{
    DecoderNode *d = decoderOf(node);
    if (!d->finished) {
        bool allDone = true;
        for (const auto &stream : d->streams) {
            StreamRecord *r = stream.get();
            if (!r->queue || r->ended)
                continue;
            allDone = false;
            if (zif_listGetEntryCount(r->queue) > 0)
                continue;
            if (!(r->kind == Kind::Picture ? readPicture(r) : readSound(r)))
                return 0;
            if (r->ended && !plugins::queueEndOfStream(r->queue, r->description))
                return plugins::fail(node, ZIF_ERR_NO_MEMORY);
        }
        d->finished = allDone;
    }
    return zif_nodeSetFinishedForNow(node, d->finished);
}

int32_t commandConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    DecoderNode *d = decoderOf(node);
    bool ok = !d->instance && plugins::decodeRequestRead(connector, &d->request) && openFile(node, d);
    for (size_t i = 0; ok && i < d->streams.size(); ++i) {
        StreamRecord *r = d->streams[i].get();
        std::string name = d->pluginName + (r->kind == Kind::Picture ? ".video.0" : ".audio.0");
        ok = plugins::decoderOutputAdd(node, name, r->description, reinterpret_cast<intptr_t>(r), outputConnect);
    }
    zif_release(node);
    return ok ? 1 : 0;
}

uint64_t decoderCreate(zif_object *plugin, zif_object *graph, zif_object *)
{
    zif_object *nameObject = zif_pluginGetName(plugin);
    std::string name = nameObject ? zif_stringGetValue(nameObject) : "";
    zif_release(nameObject);
    zif_object *node = plugins::decoderNodeAdd(graph, name, decoderDestroy, decoderWork, commandConnect);
    if (!node)
        return 0;
    auto *d = new DecoderNode;
    d->type = reinterpret_cast<SmdeDecoderType *>(zif_pluginGetUserData(plugin));
    d->pluginName = name;
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(d));
    uint64_t id = zif_nodeGetID(node);
    zif_release(node);
    return id;
}

}  // namespace

bool smdeDecoderRegister(zif_context *context, SmdeDecoderType *type)
{
    std::string name;
    if (!type || !type->name || !utf16ToUtf8(type->name(type), kMaxNameUnits, &name) || name.empty()) {
        zif_log(context, ZIF_LOG_WARNING, "smde plugin", "SMDE decoder type without a name skipped");
        return true;
    }
    std::vector<std::string> extensions;
    bool haveExtensions = false;
    if (type->extensions) {
        haveExtensions = utf16ListToUtf8(type->extensions(type), kMaxExtensionListUnits, &extensions);
        if (!haveExtensions)
            zif_log(context, ZIF_LOG_WARNING, "smde plugin",
                    ("Unterminated extension list of SMDE decoder type " + name + " skipped").c_str());
    }
    return plugins::pluginRegister(context, "smde." + name, decoderCreate, nullptr, haveExtensions ? &extensions : nullptr,
                                   reinterpret_cast<intptr_t>(type));
}

}  // namespace smde
