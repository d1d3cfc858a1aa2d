#include "plugins/ffmpeg/plugin_test_support.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace fftest {

bool makeClip(const std::string &folder, const std::string &args)
{
    std::string command = "cd '" + folder + "' && ffmpeg -nostdin -v error -y " + args;
    return std::system(command.c_str()) == 0;
}

Sink::~Sink()
{
    for (zif_object *s : samples)
        zif_release(s);
    zif_release(queue);
    zif_release(agreed);
}

std::vector<zif_object *> Sink::pictures() const
{
    std::vector<zif_object *> out;
    for (zif_object *s : samples)
        if (zif_tableContains(s, "data") || zif_tableContains(s, "yuv.data.y"))
            out.push_back(s);
    return out;
}

Source::~Source()
{
    for (zif_object *s : pending)
        zif_release(s);
    zif_release(queue);
}

namespace {

int32_t sinkConnect(zif_object *port, zif_object *connector)
{
    auto *s = reinterpret_cast<Sink *>(zif_portGetUserData(port));
    zif_release(s->queue);
    zif_release(s->agreed);
    s->queue = zif_portConnectorGetQueue(connector);
    s->agreed = zif_portConnectorGetDescription(connector);
    return zif_listSetMaxEntryCount(s->queue, 2);
}

int32_t sinkWork(zif_object *node)
{
    auto *s = reinterpret_cast<Sink *>(zif_nodeGetUserData(node));
    while (s->queue && zif_listGetEntryCount(s->queue) > 0) {
        zif_object *sample = zif_listRemoveFirst(s->queue);
        if (zif_tableGetInt(sample, "endofstream", 0))
            s->ended = true;
        s->samples.push_back(sample);
    }
    return zif_nodeSetFinishedForNow(node, s->ended);
}

int32_t sourceConnect(zif_object *port, zif_object *connector)
{
    auto *s = reinterpret_cast<Source *>(zif_portGetUserData(port));
    zif_release(s->queue);
    s->queue = zif_portConnectorGetQueue(connector);
    return 1;
}

int32_t sourceWork(zif_object *node)
{
    auto *s = reinterpret_cast<Source *>(zif_nodeGetUserData(node));
    if (s->queue && zif_listGetEntryCount(s->queue) == 0 && !s->pending.empty()) {
        zif_object *next = s->pending.front();
        s->pending.erase(s->pending.begin());
        zif_listAdd(s->queue, next);
        zif_release(next);
    }
    return zif_nodeSetFinishedForNow(node, s->pending.empty());
}

}  // namespace

void PluginTest::SetUp()
{
    char pattern[] = "/tmp/wyv_ffmpeg_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    ASSERT_EQ(zif_create(&ctx), 0);
    const char *bin = std::getenv("VANTOREL_BIN_DIR");
    std::string module = std::string(bin ? bin : VANTOREL_BIN_DIR) + "/libwyv_ffmpeg.so";
    ASSERT_EQ(zif_loadPluginModule(ctx, module.c_str()), 1) << module;
    graph = zif_newGraph(ctx, 1);
    ASSERT_NE(graph, nullptr);
}

void PluginTest::TearDown()
{
    zif_release(graph);
    graph = nullptr;
    for (Sink *s : sinks_)
        delete s;
    for (Source *s : sources_)
        delete s;
    sinks_.clear();
    sources_.clear();
    zif_destroy(ctx);
    ctx = nullptr;
    std::filesystem::remove_all(folder_);
}

uint64_t PluginTest::addCommand(const std::string &uri, zif_object *extra)
{
    zif_object *entries = extra ? zif_addRef(extra) : zif_newTable(ctx);
    zif_tableSetString(entries, "uri", uri.c_str());
    zif_object *node = nullptr;
    EXPECT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", entries, "input", &node));
    uint64_t port = zif_graphFindNodePort(graph, zif_nodeGetID(node), "input");
    zif_release(node);
    zif_release(entries);
    return port;
}

int32_t PluginTest::connectDecoder(uint64_t command, uint64_t *decoder)
{
    uint64_t id = zif_graphDirectCreateNode(graph, "ffmpeg.decoder", nullptr);
    EXPECT_NE(id, 0u);
    if (decoder)
        *decoder = id;
    uint64_t in = zif_graphFindNodePort(graph, id, "ffmpeg.decoder.commandin");
    return zif_graphCreateConnection(graph, command, in);
}

std::vector<uint64_t> PluginTest::decoderPorts(uint64_t decoder, const char *mediatype)
{
    std::vector<uint64_t> ids;
    zif_object *ports = zif_graphNewPortIterator(graph, ZIF_PORT_OUTPUT, -1, nullptr, 0);
    while (zif_object *port = zif_iteratorNext(ports)) {
        zif_object *node = zif_portGetNode(port);
        zif_object *d = zif_portGetDescription(port);
        if (zif_nodeGetID(node) == decoder && std::string(zif_tableGetString(d, "mediatype", "")) == mediatype)
            ids.insert(ids.begin(), zif_portGetID(port));
        zif_release(d);
        zif_release(node);
        zif_release(port);
    }
    zif_release(ports);
    return ids;
}

zif_object *PluginTest::portDescription(uint64_t id)
{
    zif_object *found = nullptr;
    zif_object *ports = zif_graphNewPortIterator(graph, -1, -1, nullptr, 0);
    while (zif_object *port = zif_iteratorNext(ports)) {
        if (zif_portGetID(port) == id && !found)
            found = zif_portGetDescription(port);
        zif_release(port);
    }
    zif_release(ports);
    return found;
}

Sink *PluginTest::addSink(zif_object *description, uint64_t *port, int minimum)
{
    auto *s = new Sink;
    sinks_.push_back(s);
    zif_object *node = zif_graphAddNewNode(graph, "test.sink");
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(s));
    zif_nodeSetWorkFunc(node, sinkWork);
    zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "test.sink.in");
    zif_portSetDescription(in, description);
    zif_portSetUserData(in, reinterpret_cast<intptr_t>(s));
    zif_portSetOnConnectFunc(in, sinkConnect);
    zif_portSetMinConnections(in, minimum);
    if (port)
        *port = zif_portGetID(in);
    zif_release(in);
    zif_release(node);
    return s;
}

Source *PluginTest::addSource(zif_object *description, std::vector<zif_object *> samples, uint64_t *port)
{
    auto *s = new Source;
    sources_.push_back(s);
    s->pending = std::move(samples);
    zif_object *node = zif_graphAddNewNode(graph, "test.source");
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(s));
    zif_nodeSetWorkFunc(node, sourceWork);
    zif_object *out = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, "test.source.out");
    zif_portSetDescription(out, description);
    zif_portSetUserData(out, reinterpret_cast<intptr_t>(s));
    zif_portSetOnConnectFunc(out, sourceConnect);
    if (port)
        *port = zif_portGetID(out);
    zif_release(out);
    zif_release(node);
    return s;
}

bool PluginTest::runToEnd(int maxPasses)
{
    for (int i = 0; i < maxPasses; ++i) {
        if (zif_graphGetFinishedForNow(graph))
            return true;
        if (!zif_graphWork(graph))
            return false;
    }
    return false;
}

int PluginTest::nodesNamed(const char *name)
{
    int count = 0;
    std::vector<uint64_t> seen;
    zif_object *ports = zif_graphNewPortIterator(graph, -1, -1, nullptr, 0);
    while (zif_object *port = zif_iteratorNext(ports)) {
        zif_object *node = zif_portGetNode(port);
        zif_object *n = zif_nodeGetName(node);
        uint64_t id = zif_nodeGetID(node);
        if (std::string(zif_stringGetValue(n)) == name && std::find(seen.begin(), seen.end(), id) == seen.end()) {
            seen.push_back(id);
            ++count;
        }
        zif_release(n);
        zif_release(node);
        zif_release(port);
    }
    zif_release(ports);
    return count;
}

zif_object *PluginTest::table(std::initializer_list<std::pair<const char *, int64_t>> ints)
{
    zif_object *t = zif_newTable(ctx);
    for (const auto &[key, value] : ints)
        zif_tableSetInt(t, key, value);
    return t;
}

std::string planeBytes(zif_object *sample, const char *key)
{
    const uint8_t *bytes = nullptr;
    int32_t size = 0;
    if (!zif_tableGetData(sample, key, &bytes, &size, nullptr, 0) || !bytes)
        return {};
    return std::string(reinterpret_cast<const char *>(bytes), static_cast<size_t>(size));
}

}  // namespace fftest

namespace fftest {

zif_object *yuvDescription(zif_context *ctx, int w, int h)
{
    zif_object *t = zif_newTable(ctx);
    zif_tableSetString(t, "portclass", "data");
    zif_tableSetString(t, "format", "yuv.separate");
    for (const char *k : {"yuv.hratio.y", "yuv.vratio.y"})
        zif_tableSetInt(t, k, 2);
    for (const char *k : {"yuv.hratio.u", "yuv.hratio.v", "yuv.vratio.u", "yuv.vratio.v"})
        zif_tableSetInt(t, k, 1);
    if (w > 0) {
        zif_tableSetInt(t, "width", w);
        zif_tableSetInt(t, "height", h);
    }
    return t;
}

zif_object *yuvPicture(zif_context *ctx, int w, int h, uint8_t y, uint8_t u, uint8_t v, int64_t chromaBytes)
{
    zif_object *t = yuvDescription(ctx, w, h);
    int64_t cw = (w + 1) / 2, ch = (h + 1) / 2;
    std::string Y(static_cast<size_t>(w) * h, static_cast<char>(y));
    std::string U(static_cast<size_t>(chromaBytes >= 0 ? chromaBytes : cw * ch), static_cast<char>(u));
    std::string V(static_cast<size_t>(cw * ch), static_cast<char>(v));
    zif_tableSetData(t, "yuv.data.y", Y.data(), static_cast<int32_t>(Y.size()));
    zif_tableSetData(t, "yuv.data.u", U.data(), static_cast<int32_t>(U.size()));
    zif_tableSetData(t, "yuv.data.v", V.data(), static_cast<int32_t>(V.size()));
    zif_tableSetInt(t, "yuv.linedelta.y", w);
    zif_tableSetInt(t, "yuv.linedelta.u", cw);
    zif_tableSetInt(t, "yuv.linedelta.v", cw);
    zif_tableSetFract(t, "presentationtime", 0, 0, 1);
    return t;
}

zif_object *rgbDescription(zif_context *ctx, int bits, int offsetR)
{
    zif_object *t = zif_newTable(ctx);
    zif_tableSetString(t, "portclass", "data");
    zif_tableSetString(t, "format", "rgb.interleaved");
    zif_tableSetInt(t, "bitsperpixel", bits);
    for (const char *k : {"rgb.bits.r", "rgb.bits.g", "rgb.bits.b"})
        zif_tableSetInt(t, k, 8);
    zif_tableSetInt(t, "rgb.offset.r", offsetR);
    zif_tableSetInt(t, "rgb.offset.g", 8);
    zif_tableSetInt(t, "rgb.offset.b", 16 - offsetR);
    return t;
}

int runZifRun(const std::string &args, std::string *out)
{
    const char *bin = std::getenv("VANTOREL_BIN_DIR");
    std::string command = std::string(bin ? bin : VANTOREL_BIN_DIR) + "/zif-run " + args + " 2>/dev/null";
    FILE *p = popen(command.c_str(), "r");
    if (!p)
        return -1;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        out->append(buffer, n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ffprobe(const std::string &path, const std::string &entries, const std::string &extra)
{
    std::string out;
    std::string command = "ffprobe -v error " + extra + " -select_streams 0 -show_entries " + entries +
                          " -of default=nw=1 '" + path + "' 2>&1";
    if (FILE *p = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (size_t n = std::fread(buffer, 1, sizeof buffer, p))
            out.append(buffer, n);
        pclose(p);
    }
    return out;
}

std::string reportValue(const std::string &report, const std::string &key)
{
    size_t at = report.find(key + "=");
    if (at == std::string::npos)
        return "";
    at += key.size() + 1;
    return report.substr(at, report.find('\n', at) - at);
}

}  // namespace fftest
