#include "plugins/directshow/stream_decoder.h"
#include "plugins/common/decode_request.h"
#include "plugins/common/decoder_node.h"
#include "plugins/common/plugin_builder.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/common/plugin_register.h"
#include "plugins/directshow/media_stream.h"
#include "plugins/mediapipe/file_extensions.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace directshow {

namespace {

using mediapipe::StreamKind;
using mediapipe::StreamPipeline;

constexpr int32_t kErrBadControl = ZIF_ERR_BAD_BINARY;  // 22: a control message without what it needs
constexpr int32_t kErrUnknownControl = ZIF_ERR_NO_DIRECT_CREATE;  // 29

struct StreamDecoder {
    zif_object *graph = nullptr;  // borrowed
    plugins::DecodeRequest request;
    std::vector<std::unique_ptr<MediaStream>> streams;
    zif_object *controlQueue = nullptr;
    zif_object *resultQueue = nullptr;
    bool finished = false;

    ~StreamDecoder()
    {
        zif_release(controlQueue);
        zif_release(resultQueue);
    }
    void log(const std::string &text) const { zif_graphLog(graph, 3, "directshow decoder", text.c_str()); }
};

StreamDecoder *decoderOf(zif_object *node) { return reinterpret_cast<StreamDecoder *>(zif_nodeGetUserData(node)); }

StreamDecoder *decoderOfPort(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    StreamDecoder *d = decoderOf(node);
    zif_release(node);
    return d;
}

void decoderDestroy(zif_object *node) { delete decoderOf(node); }

int32_t decoderWork(zif_object *node) { return zif_nodeSetFinishedForNow(node, decoderOf(node)->finished); }

// Opens every wanted primary stream of the file.
bool openStreams(zif_object *node, StreamDecoder *d)
{
    struct Wanted {
        bool wanted;
        StreamKind kind;
        const char *failure;
    };
    const Wanted order[] = {{d->request.wantAudio, StreamKind::Audio, "Error opening audio stream (result: "},
                            {d->request.wantVideo, StreamKind::Video, "Error opening video stream (result: "}};
    std::vector<std::unique_ptr<MediaStream>> opened;
    for (const Wanted &w : order) {
        if (!w.wanted)
            continue;
        auto stream = std::make_unique<MediaStream>(w.kind);
        std::string error;
        StreamPipeline::Opened r = stream->open(d->request.path, &error);
        if (r == StreamPipeline::Opened::Failed) {
            d->log(w.failure + error + ").");
            return plugins::fail(node, plugins::kErrMediaOpen);
        }
        if (r == StreamPipeline::Opened::Ok)
            opened.push_back(std::move(stream));
    }
    if (opened.empty()) {
        d->log("Found neither a decodable audio nor a decodable video stream.");
        return plugins::fail(node, plugins::kErrMediaOpen);
    }
    // Pictures first, as the ports are listed.
    if (opened.size() == 2)
        std::swap(opened[0], opened[1]);
    double duration = -1;
    for (const auto &s : opened)
        duration = std::max(duration, s->duration());
    for (const auto &s : opened) {
        if (!s->describe(node, duration)) {
            d->log(std::string("Error initializing ") + s->mediaType() + " stream (result: unsupported format).");
            return false;
        }
    }
    d->streams = std::move(opened);
    return true;
}

int32_t streamPull(zif_object *port)
{
    auto *s = reinterpret_cast<MediaStream *>(zif_portGetUserData(port));
    StreamDecoder *d = decoderOfPort(port);
    if (!s->queue || zif_listGetEntryCount(s->queue) > 0)
        return 1;
    if (s->ended()) {
        bool othersRunning = false;
        for (const auto &other : d->streams)
            othersRunning = othersRunning || (other->started() && !other->ended());
        d->finished = !othersRunning;
        return 1;
    }
    std::string error;
    if (!s->read(s->queue, d->request.endTime, &error)) {
        d->log("Error reading " + std::string(s->mediaType()) + " sample (result: " + error + ").");
        int32_t code = zif_getLastError(zif_objectGetContext(port));
        return plugins::fail(port, code ? code : plugins::kErrConversion);
    }
    return 1;
}

void streamDisconnected(zif_object *connector)
{
    auto *s = reinterpret_cast<MediaStream *>(zif_portConnectorGetUserData(connector));
    if (s) {
        zif_release(s->queue);
        s->queue = nullptr;
    }
}

int32_t streamConnect(zif_object *port, zif_object *connector)
{
    auto *s = reinterpret_cast<MediaStream *>(zif_portGetUserData(port));
    StreamDecoder *d = decoderOfPort(port);
    std::string error;
    if (!s->start(d->request.startTime, &error)) {
        d->log("Error starting " + std::string(s->mediaType()) + " stream (result: " + error + ").");
        return plugins::fail(port, plugins::kErrMediaOpen);
    }
    zif_release(s->queue);
    s->queue = zif_portConnectorGetQueue(connector);
    zif_portConnectorSetUserData(connector, reinterpret_cast<intptr_t>(s));
    zif_portConnectorSetDisconnectFunc(connector, streamDisconnected);
    return s->queue ? 1 : 0;
}

int32_t seekAll(zif_object *node, StreamDecoder *d, zif_object *message)
{
    if (!zif_tableContains(message, "seektime"))
        return kErrBadControl;
    double to = zif_tableGetDouble(message, "seektime", 0);
    for (const auto &s : d->streams) {
        std::string error;
        if (s->started() && !s->seek(to, &error)) {
            d->log("Error seeking " + std::string(s->mediaType()) + " stream (result: " + error + ").");
            return plugins::kErrConversion;
        }
    }
    for (const auto &s : d->streams)
        s->clearEnded();
    d->finished = false;
    zif_nodeSetFinishedForNow(node, 0);
    return 0;
}

int32_t controlWork(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    StreamDecoder *d = decoderOf(node);
    bool ok = true;
    while (ok && d->controlQueue && zif_listGetEntryCount(d->controlQueue) > 0) {
        zif_object *message = zif_listRemoveFirst(d->controlQueue);
        int64_t id = zif_tableGetInt(message, "messageid", 0);
        const char *control = zif_tableGetString(message, "control", nullptr);
        int32_t result = !control                                ? kErrBadControl
                         : std::string(control) == "control.seektotime" ? seekAll(node, d, message)
                                                                  : kErrUnknownControl;
        zif_release(message);
        if (id > 0 && d->resultQueue) {
            zif_object *answer = zif_newTable(zif_objectGetContext(port));
            ok = answer && zif_tableSetString(answer, "portclass", "controlresult") &&
                 zif_tableSetInt(answer, "messageid", id) && zif_tableSetInt(answer, "controlresult", result) &&
                 zif_listAdd(d->resultQueue, answer);
            zif_release(answer);
        }
    }
    zif_release(node);
    return ok ? 1 : 0;
}

int32_t controlConnect(zif_object *port, zif_object *connector)
{
    StreamDecoder *d = decoderOfPort(port);
    zif_release(d->controlQueue);
    d->controlQueue = zif_portConnectorGetQueue(connector);
    return 1;
}

int32_t resultConnect(zif_object *port, zif_object *connector)
{
    StreamDecoder *d = decoderOfPort(port);
    zif_release(d->resultQueue);
    d->resultQueue = zif_portConnectorGetQueue(connector);
    return 1;
}

zif_object *portDescription(zif_context *context, const char *portclass, uint64_t controlId)
{
    zif_object *d = zif_newTable(context);
    if (d && zif_tableSetString(d, "portclass", portclass) &&
        zif_tableSetInt(d, "controlid", static_cast<int64_t>(controlId)))
        return d;
    zif_release(d);
    return nullptr;
}

bool addPort(zif_object *node, int32_t type, const char *name, zif_object *description, zif_portWorkFunc work,
             zif_portOnConnectFunc onConnect, intptr_t data)
{
    zif_object *port = description ? zif_nodeAddNewPort(node, type, name) : nullptr;
    bool ok = port && zif_portSetDescription(port, description) && zif_portSetMinConnections(port, 0) &&
              zif_portSetMaxConnections(port, 1) && zif_portSetOnConnectFunc(port, onConnect) &&
              zif_portSetUserData(port, data) && (!work || zif_portSetWorkFunc(port, work));
    zif_release(port);
    zif_release(description);
    return ok;
}

int32_t commandConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    zif_context *context = zif_objectGetContext(port);
    StreamDecoder *d = decoderOf(node);
    uint64_t id = zif_newID(context);
    bool ok = plugins::decodeRequestRead(connector, &d->request) && openStreams(node, d);
    for (const auto &s : d->streams) {
        if (!ok)
            break;
        zif_object *description = nullptr;
        ok = zif_valueClone(s->description(), &description) &&
             zif_tableSetInt(description, "controlid", static_cast<int64_t>(id));
        std::string name = std::string("directshow.decoder.") + s->mediaType() + ".0";
        ok = ok && addPort(node, ZIF_PORT_OUTPUT, name.c_str(), zif_addRef(description), streamPull, streamConnect,
                           reinterpret_cast<intptr_t>(s.get()));
        zif_release(description);
    }
    zif_object *control = ok ? portDescription(context, "control", id) : nullptr;
    zif_object *controls = control ? zif_newList(context) : nullptr;
    ok = ok && controls && zif_listAddString(controls, "control.seektotime") && zif_tableSet(control, "control", controls);
    zif_release(controls);
    ok = ok && addPort(node, ZIF_PORT_INPUT, "directshow.control", zif_addRef(control), controlWork, controlConnect, 0);
    zif_release(control);
    ok = ok && addPort(node, ZIF_PORT_OUTPUT, "directshow.controlresult", portDescription(context, "controlresult", id),
                       nullptr, resultConnect, 0);
    zif_release(node);
    return ok ? 1 : 0;
}

zif_object *decoderCreate(zif_object *graph)
{
    zif_object *node = plugins::decoderNodeAdd(graph, "directshow.decoder", decoderDestroy, decoderWork, commandConnect);
    if (!node)
        return nullptr;
    auto *d = new StreamDecoder;
    d->graph = graph;
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(d));
    return node;
}

uint64_t decoderDirectCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_object *node = decoderCreate(graph);
    uint64_t id = node ? zif_nodeGetID(node) : 0;
    zif_release(node);
    return id;
}

int32_t builderAddChoices(zif_object *builder, zif_object *graph)
{
    zif_context *context = zif_objectGetContext(graph);
    zif_object *wanted = plugins::commandPortDescription(context);
    zif_object *ports = wanted ? zif_graphNewPortIterator(graph, ZIF_PORT_OUTPUT, 0, wanted, 2) : nullptr;
    bool ok = ports != nullptr;
    while (zif_object *port = ok ? zif_iteratorNext(ports) : nullptr) {
        zif_object *choice = zif_newTable(context);
        ok = choice && zif_tableSetInt(choice, "commandpartner", static_cast<int64_t>(zif_portGetID(port))) &&
             zif_graphAddChoice(graph, builder, choice);
        zif_release(choice);
        zif_release(port);
    }
    zif_release(ports);
    zif_release(wanted);
    return ok ? 1 : 0;
}

int32_t builderApply(zif_object *, zif_object *graph, zif_object *choice)
{
    auto partner = static_cast<uint64_t>(zif_tableGetInt(choice, "commandpartner", 0));
    return plugins::newNodeConnect(graph, decoderCreate(graph), "directshow.decoder.commandin", partner);
}

int32_t addBuilders(zif_object *, zif_object *graph)
{
    return plugins::builderAdd(graph, "directshow.decoder", 100.0, builderAddChoices, builderApply);
}

}  // namespace

bool streamDecoderRegister(zif_context *context)
{
    const std::vector<std::string> extensions = mediapipe::extensionsFrom(mediapipe::typeFinderCandidates());
    return plugins::pluginRegister(context, "directshow.decoder", decoderDirectCreate, addBuilders, &extensions);
}

}  // namespace directshow
