#include "plugins/dsgraph/decoder_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace systest {

Sink::~Sink()
{
    for (zif_object *s : samples)
        zif_release(s);
    zif_release(queue);
}

std::vector<zif_object *> Sink::data() const
{
    std::vector<zif_object *> out;
    for (zif_object *s : samples)
        if (zif_tableContains(s, "data") || zif_tableContains(s, "yuv.data.y"))
            out.push_back(s);
    return out;
}

namespace {

int32_t sinkConnect(zif_object *port, zif_object *connector)
{
    auto *s = reinterpret_cast<Sink *>(zif_portGetUserData(port));
    zif_release(s->queue);
    s->queue = zif_portConnectorGetQueue(connector);
    return 1;
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

}  // namespace

void DecoderTest::SetUp()
{
    char pattern[] = "/tmp/wyv_sysdec_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    ASSERT_EQ(zif_create(&ctx), 0);
    const char *bin = std::getenv("VANTOREL_BIN_DIR");
    std::string path = std::string(bin ? bin : VANTOREL_BIN_DIR) + "/" + module_;
    ASSERT_EQ(zif_loadPluginModule(ctx, path.c_str()), 1) << path;
    graph = zif_newGraph(ctx, 1);
    ASSERT_NE(graph, nullptr);
}

void DecoderTest::TearDown()
{
    zif_release(graph);
    for (Sink *s : sinks_)
        delete s;
    sinks_.clear();
    zif_destroy(ctx);
    std::filesystem::remove_all(folder_);
}

bool DecoderTest::clip(const std::string &args) const
{
    return std::system(("cd '" + folder_ + "' && ffmpeg -nostdin -v error -y " + args).c_str()) == 0;
}

uint64_t DecoderTest::addCommand(const std::string &name, zif_object *extra)
{
    zif_object *entries = extra ? extra : zif_newTable(ctx);
    zif_tableSetString(entries, "uri", ("file://" + file(name)).c_str());
    zif_object *node = nullptr;
    EXPECT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", entries, "input", &node));
    uint64_t port = zif_graphFindNodePort(graph, zif_nodeGetID(node), "input");
    zif_release(node);
    zif_release(entries);
    return port;
}

int32_t DecoderTest::connect(uint64_t command, uint64_t *decoder)
{
    uint64_t id = zif_graphDirectCreateNode(graph, plugin_.c_str(), nullptr);
    EXPECT_NE(id, 0u);
    if (decoder)
        *decoder = id;
    uint64_t in = zif_graphFindNodePort(graph, id, (plugin_ + ".commandin").c_str());
    return zif_graphCreateConnection(graph, command, in);
}

std::vector<uint64_t> DecoderTest::ports(uint64_t node, int32_t type, const std::string &prefix)
{
    std::vector<uint64_t> ids;
    zif_object *it = zif_graphNewPortIterator(graph, type, -1, nullptr, 0);
    while (zif_object *port = zif_iteratorNext(it)) {
        zif_object *owner = zif_portGetNode(port);
        zif_object *name = zif_portGetName(port);
        if (zif_nodeGetID(owner) == node && std::string(zif_stringGetValue(name)).rfind(prefix, 0) == 0)
            ids.insert(ids.begin(), zif_portGetID(port));
        zif_release(name);
        zif_release(owner);
        zif_release(port);
    }
    zif_release(it);
    return ids;
}

zif_object *DecoderTest::findPort(uint64_t id)
{
    zif_object *found = nullptr;
    zif_object *it = zif_graphNewPortIterator(graph, -1, -1, nullptr, 0);
    while (zif_object *port = zif_iteratorNext(it)) {
        if (zif_portGetID(port) == id && !found)
            found = port;
        else
            zif_release(port);
    }
    zif_release(it);
    return found;
}

std::string DecoderTest::portName(uint64_t id)
{
    zif_object *port = findPort(id);
    zif_object *name = port ? zif_portGetName(port) : nullptr;
    std::string out = name ? zif_stringGetValue(name) : "";
    zif_release(name);
    zif_release(port);
    return out;
}

zif_object *DecoderTest::portDescription(uint64_t id)
{
    zif_object *port = findPort(id);
    zif_object *d = port ? zif_portGetDescription(port) : nullptr;
    zif_release(port);
    return d;
}

Sink *DecoderTest::addWantingSink(zif_object *description)
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
    zif_portSetMinConnections(in, 1);
    zif_release(in);
    zif_release(node);
    return s;
}

Sink *DecoderTest::addSink(uint64_t output)
{
    auto *s = new Sink;
    sinks_.push_back(s);
    zif_object *node = zif_graphAddNewNode(graph, "test.sink");
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(s));
    zif_nodeSetWorkFunc(node, sinkWork);
    zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "test.sink.in");
    zif_portSetUserData(in, reinterpret_cast<intptr_t>(s));
    zif_portSetOnConnectFunc(in, sinkConnect);
    EXPECT_EQ(zif_graphCreateConnection(graph, output, zif_portGetID(in)), 1);
    zif_release(in);
    zif_release(node);
    return s;
}

bool DecoderTest::runToEnd(int maxPasses)
{
    for (int i = 0; i < maxPasses; ++i) {
        if (zif_graphGetFinishedForNow(graph))
            return true;
        if (!zif_graphWork(graph))
            return false;
    }
    return false;
}

std::string bytesOf(zif_object *sample, const char *key)
{
    const uint8_t *bytes = nullptr;
    int32_t size = 0;
    if (!zif_tableGetData(sample, key, &bytes, &size, nullptr, 0) || !bytes)
        return {};
    return std::string(reinterpret_cast<const char *>(bytes), static_cast<size_t>(size));
}

double secondsOf(zif_object *sample) { return zif_tableGetDouble(sample, "presentationtime", -1); }

std::string shell(const std::string &command)
{
    std::string out;
    FILE *p = popen(command.c_str(), "r");
    if (!p)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
        out.append(buffer, n);
    pclose(p);
    return out;
}

}  // namespace systest
