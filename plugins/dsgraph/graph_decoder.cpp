#include "plugins/dsgraph/graph_decoder.h"
#include "plugins/common/decode_request.h"
#include "plugins/common/decoder_node.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/common/plugin_register.h"
#include "plugins/dsgraph/stream_graph.h"
#include "plugins/mediapipe/file_extensions.h"
#include "plugins/mediapipe/pipeline_dump.h"

#include <memory>
#include <string>
#include <vector>

namespace dsgraph {

namespace {

constexpr int32_t kErrPull = 34;  // running a pipeline or reading a sample failed

struct PortState {
    bool finished = false;
    std::unique_ptr<StreamGraph> graph;  // absent: not wanted or not in the file
    zif_object *queue = nullptr;         // absent while unconnected

    ~PortState() { zif_release(queue); }
    bool done() const { return !queue || finished; }
};

struct GraphDecoder {
    plugins::DecodeRequest request;
    PortState video;
    PortState sound;
};

GraphDecoder *decoderOf(zif_object *node) { return reinterpret_cast<GraphDecoder *>(zif_nodeGetUserData(node)); }
PortState *portStateOf(zif_object *port) { return reinterpret_cast<PortState *>(zif_portGetUserData(port)); }

void decoderDestroy(zif_object *node) { delete decoderOf(node); }

int32_t decoderWork(zif_object *node)
{
    GraphDecoder *d = decoderOf(node);
    return zif_nodeSetFinishedForNow(node, d->video.done() && d->sound.done());
}

int32_t portPull(zif_object *port)
{
    PortState *s = portStateOf(port);
    if (!s->queue || zif_listGetEntryCount(s->queue) > 0 || s->finished || !s->graph)
        return 1;
    if (s->graph->ended()) {
        s->finished = true;
        return 1;
    }
    return s->graph->pullInto(s->queue) ? 1 : plugins::fail(port, kErrPull);
}

void portDisconnected(zif_object *connector)
{
    auto *s = reinterpret_cast<PortState *>(zif_portConnectorGetUserData(connector));
    if (!s)
        return;
    zif_release(s->queue);
    s->queue = nullptr;
}

int32_t portConnect(zif_object *port, zif_object *connector)
{
    PortState *s = portStateOf(port);
    zif_release(s->queue);
    s->queue = zif_portConnectorGetQueue(connector);
    zif_portConnectorSetUserData(connector, reinterpret_cast<intptr_t>(s));
    zif_portConnectorSetDisconnectFunc(connector, portDisconnected);
    return s->queue ? 1 : 0;
}

// Builds the stream graph of one kind and its port; a file without such a
// stream adds no port and is no failure.
bool addStream(zif_object *node, GraphDecoder *d, mediapipe::StreamKind kind)
{
    bool video = kind == mediapipe::StreamKind::Video;
    PortState &state = video ? d->video : d->sound;
    zif_object *graph = zif_nodeGetGraph(node);
    StreamGraph::Built built =
        StreamGraph::build(graph, kind, d->request.path, d->request.startTime, d->request.endTime, &state.graph);
    zif_release(graph);
    if (built == StreamGraph::Built::NoStream)
        return true;
    if (built == StreamGraph::Built::Failed)
        return plugins::fail(node, plugins::kErrMediaOpen);
    zif_object *port = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, video ? "dsgraph.decoder.video.0" : "dsgraph.decoder.audio.0");
    bool ok = port && zif_portSetDescription(port, state.graph->description()) &&
              zif_portSetWorkFunc(port, portPull) && zif_portSetUserData(port, reinterpret_cast<intptr_t>(&state)) &&
              zif_portSetMinConnections(port, 0) && zif_portSetMaxConnections(port, 1) &&
              zif_portSetOnConnectFunc(port, portConnect);
    zif_release(port);
    return ok;
}

std::string debugText(const GraphDecoder &d)
{
    std::string text = "<streamlist>\n";
    for (const PortState *s : {&d.video, &d.sound})
        if (s->graph)
            text += std::string("<stream type=\"") + (s->graph->isVideo() ? "video" : "audio") + "\">\n" +
                    s->graph->dump() + "</stream>\n";
    return text + "</streamlist>\n";
}

int32_t commandConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    GraphDecoder *d = decoderOf(node);
    bool ok = plugins::decodeRequestRead(connector, &d->request) &&
              (!d->request.wantVideo || addStream(node, d, mediapipe::StreamKind::Video)) &&
              (!d->request.wantAudio || addStream(node, d, mediapipe::StreamKind::Audio));
    if (ok) {
        zif_nodeSetDebugText(node, debugText(*d).c_str());
        if (!d->video.graph && !d->sound.graph)
            ok = plugins::fail(node, plugins::kErrMediaOpen);
    }
    zif_release(node);
    return ok ? 1 : 0;
}

uint64_t decoderCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_object *node = plugins::decoderNodeAdd(graph, "dsgraph.decoder", decoderDestroy, decoderWork, commandConnect);
    if (!node)
        return 0;
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(new GraphDecoder));
    uint64_t id = zif_nodeGetID(node);
    zif_release(node);
    return id;
}

}  // namespace

bool graphDecoderRegister(zif_context *context)
{
    const std::vector<std::string> extensions = mediapipe::extensionsFrom(mediapipe::typeFinderCandidates());
    return plugins::pluginRegister(context, "dsgraph.decoder", decoderCreate, nullptr, &extensions);
}

}  // namespace dsgraph
