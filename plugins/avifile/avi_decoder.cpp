#include "plugins/avifile/avi_decoder.h"
#include "plugins/avifile/avi_file.h"
#include "plugins/avifile/codec_lookup.h"
#include "plugins/avifile/frame_getter.h"
#include "plugins/avifile/sound_converter.h"
#include "plugins/common/decode_request.h"
#include "plugins/common/decoder_node.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/common/plugin_register.h"
#include "plugins/common/stream_samples.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace avifile {

namespace {

using plugins::MediaTime;

// A frame missing further than this many frames before the end of its
// stream is an error; nearer the end the stream just ends there.
constexpr int64_t kToleratedMissingFrames = 100;
// A sound stream whose read fails with no more samples than this left ends.
constexpr int64_t kToleratedMissingSamples = 1023;

enum PluginError : int32_t {
    kErrFrameFormat = plugins::kErrConversion,  // 14
    kErrFile = plugins::kErrMediaOpen,          // 15
    kErrStreamOpen = ZIF_ERR_FILE_OPEN,         // 19
    kErrFrameGetter = plugins::kErrUnsupported, // 29
    kErrRead = 34,
};

struct DecoderNode;

struct StreamRecord {
    DecoderNode *owner = nullptr;
    bool video = false;
    const AviStream *stream = nullptr;
    int width = 0, height = 0;
    std::vector<uint8_t> soundFormat;  // completed to at least 18 bytes
    int channels = 0, sampleRate = 0;
    zif_object *description = nullptr;

    // Set while the output port is connected.
    zif_object *queue = nullptr;
    bool ended = false, endQueued = false;
    int64_t length = 0;  // samples to read, from the stream start
    MediaTime nextTime;
    // Video.
    std::unique_ptr<FrameGetter> getter;
    MediaTime frameDuration;
    int64_t nextFrame = 0;
    std::vector<uint8_t> frame;
    // Sound.
    std::unique_ptr<SoundConverter> converter;
    std::vector<int64_t> chunkStarts;  // sample number each chunk starts at
    int64_t nextSample = 0;
    size_t nextChunk = 0;
    uint32_t chunkOffset = 0;  // bytes of nextChunk already read
    std::vector<uint8_t> bytes;
    std::vector<int16_t> pcm;

    ~StreamRecord()
    {
        close();
        zif_release(description);
    }
    bool opened() const { return queue != nullptr; }
    void close()
    {
        zif_release(queue);
        queue = nullptr;
        getter.reset();
        converter.reset();
        ended = endQueued = false;
        nextFrame = nextSample = 0;
        nextChunk = 0;
        chunkOffset = 0;
    }
};

struct DecoderNode {
    plugins::DecodeRequest request;
    AviFile file;
    double duration = -1;
    std::vector<std::unique_ptr<StreamRecord>> streams;  // video first, then sound
    bool finished = false;
};

DecoderNode *decoderOf(zif_object *node) { return reinterpret_cast<DecoderNode *>(zif_nodeGetUserData(node)); }

void decoderDestroy(zif_object *node) { delete decoderOf(node); }

bool setRgbLayout(zif_object *d, int64_t width, int64_t height)
{
    return zif_tableSetString(d, "format", "rgb.interleaved") && zif_tableSetInt(d, "width", width) &&
           zif_tableSetInt(d, "height", height) && zif_tableSetInt(d, "bitsperpixel", 32) &&
           zif_tableSetInt(d, "rgb.bits.r", 8) && zif_tableSetInt(d, "rgb.bits.g", 8) &&
           zif_tableSetInt(d, "rgb.bits.b", 8) && zif_tableSetInt(d, "rgb.offset.r", 16) &&
           zif_tableSetInt(d, "rgb.offset.g", 8) && zif_tableSetInt(d, "rgb.offset.b", 0) &&
           zif_tableSetInt(d, "linedelta", -4 * width) &&
           zif_tableSetInt(d, "firstlineoffset", 4 * width * (height - 1));
}

// Fills the record from its stream's headers and builds its description;
// false (error 15) for headers that cannot be decoded from.
bool describe(zif_object *node, DecoderNode *d, StreamRecord *r)
{
    const AviStream &s = *r->stream;
    if (s.rate == 0 || s.scale == 0 || s.format.empty())
        return plugins::fail(node, kErrFile);
    zif_object *desc = zif_newTable(zif_objectGetContext(node));
    bool ok = desc && zif_tableSetString(desc, "portclass", "data") &&
              zif_tableSetString(desc, "mediatype", r->video ? "video" : "audio") &&
              (d->duration < 0 || zif_tableSetDouble(desc, "duration", d->duration));
    if (ok && r->video) {
        BitmapHeader header = bitmapHeaderOf(s.format);
        int64_t w = s.frameWidth > 0 ? s.frameWidth : header.width;
        int64_t h = s.frameHeight > 0 ? s.frameHeight : std::llabs(static_cast<long long>(header.height));
        if (s.format.size() < 40 || w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) {
            zif_release(desc);
            return plugins::fail(node, kErrFile);
        }
        r->width = static_cast<int>(w), r->height = static_cast<int>(h);
        ok = setRgbLayout(desc, w, h);
    } else if (ok) {
        if (s.format.size() < 14) {
            zif_release(desc);
            return plugins::fail(node, kErrFile);
        }
        r->soundFormat = waveFormatCompleted(s.format);
        WaveFormat w = waveFormatOf(r->soundFormat);
        if (w.channels == 0 || w.samplesPerSecond == 0 || w.samplesPerSecond > INT32_MAX ||
            !avcodec_find_decoder(soundCodecOf(r->soundFormat))) {
            zif_release(desc);
            return plugins::fail(node, kErrFile);
        }
        r->channels = targetChannelsFor(w.channels);
        r->sampleRate = static_cast<int>(w.samplesPerSecond);
        zif_object *ids = plugins::channelIdsFor(zif_objectGetContext(node), r->channels);
        ok = ids && zif_tableSetString(desc, "format", "pcm.interleaved") &&
             zif_tableSetInt(desc, "pcm.bitspervalue", 16) && zif_tableSetInt(desc, "pcm.signed", 1) &&
             zif_tableSetInt(desc, "channels", r->channels) && zif_tableSetInt(desc, "samplerate", r->sampleRate) &&
             zif_tableSet(desc, "channelids", ids);
        zif_release(ids);
    }
    if (!ok) {
        zif_release(desc);
        return plugins::fail(node, ZIF_ERR_NO_MEMORY);
    }
    r->description = desc;
    return true;
}

// A time in seconds as a sample number of the stream, counted from its start.
double sampleAt(const AviStream &s, double seconds)
{
    return std::floor(seconds * s.rate / s.scale + 1e-9) - static_cast<double>(s.start);
}

void streamDisconnected(zif_object *connector)
{
    auto *r = reinterpret_cast<StreamRecord *>(zif_portConnectorGetUserData(connector));
    if (r)
        r->close();
}

// On connection of an output port: the read positions, the decoder.
int32_t outputConnect(zif_object *port, zif_object *connector)
{
    auto *r = reinterpret_cast<StreamRecord *>(zif_portGetUserData(port));
    const AviStream &s = *r->stream;
    const plugins::DecodeRequest &request = r->owner->request;
    r->close();
    r->queue = zif_portConnectorGetQueue(connector);
    zif_portConnectorSetUserData(connector, reinterpret_cast<intptr_t>(r));
    zif_portConnectorSetDisconnectFunc(connector, streamDisconnected);
    int64_t first = 0;
    if (request.startTime > 0) {
        double at = sampleAt(s, request.startTime);
        if (at >= 0 && at <= 4294967295.0)
            first = static_cast<int64_t>(at);
    }
    // A file cut short holds fewer chunks than its header counts; it ends
    // with its last chunk. A header without a length counts none.
    int64_t present = 0;
    for (const AviChunk &c : s.chunks)
        present += r->video || s.sampleSize == 0 ? 1 : c.size / s.sampleSize;
    r->length = s.length > 0 ? std::min<int64_t>(s.length, present) : present;
    if (request.hasEnd()) {
        double last = sampleAt(s, request.endTime);
        if (last >= 0 && last < static_cast<double>(r->length))
            r->length = static_cast<int64_t>(last);
    }
    r->nextTime = MediaTime::of((first + s.start) * static_cast<int64_t>(s.scale), s.rate);
    if (r->video) {
        r->getter = std::make_unique<FrameGetter>();
        if (!r->getter->open(r->owner->file, s, r->width, r->height)) {
            r->close();
            return plugins::fail(connector, kErrFrameGetter);
        }
        r->frame.resize(static_cast<size_t>(r->width) * 4 * static_cast<size_t>(r->height));
        r->frameDuration = MediaTime::of(s.scale, s.rate);
        r->nextFrame = first;
        return 1;
    }
    r->converter = std::make_unique<SoundConverter>();
    if (!r->converter->open(r->soundFormat)) {
        r->close();
        return plugins::fail(connector, kErrFile);
    }
    // Where each chunk starts: a stream of fixed-size samples counts the
    // samples in a chunk, any other stream one sample per chunk.
    r->chunkStarts.clear();
    int64_t at = 0;
    for (const AviChunk &c : s.chunks) {
        r->chunkStarts.push_back(at);
        at += s.sampleSize > 0 ? c.size / s.sampleSize : 1;
    }
    r->nextSample = first;
    while (r->nextChunk < s.chunks.size() && r->nextChunk + 1 < r->chunkStarts.size() &&
           r->chunkStarts[r->nextChunk + 1] <= first)
        ++r->nextChunk;
    if (r->nextChunk < s.chunks.size() && s.sampleSize > 0 && first > r->chunkStarts[r->nextChunk])
        r->chunkOffset = static_cast<uint32_t>(std::min<int64_t>((first - r->chunkStarts[r->nextChunk]) * s.sampleSize,
                                                                 s.chunks[r->nextChunk].size));
    return 1;
}

bool queueSample(StreamRecord *r, const void *bytes, size_t size)
{
    zif_object *sample = nullptr;
    bool ok = zif_valueClone(r->description, &sample) &&
              zif_tableSetData(sample, "data", bytes, static_cast<int32_t>(size)) &&
              r->nextTime.storeIn(sample, "presentationtime") && zif_listAdd(r->queue, sample);
    zif_release(sample);
    return ok || plugins::fail(r->description, ZIF_ERR_NO_MEMORY);
}

bool workVideo(StreamRecord *r)
{
    if (r->nextFrame >= r->length) {
        r->ended = true;
        return true;
    }
    bool sizeMatches = true;
    if (!r->getter->frame(r->nextFrame, r->frame.data(), &sizeMatches)) {
        if (!sizeMatches)
            return plugins::fail(r->description, kErrFrameFormat);
        if (r->nextFrame < r->length - kToleratedMissingFrames)
            return plugins::fail(r->description, kErrRead);
        r->ended = true;  // a few undecodable frames at the end
        return true;
    }
    if (!queueSample(r, r->frame.data(), r->frame.size()))
        return false;
    r->nextTime = r->nextTime + r->frameDuration;
    if (++r->nextFrame >= r->length)
        r->ended = true;
    return true;
}

bool queueSound(StreamRecord *r)
{
    if (r->pcm.empty())
        return true;
    bool ok = queueSample(r, r->pcm.data(), r->pcm.size() * sizeof(int16_t));
    r->nextTime = r->nextTime + MediaTime::of(static_cast<int64_t>(r->pcm.size()) / r->channels, r->sampleRate);
    r->pcm.clear();
    return ok;
}

// Reads chunks until a conversion gives samples or the stream ends.
bool workSound(StreamRecord *r)
{
    const AviStream &s = *r->stream;
    while (r->pcm.empty() && !r->ended) {
        if (r->nextChunk >= s.chunks.size() || r->nextSample >= r->length) {
            r->ended = true;
            break;
        }
        const AviChunk &chunk = s.chunks[r->nextChunk];
        if (!r->owner->file.read(chunk, r->chunkOffset, &r->bytes)) {
            if (r->length - r->nextSample > kToleratedMissingSamples)
                return plugins::fail(r->description, kErrRead);
            r->ended = true;
            break;
        }
        size_t use = r->bytes.size();
        int64_t samples = s.sampleSize > 0 ? static_cast<int64_t>(use / s.sampleSize) : 1;
        if (s.sampleSize > 0 && r->nextSample + samples > r->length) {
            samples = r->length - r->nextSample;  // a decode end inside the chunk
            use = static_cast<size_t>(samples) * s.sampleSize;
        }
        r->nextSample += samples;
        ++r->nextChunk;
        r->chunkOffset = 0;
        if (!r->converter->convert(r->bytes.data(), use, &r->pcm))
            return plugins::fail(r->description, kErrFile);
    }
    if (r->ended && !r->converter->convert(nullptr, 0, &r->pcm))
        return plugins::fail(r->description, kErrFile);
    return queueSound(r);
}

int32_t decoderWork(zif_object *node)
{
    DecoderNode *d = decoderOf(node);
    if (!d->finished) {
        bool allDone = true;
        for (const auto &stream : d->streams) {
            StreamRecord *r = stream.get();
            if (!r->opened() || r->endQueued)
                continue;
            allDone = false;
            if (zif_listGetEntryCount(r->queue) > 0)
                continue;
            if (!r->ended && !(r->video ? workVideo(r) : workSound(r)))
                return 0;
            if (r->ended) {
                if (!plugins::queueEndOfStream(r->queue, r->description))
                    return plugins::fail(node, ZIF_ERR_NO_MEMORY);
                r->endQueued = true;
            }
        }
        d->finished = allDone;
    }
    return zif_nodeSetFinishedForNow(node, d->finished);
}

// Opens the file, describes its video streams, then its sound streams, and
// adds an output port for each.
bool probe(zif_object *node, DecoderNode *d)
{
    std::string error;
    if (!d->file.open(d->request.path, &error)) {
        zif_log(zif_objectGetContext(node), ZIF_LOG_ERROR, "avifile.decoder", (d->request.path + ": " + error).c_str());
        return plugins::fail(node, kErrFile);
    }
    for (const AviStream &s : d->file.streams()) {
        if (s.scale != 0 && s.rate != 0)
            d->duration = std::max(d->duration, static_cast<double>(s.length) * s.scale / s.rate);
    }
    for (bool video : {true, false}) {
        for (const AviStream &s : d->file.streams()) {
            if (s.type != fourcc(video ? "vids" : "auds"))
                continue;
            auto r = std::make_unique<StreamRecord>();
            r->owner = d;
            r->video = video;
            r->stream = &s;
            if (!describe(node, d, r.get()))
                return false;
            d->streams.push_back(std::move(r));
        }
    }
    for (const auto &r : d->streams) {
        if (!plugins::decoderOutputAdd(node, r->video ? "avifile.decoder.video.0" : "avifile.decoder.audio.0",
                                       r->description, reinterpret_cast<intptr_t>(r.get()), outputConnect))
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

uint64_t decoderCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_object *node = plugins::decoderNodeAdd(graph, "avifile.decoder", decoderDestroy, decoderWork, commandConnect);
    if (!node)
        return 0;
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(new DecoderNode));
    uint64_t id = zif_nodeGetID(node);
    zif_release(node);
    return id;
}

}  // namespace

bool aviDecoderRegister(zif_context *context)
{
    const std::vector<std::string> extensions{".avi"};
    return plugins::pluginRegister(context, "avifile.decoder", decoderCreate, nullptr, &extensions);
}

}  // namespace avifile
