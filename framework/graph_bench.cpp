// Samples per second through generator -> connect -> sink: a graph built by
// zif_graphBuild from the test module's frame generator and a sink node that
// takes every sample. Usage: zif_graph_bench MODULE [FRAMES]
#include "framework/include/zif.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

struct Sink {
    zif_object *queue = nullptr;
    long taken = 0;
};

Sink *sinkOf(zif_object *node) { return reinterpret_cast<Sink *>(zif_nodeGetUserData(node)); }

int32_t sinkConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    sinkOf(node)->queue = zif_portConnectorGetQueue(connector);
    zif_release(node);
    return 1;
}

int32_t sinkWork(zif_object *node)
{
    Sink *s = sinkOf(node);
    while (zif_object *sample = zif_listRemoveFirst(s->queue)) {
        ++s->taken;
        if (zif_tableGetInt(sample, "endofstream", 0))
            zif_nodeSetFinishedForNow(node, 1);
        zif_release(sample);
    }
    return 1;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fputs("usage: zif_graph_bench MODULE [FRAMES]\n", stderr);
        return 2;
    }
    long frames = argc > 2 ? std::atol(argv[2]) : 200000;
    zif_context *ctx = nullptr;
    if (zif_create(&ctx) != 0 || !zif_loadPluginModule(ctx, argv[1])) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    zif_object *graph = zif_newGraph(ctx, 1);
    zif_object *wanted = zif_newTable(ctx);
    zif_tableSetInt(wanted, "frames", frames);
    zif_graphDirectCreateNode(graph, "testplug.generator", wanted);
    zif_release(wanted);

    Sink sink;
    zif_object *node = zif_graphAddNewNode(graph, "sink");
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(&sink));
    zif_nodeSetWorkFunc(node, sinkWork);
    zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "sink.in");
    zif_object *description = zif_newTable(ctx);
    zif_tableSetString(description, "portclass", "data");
    zif_tableSetString(description, "format", "yuv.separate");
    zif_portSetDescription(in, description);
    zif_portSetOnConnectFunc(in, sinkConnect);
    for (zif_object *o : {description, in, node})
        zif_release(o);

    auto start = std::chrono::steady_clock::now();
    if (!zif_graphBuild(graph)) {
        std::fprintf(stderr, "build failed (error %d)\n", zif_getLastError(ctx));
        return 1;
    }
    auto built = std::chrono::steady_clock::now();
    long passes = 0;
    while (!zif_graphGetFinishedForNow(graph) && zif_graphWork(graph))
        ++passes;
    auto done = std::chrono::steady_clock::now();
    double buildSeconds = std::chrono::duration<double>(built - start).count();
    double runSeconds = std::chrono::duration<double>(done - built).count();
    std::printf("graph build (generator -> connect -> sink): %.3f ms\n", buildSeconds * 1e3);
    std::printf("samples through the graph: %ld in %ld passes, %.3f s, %.0f samples/s\n", sink.taken, passes,
                runSeconds, sink.taken / runSeconds);
    zif_release(sink.queue);
    zif_release(graph);
    zif_destroy(ctx);
    return sink.taken == frames ? 0 : 1;
}
