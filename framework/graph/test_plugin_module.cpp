// libzif_testplug.so: a plug-in module for tests and benchmarks. Its plug-in
// "testplug.generator" creates a source of small "yuv.separate" frames
// (4:2:0) whose luma bytes all hold 8 x the frame number, at a given rate.
// Direct-create description: {"frames": count, "framerate": rate,
// "width": w, "height": h} (defaults 25, 25, 4, 2).
//
// Node kinds that misbehave, for running boxed: "testplug.crash" and
// "testplug.hang" are sources whose work crashes the process or never
// returns; "testplug.log" logs to its graph and its context when created
// and when it works, and sets its debug text; "testplug.pair" creates two
// generators (the first one's ID is returned).
#include "framework/include/zif.h"

#include <csignal>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Generator {
    int64_t frames;
    int64_t produced = 0;
    int64_t width, height;
    zif_object *rate;  // frames per second, as given
    zif_object *queue = nullptr;
};

Generator *generatorOf(zif_object *node) { return reinterpret_cast<Generator *>(zif_nodeGetUserData(node)); }

void generatorDestroy(zif_object *node)
{
    Generator *g = generatorOf(node);
    zif_release(g->rate);
    zif_release(g->queue);
    delete g;
}

bool setLayout(zif_object *t, const Generator *g)
{
    const char *planes[] = {"y", "u", "v"};
    bool ok = zif_tableSetString(t, "portclass", "data") && zif_tableSetString(t, "format", "yuv.separate") &&
              zif_tableSetInt(t, "width", g->width) && zif_tableSetInt(t, "height", g->height);
    for (int i = 0; i < 3 && ok; ++i) {
        int64_t ratio = i == 0 ? 1 : 2;
        std::string p = planes[i];
        ok = zif_tableSetInt(t, ("yuv.hratio." + p).c_str(), ratio) && zif_tableSetInt(t, ("yuv.vratio." + p).c_str(), ratio) &&
             zif_tableSetInt(t, ("yuv.linedelta." + p).c_str(), (g->width + ratio - 1) / ratio) &&
             zif_tableSetInt(t, ("yuv.firstlineoffset." + p).c_str(), 0);
    }
    return ok;
}

zif_object *frame(zif_context *context, const Generator *g, int64_t k)
{
    zif_object *t = zif_newTable(context);
    bool ok = t && setLayout(t, g);
    const char *planes[] = {"yuv.data.y", "yuv.data.u", "yuv.data.v"};
    for (int i = 0; i < 3 && ok; ++i) {
        int64_t ratio = i == 0 ? 1 : 2;
        auto size = static_cast<int32_t>(((g->width + ratio - 1) / ratio) * ((g->height + ratio - 1) / ratio));
        std::string bytes(static_cast<size_t>(size), static_cast<char>(i == 0 ? (k * 8) & 0xFF : 128));
        ok = zif_tableSetData(t, planes[i], bytes.data(), size);
    }
    // presentationtime = k / rate, exactly.
    zif_object *kValue = zif_newInt(context, k);
    zif_object *period = zif_numberInvert(g->rate);
    zif_object *time = kValue && period ? zif_numberMul(kValue, period) : nullptr;
    zif_object *exact = time ? zif_numberGetFractValue(time, nullptr) : nullptr;
    ok = ok && exact && zif_tableSet(t, "presentationtime", exact) &&
         zif_tableSetInt(t, "endofstream", k + 1 == g->frames ? 1 : 0);
    for (zif_object *o : {kValue, period, time, exact})
        zif_release(o);
    if (!ok) {
        zif_release(t);
        return nullptr;
    }
    return t;
}

// Up to four frames per pass, as long as the output queue has room.
int32_t generatorWork(zif_object *node)
{
    Generator *g = generatorOf(node);
    if (!g->queue)
        return 1;
    zif_context *context = zif_objectGetContext(node);
    for (int i = 0; i < 4 && g->produced < g->frames && zif_listHasFreeSlots(g->queue, 1); ++i) {
        zif_object *f = frame(context, g, g->produced);
        bool ok = f && zif_listAdd(g->queue, f);
        zif_release(f);
        if (!ok)
            return 0;
        ++g->produced;
    }
    return zif_nodeSetFinishedForNow(node, g->produced == g->frames);
}

int32_t outConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    Generator *g = generatorOf(node);
    zif_release(node);
    zif_release(g->queue);
    g->queue = zif_portConnectorGetQueue(connector);
    return zif_listSetMaxEntryCount(g->queue, 8);
}

[[maybe_unused]] uint64_t generatorCreate(zif_object *, zif_object *graph, zif_object *description)
{
    zif_context *context = zif_objectGetContext(graph);
    auto *g = new Generator{zif_tableGetInt(description, "frames", 25), 0, zif_tableGetInt(description, "width", 4),
                            zif_tableGetInt(description, "height", 2), zif_tableGet(description, "framerate"), nullptr};
    if (!g->rate)
        g->rate = zif_newInt(context, 25);
    zif_object *node = zif_graphAddNewNode(graph, "testplug.generator");
    if (!node) {
        zif_release(g->rate);
        delete g;
        return 0;
    }
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(g));
    zif_nodeSetDestroyFunc(node, generatorDestroy);
    zif_nodeSetWorkFunc(node, generatorWork);
    zif_object *out = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, "testplug.generator.out");
    zif_object *d = zif_newTable(context);
    bool ok = out && d && setLayout(d, g) && zif_tableSet(d, "framerate", g->rate) &&
              zif_tableSetInt(d, "framerateexact", 1) && zif_portSetDescription(out, d) &&
              zif_portSetOnConnectFunc(out, outConnect);
    zif_release(d);
    zif_release(out);
    uint64_t id = ok ? zif_nodeGetID(node) : 0;
    zif_release(node);
    return id;
}

// A node with one output port and the given work, named after its kind.
uint64_t misbehavingCreate(zif_object *graph, const char *kind, zif_nodeWorkFunc work)
{
    zif_object *node = zif_graphAddNewNode(graph, kind);
    if (!node)
        return 0;
    zif_nodeSetWorkFunc(node, work);
    zif_object *out = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, (std::string(kind) + ".out").c_str());
    uint64_t id = out ? zif_nodeGetID(node) : 0;
    zif_release(out);
    zif_release(node);
    return id;
}

int32_t crashWork(zif_object *)
{
    rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    std::signal(SIGSEGV, SIG_DFL);
    std::raise(SIGSEGV);
    return 0;
}

int32_t hangWork(zif_object *)
{
    for (;;)
        pause();
}

int32_t logWork(zif_object *node)
{
    zif_object *graph = zif_nodeGetGraph(node);
    int32_t ok = zif_graphLog(graph, ZIF_LOG_INFO, "testplug.log", "working") &&
                 zif_nodeSetDebugText(node, "worked") && zif_nodeSetFinishedForNow(node, 1);
    zif_release(graph);
    return ok;
}

[[maybe_unused]] uint64_t crashCreate(zif_object *, zif_object *graph, zif_object *)
{
    return misbehavingCreate(graph, "testplug.crash", crashWork);
}

[[maybe_unused]] uint64_t hangCreate(zif_object *, zif_object *graph, zif_object *)
{
    return misbehavingCreate(graph, "testplug.hang", hangWork);
}

[[maybe_unused]] uint64_t logCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_log(zif_objectGetContext(graph), ZIF_LOG_WARNING, "testplug.log", "created");
    zif_graphLog(graph, ZIF_LOG_INFO, "testplug.log", "node added");
    return misbehavingCreate(graph, "testplug.log", logWork);
}

[[maybe_unused]] uint64_t pairCreate(zif_object *plugin, zif_object *graph, zif_object *description)
{
    uint64_t first = generatorCreate(plugin, graph, description);
    return first && generatorCreate(plugin, graph, description) ? first : 0;
}

[[maybe_unused]] bool registerKind(zif_context *context, const char *name, zif_pluginDirectCreateNodeFunc create)
{
    zif_object *plugin = zif_newPlugin(context, name);
    if (!plugin)
        return false;
    zif_pluginSetDirectCreateNodeFunc(plugin, create);
    zif_release(plugin);
    return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t zif_pluginModuleInit(zif_context *context, const char *,
                                                                                void *)
{
#ifdef ZIF_TESTPLUG_INIT_FAILS
    zif_setLastError(context, ZIF_ERR_MISSING_ENTRY);
    return 0;
#else
    zif_object *plugin = zif_newPlugin(context, "testplug.generator");
    if (!plugin)
        return 0;
    zif_pluginSetDirectCreateNodeFunc(plugin, generatorCreate);
    zif_object *extensions = zif_newList(context);
    zif_listAddString(extensions, "gen");
    zif_pluginSetDecodeFileExtensions(plugin, extensions);
    zif_release(extensions);
    zif_release(plugin);
    return registerKind(context, "testplug.crash", crashCreate) && registerKind(context, "testplug.hang", hangCreate) &&
           registerKind(context, "testplug.log", logCreate) && registerKind(context, "testplug.pair", pairCreate);
#endif
}
