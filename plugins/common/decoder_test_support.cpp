#include "plugins/common/decoder_test_support.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace plugintest {

namespace {

int32_t sinkConnect(zif_object *port, zif_object *connector)
{
    auto *r = reinterpret_cast<Received *>(zif_portGetUserData(port));
    zif_release(r->queue);
    r->queue = zif_portConnectorGetQueue(connector);
    return 1;
}

int32_t sinkWork(zif_object *node)
{
    auto *r = reinterpret_cast<Received *>(zif_nodeGetUserData(node));
    while (r->queue && zif_listGetEntryCount(r->queue) > 0) {
        zif_object *sample = zif_listRemoveFirst(r->queue);
        if (zif_tableGetInt(sample, "endofstream", 0))
            r->ended = true;
        if (zif_tableContains(sample, "data"))
            r->samples.push_back(sample);
        else
            zif_release(sample);
    }
    return zif_nodeSetFinishedForNow(node, r->ended);
}

}  // namespace

void DecoderTest::SetUp()
{
    char pattern[] = "/tmp/wyv_decoder_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    ASSERT_EQ(zif_create(&ctx), 0);
    graph = zif_newGraph(ctx, 1);
    ASSERT_NE(graph, nullptr);
}

void DecoderTest::TearDown()
{
    zif_release(graph);
    graph = nullptr;
    for (Received *r : outputs) {
        for (zif_object *s : r->samples)
            zif_release(s);
        zif_release(r->queue);
        zif_release(r->description);
        delete r;
    }
    outputs.clear();
    zif_destroy(ctx);
    ctx = nullptr;
    std::filesystem::remove_all(folder_);
}

int32_t DecoderTest::loadModule(const std::string &name)
{
    const char *bin = std::getenv("VANTOREL_BIN_DIR");
    std::string path = name.find('/') != std::string::npos ? name : std::string(bin ? bin : VANTOREL_BIN_DIR) + "/" + name;
    return zif_loadPluginModule(ctx, path.c_str());
}

bool DecoderTest::clip(const std::string &args)
{
    std::string command = "cd '" + folder_ + "' && ffmpeg -nostdin -v error -y " + args;
    return std::system(command.c_str()) == 0;
}

std::string DecoderTest::run(const std::string &command)
{
    std::string full = "cd '" + folder_ + "' && " + command;
    std::string out;
    if (FILE *p = popen(full.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        size_t got;
        while ((got = fread(buffer.data(), 1, buffer.size(), p)) > 0)
            out.append(buffer.data(), got);
        pclose(p);
    }
    return out;
}

int32_t DecoderTest::open(const std::string &plugin, const std::string &uri, zif_object *extra)
{
    zif_object *entries = extra ? zif_addRef(extra) : zif_newTable(ctx);
    zif_tableSetString(entries, "uri", uri.c_str());
    zif_object *command = nullptr;
    EXPECT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", entries, "input", &command));
    uint64_t out = zif_graphFindNodePort(graph, zif_nodeGetID(command), "input");
    zif_release(command);
    zif_release(entries);
    decoder = zif_graphDirectCreateNode(graph, plugin.c_str(), nullptr);
    EXPECT_NE(decoder, 0u) << plugin;
    uint64_t in = zif_graphFindNodePort(graph, decoder, (plugin + ".commandin").c_str());
    return zif_graphCreateConnection(graph, out, in);
}

bool DecoderTest::decodeAll()
{
    std::vector<zif_object *> ports;
    zif_object *it = zif_graphNewPortIterator(graph, ZIF_PORT_OUTPUT, -1, nullptr, 0);
    while (zif_object *port = zif_iteratorNext(it)) {
        zif_object *node = zif_portGetNode(port);
        if (zif_nodeGetID(node) == decoder)
            ports.insert(ports.begin(), zif_addRef(port));
        zif_release(node);
        zif_release(port);
    }
    zif_release(it);
    bool ok = true;
    for (zif_object *port : ports) {
        auto *r = new Received;
        outputs.push_back(r);
        zif_object *name = zif_portGetName(port);
        r->portName = name ? zif_stringGetValue(name) : "";
        zif_release(name);
        r->description = zif_portGetDescription(port);
        zif_object *node = zif_graphAddNewNode(graph, "test.sink");
        zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(r));
        zif_nodeSetWorkFunc(node, sinkWork);
        zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "test.sink.in");
        zif_portSetDescription(in, r->description);
        zif_portSetUserData(in, reinterpret_cast<intptr_t>(r));
        zif_portSetOnConnectFunc(in, sinkConnect);
        ok = ok && zif_graphCreateConnection(graph, zif_portGetID(port), zif_portGetID(in)) == 1;
        zif_release(in);
        zif_release(node);
        zif_release(port);
    }
    for (int pass = 0; ok && pass < 1000000; ++pass) {
        bool all = true;
        for (Received *r : outputs)
            all = all && r->ended;
        if (all)
            return true;
        if (!zif_graphWork(graph))
            return false;
    }
    return false;
}

std::string dataOf(zif_object *sample)
{
    const uint8_t *bytes = nullptr;
    int32_t size = 0;
    if (!zif_tableGetData(sample, "data", &bytes, &size, nullptr, 0))
        return {};
    return std::string(reinterpret_cast<const char *>(bytes), static_cast<size_t>(size));
}

double secondsOf(zif_object *sample, const char *key) { return zif_tableGetDouble(sample, key, -1); }

std::string fileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace plugintest
