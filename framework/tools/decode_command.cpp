#include "framework/tools/decode_command.h"
#include "framework/include/zif.h"
#include "framework/tools/tool_paths.h"
#include "framework/tools/tool_run.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// The table entries that ask for a pixel layout.
bool setLayout(zif_object *d, const std::string &name)
{
    struct Layout {
        const char *name;
        int bits, r, g, b;
    };
    const Layout layouts[] = {{"rgb32", 32, 16, 8, 0}, {"rgb24", 24, 0, 8, 16}, {"bgr24", 24, 16, 8, 0}};
    if (name == "yuv420") {
        bool ok = zif_tableSetString(d, "format", "yuv.separate");
        for (const char *k : {"yuv.hratio.y", "yuv.vratio.y"})
            ok = ok && zif_tableSetInt(d, k, 2);
        for (const char *k : {"yuv.hratio.u", "yuv.hratio.v", "yuv.vratio.u", "yuv.vratio.v"})
            ok = ok && zif_tableSetInt(d, k, 1);
        return ok;
    }
    for (const Layout &l : layouts)
        if (name == l.name)
            return zif_tableSetString(d, "format", "rgb.interleaved") && zif_tableSetInt(d, "bitsperpixel", l.bits) &&
                   zif_tableSetInt(d, "rgb.bits.r", 8) && zif_tableSetInt(d, "rgb.bits.g", 8) &&
                   zif_tableSetInt(d, "rgb.bits.b", 8) && zif_tableSetInt(d, "rgb.offset.r", l.r) &&
                   zif_tableSetInt(d, "rgb.offset.g", l.g) && zif_tableSetInt(d, "rgb.offset.b", l.b);
    return false;
}

// A node that takes the samples of one decoder stream and reports them.
struct Sink {
    std::string stream;
    FILE *raw = nullptr;
    zif_object *queue = nullptr;
    long samples = 0;
    bool ended = false;
};

Sink *sinkOf(zif_object *node) { return reinterpret_cast<Sink *>(zif_nodeGetUserData(node)); }

void sinkDestroy(zif_object *node)
{
    Sink *s = sinkOf(node);
    zif_release(s->queue);
    delete s;
}

int32_t sinkConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    Sink *s = sinkOf(node);
    zif_release(node);
    zif_release(s->queue);
    s->queue = zif_portConnectorGetQueue(connector);
    zif_object *agreed = zif_portConnectorGetDescription(connector);
    zif_object *text = zif_valueToXMLString(agreed, 2);
    std::printf("%s: description\n%s\n", s->stream.c_str(), text ? zif_stringGetValue(text) : "");
    zif_release(text);
    zif_release(agreed);
    return s->queue && zif_listSetMaxEntryCount(s->queue, 4) ? 1 : 0;
}

void writePlanes(Sink *s, zif_object *sample)
{
    for (const char *key : {"data", "yuv.data.y", "yuv.data.u", "yuv.data.v"}) {
        const uint8_t *bytes = nullptr;
        int32_t size = 0;
        if (zif_tableGetData(sample, key, &bytes, &size, nullptr, 0) && size > 0)
            std::fwrite(bytes, 1, static_cast<size_t>(size), s->raw);
    }
}

int32_t sinkWork(zif_object *node)
{
    Sink *s = sinkOf(node);
    while (s->queue && zif_listGetEntryCount(s->queue) > 0) {
        zif_object *sample = zif_listRemoveFirst(s->queue);
        const uint8_t *bytes = nullptr;
        int32_t size = 0;
        zif_tableGetData(sample, "data", &bytes, &size, nullptr, 0);
        bool picture = zif_tableContains(sample, "yuv.data.y") || (bytes && zif_tableContains(sample, "width"));
        if (picture || bytes) {
            zif_object *time = zif_tableGet(sample, "presentationtime");
            zif_object *timeText = time ? zif_valueToXMLString(time, 0) : nullptr;
            std::printf("%s: #%ld time %.6f %s", s->stream.c_str(), s->samples, zif_numberGetDoubleValue(time, 0),
                        timeText ? zif_stringGetValue(timeText) : "");
            if (picture)
                std::printf(" %lldx%lld\n", static_cast<long long>(zif_tableGetInt(sample, "width", 0)),
                            static_cast<long long>(zif_tableGetInt(sample, "height", 0)));
            else
                std::printf(" %lld sample frames\n",
                            static_cast<long long>(size / 2 / std::max<int64_t>(1, zif_tableGetInt(sample, "channels", 1))));
            if (s->raw && picture)
                writePlanes(s, sample);
            zif_release(timeText);
            zif_release(time);
            ++s->samples;
        }
        if (zif_tableGetInt(sample, "endofstream", 0)) {
            s->ended = true;
            std::printf("%s: end of stream after %ld samples\n", s->stream.c_str(), s->samples);
        }
        zif_release(sample);
    }
    return zif_nodeSetFinishedForNow(node, s->ended);
}

bool addSink(zif_object *graph, zif_object *decoderPort, const DecodeOptions &o, FILE *raw)
{
    zif_context *ctx = zif_objectGetContext(graph);
    zif_object *source = zif_portGetDescription(decoderPort);
    zif_object *name = zif_portGetName(decoderPort);
    bool video = std::strcmp(zif_tableGetString(source, "mediatype", ""), "video") == 0;
    zif_object *wanted = zif_newTable(ctx);
    bool ok = wanted && zif_tableSetString(wanted, "mediatype", video ? "video" : "audio");
    if (ok && video) {
        ok = zif_tableSetString(wanted, "portclass", "data");
        if (ok && !o.pixels.empty())
            ok = setLayout(wanted, o.pixels);
        if (ok && o.width > 0)
            ok = zif_tableSetInt(wanted, "width", o.width) && zif_tableSetInt(wanted, "height", o.height);
    }
    zif_object *node = ok ? zif_graphAddNewNode(graph, "zif-run.sink") : nullptr;
    zif_object *in = node ? zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "zif-run.sink.in") : nullptr;
    if (in) {
        zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(new Sink{zif_stringGetValue(name), video ? raw : nullptr}));
        zif_nodeSetDestroyFunc(node, sinkDestroy);
        zif_nodeSetWorkFunc(node, sinkWork);
    }
    ok = in && zif_portSetDescription(in, wanted) && zif_portSetOnConnectFunc(in, sinkConnect);
    for (zif_object *x : {in, node, wanted, name, source})
        zif_release(x);
    return ok;
}

int failWith(zif_context *ctx, const char *what)
{
    std::fprintf(stderr, "zif-run: %s (error %d)\n", what, zif_getLastError(ctx));
    return 1;
}

int decodeIn(zif_context *ctx, const DecodeOptions &o, zif_object **graphOut)
{
    std::vector<std::string> modules = o.modules;
    if (modules.empty())
        modules.push_back(programFolder() + "/libwyv_ffmpeg.so");
    for (const std::string &m : modules)
        if (!zif_loadPluginModule(ctx, m.c_str()))
            return failWith(ctx, ("cannot load module " + m).c_str());
    zif_object *graph = zif_newGraph(ctx, 1);
    *graphOut = graph;
    if (!graph)
        return failWith(ctx, "cannot create the graph");
    zif_object *entries = zif_newTable(ctx);
    zif_object *command = nullptr;
    // A plain absolute path is a uri without scheme.
    bool ok = entries && zif_tableSetString(entries, "uri", absolutePath(o.file).c_str()) &&
              zif_graphAddNewStaticCommandNode(graph, "read", entries, "input", &command);
    zif_release(entries);
    uint64_t decoder = ok ? zif_graphDirectCreateNode(graph, "ffmpeg.decoder", nullptr) : 0;
    uint64_t from = command ? zif_graphFindNodePort(graph, zif_nodeGetID(command), "input") : 0;
    uint64_t to = decoder ? zif_graphFindNodePort(graph, decoder, "ffmpeg.decoder.commandin") : 0;
    zif_release(command);
    if (!to || !zif_graphCreateConnection(graph, from, to))
        return failWith(ctx, ("cannot open " + o.file).c_str());
    FILE *raw = nullptr;
    if (!o.raw.empty() && !(raw = std::fopen(o.raw.c_str(), "wb"))) {
        std::fprintf(stderr, "zif-run: cannot write %s\n", o.raw.c_str());
        return 1;
    }
    std::unique_ptr<FILE, int (*)(FILE *)> rawFile(raw, [](FILE *f) { return f ? std::fclose(f) : 0; });
    zif_object *ports = zif_graphNewPortIterator(graph, ZIF_PORT_OUTPUT, 0, nullptr, 0);
    while (zif_object *port = ports ? zif_iteratorNext(ports) : nullptr) {
        zif_object *node = zif_portGetNode(port);
        if (zif_nodeGetID(node) == decoder)
            ok = ok && addSink(graph, port, o, raw);
        zif_release(node);
        zif_release(port);
    }
    zif_release(ports);
    if (!ok || !zif_graphBuild(graph))
        return failWith(ctx, "cannot build the graph (--log shows the search)");
    while (!zif_graphGetFinishedForNow(graph))
        if (!zif_graphWork(graph))
            return failWith(ctx, "a work pass failed");
    return 0;
}

}  // namespace

bool decodeOptionsParse(int argc, char **argv, DecodeOptions *o)
{
    bool seenCommand = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--log") {
            o->log = true;
        } else if (arg == "--module" && hasValue) {
            o->modules.push_back(argv[++i]);
        } else if (arg == "--resize" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &o->width, &o->height) != 2 || o->width < 1 || o->height < 1) {
                std::fprintf(stderr, "zif-run: --resize takes WIDTHxHEIGHT, not %s\n", argv[i]);
                return false;
            }
        } else if (arg == "--pixels" && hasValue) {
            o->pixels = argv[++i];
            if (o->pixels != "yuv420" && o->pixels != "rgb24" && o->pixels != "bgr24" && o->pixels != "rgb32") {
                std::fprintf(stderr, "zif-run: --pixels takes yuv420, rgb24, bgr24 or rgb32, not %s\n", argv[i]);
                return false;
            }
        } else if (arg == "--raw" && hasValue) {
            o->raw = argv[++i];
        } else if (arg == "decode" && !seenCommand) {
            seenCommand = true;
        } else if (arg.rfind("--", 0) != 0 && seenCommand && o->file.empty()) {
            o->file = arg;
        } else {
            std::fputs("usage: zif-run [--log] [--module PATH]... decode FILE [--resize WxH] "
                       "[--pixels yuv420|rgb24|bgr24|rgb32] [--raw FILE]\n",
                       stderr);
            return false;
        }
    }
    return seenCommand && !o->file.empty();
}

int decodeRun(const DecodeOptions &o)
{
    return runInContext(o.log, [&](zif_context *ctx, zif_object **graph) { return decodeIn(ctx, o, graph); });
}
