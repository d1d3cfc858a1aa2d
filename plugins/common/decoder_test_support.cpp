#include "plugins/common/decoder_test_support.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace plugintest {

Sink::~Sink()
{
    for (zif_object *s : samples)
        zif_release(s);
    zif_release(queue);
    zif_release(description);
    zif_release(agreed);
}

std::vector<zif_object *> Sink::data() const
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
    return s->queueLimit > 0 ? zif_listSetMaxEntryCount(s->queue, s->queueLimit) : 1;
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
    for (Sink *s : sinks_)
        delete s;
    for (Source *s : sources_)
        delete s;
    sinks_.clear();
    sources_.clear();
    outputs.clear();
    decoder = 0;
    zif_destroy(ctx);
    ctx = nullptr;
    std::filesystem::remove_all(folder_);
}

int32_t DecoderTest::loadModule(const std::string &name)
{
    const char *bin = std::getenv("VANTOREL_BIN_DIR");
    std::string path = name.find('/') != std::string::npos ? name : std::string(bin ? bin : VANTOREL_BIN_DIR) + "/" + name;
    int32_t loaded = zif_loadPluginModule(ctx, path.c_str());
    // A graph takes the builders known when it is made: make it anew.
    zif_release(graph);
    graph = zif_newGraph(ctx, 1);
    return loaded;
}

bool DecoderTest::clip(const std::string &args) const
{
    std::string command = "cd '" + folder_ + "' && ffmpeg -nostdin -v error -y " + args;
    return std::system(command.c_str()) == 0;
}

std::string DecoderTest::run(const std::string &command) const
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

uint64_t DecoderTest::addCommand(const std::string &uri, zif_object *extra)
{
    zif_object *entries = extra ? zif_addRef(extra) : zif_newTable(ctx);
    zif_tableSetString(entries, "uri", uri.c_str());
    zif_object *command = nullptr;
    EXPECT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", entries, "input", &command));
    uint64_t port = zif_graphFindNodePort(graph, zif_nodeGetID(command), "input");
    zif_release(command);
    zif_release(entries);
    return port;
}

int32_t DecoderTest::connectDecoder(const std::string &plugin, uint64_t command, uint64_t *node)
{
    decoder = zif_graphDirectCreateNode(graph, plugin.c_str(), nullptr);
    EXPECT_NE(decoder, 0u) << plugin;
    if (node)
        *node = decoder;
    uint64_t in = zif_graphFindNodePort(graph, decoder, (plugin + ".commandin").c_str());
    return zif_graphCreateConnection(graph, command, in);
}

int32_t DecoderTest::open(const std::string &plugin, const std::string &uri, zif_object *extra)
{
    return connectDecoder(plugin, addCommand(uri, extra));
}

std::vector<uint64_t> DecoderTest::decoderPorts(uint64_t node, const char *mediatype)
{
    std::vector<uint64_t> ids;
    for (uint64_t id : ports(node, ZIF_PORT_OUTPUT)) {
        zif_object *d = portDescription(id);
        if (std::string(zif_tableGetString(d, "mediatype", "")) == mediatype)
            ids.push_back(id);
        zif_release(d);
    }
    return ids;
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

Sink *DecoderTest::newSink(zif_object *description, int32_t minimum, uint64_t *input)
{
    auto *s = new Sink;
    s->queueLimit = sinkQueueLimit;
    sinks_.push_back(s);
    zif_object *node = zif_graphAddNewNode(graph, "test.sink");
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(s));
    zif_nodeSetWorkFunc(node, sinkWork);
    zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "test.sink.in");
    if (description)
        zif_portSetDescription(in, description);
    zif_portSetUserData(in, reinterpret_cast<intptr_t>(s));
    zif_portSetOnConnectFunc(in, sinkConnect);
    if (minimum >= 0)
        zif_portSetMinConnections(in, minimum);
    if (input)
        *input = zif_portGetID(in);
    zif_release(in);
    zif_release(node);
    return s;
}

Sink *DecoderTest::addSink(zif_object *description, uint64_t *port, int32_t minimum)
{
    return newSink(description, minimum, port);
}

Source *DecoderTest::addSource(zif_object *description, std::vector<zif_object *> samples, uint64_t *port)
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

Sink *DecoderTest::addSink(uint64_t output)
{
    zif_object *description = portDescription(output);
    uint64_t input = 0;
    Sink *s = newSink(description, -1, &input);
    s->portName = portName(output);
    s->description = description;
    EXPECT_EQ(zif_graphCreateConnection(graph, output, input), 1) << s->portName;
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

bool DecoderTest::decodeAll()
{
    for (uint64_t port : ports(decoder, ZIF_PORT_OUTPUT))
        outputs.push_back(addSink(port));
    for (int pass = 0; pass < 1000000; ++pass) {
        bool all = true;
        for (Sink *s : outputs)
            all = all && s->ended;
        if (all)
            return true;
        if (!zif_graphWork(graph))
            return false;
    }
    return false;
}

Sink *DecoderTest::output(const char *mediatype) const
{
    for (Sink *s : outputs)
        if (std::string(zif_tableGetString(s->description, "mediatype", "")) == mediatype)
            return s;
    return nullptr;
}

int DecoderTest::nodesNamed(const char *name)
{
    std::vector<uint64_t> seen;
    zif_object *it = zif_graphNewPortIterator(graph, -1, -1, nullptr, 0);
    while (zif_object *port = zif_iteratorNext(it)) {
        zif_object *node = zif_portGetNode(port);
        zif_object *n = zif_nodeGetName(node);
        uint64_t id = zif_nodeGetID(node);
        if (std::string(zif_stringGetValue(n)) == name && std::find(seen.begin(), seen.end(), id) == seen.end())
            seen.push_back(id);
        zif_release(n);
        zif_release(node);
        zif_release(port);
    }
    zif_release(it);
    return static_cast<int>(seen.size());
}

zif_object *DecoderTest::table(std::initializer_list<std::pair<const char *, int64_t>> ints)
{
    zif_object *t = zif_newTable(ctx);
    for (const auto &[key, value] : ints)
        zif_tableSetInt(t, key, value);
    return t;
}

std::string bytesOf(zif_object *sample, const char *key)
{
    const uint8_t *bytes = nullptr;
    int32_t size = 0;
    if (!zif_tableGetData(sample, key, &bytes, &size, nullptr, 0) || !bytes)
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
