// Files through the built-in reader and writer: chunking, byte-exact copies
// with zif-run, and a writer that never truncates an existing file unless
// the copy completes.
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class FileCopy : public GraphTest {
protected:
    void SetUp() override
    {
        GraphTest::SetUp();
        char pattern[] = "/tmp/zif_copy_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        built = own(zif_newGraph(ctx, 1));
    }

    void TearDown() override
    {
        GraphTest::TearDown();
        fs::remove_all(dir);
    }

    static void write(const fs::path &path, const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    static std::string read(const fs::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static std::string pattern(size_t size)
    {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
        return bytes;
    }

    void command(const char *verb, const std::string &entries, const char *name)
    {
        ASSERT_EQ(zif_graphAddNewStaticCommandNode(built, verb, value(entries), name, nullptr), 1);
    }

    static std::string quoted(const fs::path &path) { return "'" + path.string() + "'"; }

    int runTool(const std::string &arguments)
    {
        std::string line = std::string(VANTOREL_BIN_DIR) + "/zif-run " + arguments + " 2>" + (dir / "stderr").string();
        return std::system(line.c_str());
    }

    size_t filesIn(const fs::path &folder)
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path dir;
    zif_object *built = nullptr;
};

struct Chunk {
    int64_t position;
    int32_t size;
    int64_t end;
    bool operator==(const Chunk &) const = default;
};

struct Sink {
    zif_object *queue = nullptr;
    std::vector<Chunk> chunks;
};

int32_t sinkConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    reinterpret_cast<Sink *>(zif_nodeGetUserData(node))->queue = zif_portConnectorGetQueue(connector);
    zif_release(node);
    return 1;
}

int32_t sinkWork(zif_object *node)
{
    auto *sink = reinterpret_cast<Sink *>(zif_nodeGetUserData(node));
    while (zif_object *s = zif_listRemoveFirst(sink->queue)) {
        const uint8_t *bytes = nullptr;
        int32_t size = -1;
        zif_tableGetData(s, "data", &bytes, &size, nullptr, -1);
        sink->chunks.push_back({zif_tableGetInt(s, "posbytes", -1), size, zif_tableGetInt(s, "endofstream", -1)});
        if (sink->chunks.back().end)
            zif_nodeSetFinishedForNow(node, 1);
        zif_release(s);
    }
    return 1;
}

TEST_F(FileCopy, ReaderHandsOutChunksOf8192)
{
    struct Case {
        size_t size;
        std::vector<Chunk> chunks;
    } cases[] = {
        {20000, {{0, 8192, 0}, {8192, 8192, 0}, {16384, 3616, 1}}},
        // A multiple of the chunk size ends with an empty end-of-stream chunk.
        {8192, {{0, 8192, 0}, {8192, 0, 1}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.size);
        zif_object *g = own(zif_newGraph(ctx, 1));
        write(dir / "in.bin", pattern(c.size));
        ASSERT_EQ(zif_graphAddNewStaticCommandNode(g, "read", value("{uri: \"" + (dir / "in.bin").string() + "\"}"),
                                                   "input", nullptr),
                  1);
        Sink sink;
        zif_object *n = own(zif_graphAddNewNode(g, "sink"));
        zif_nodeSetUserData(n, reinterpret_cast<intptr_t>(&sink));
        zif_nodeSetWorkFunc(n, sinkWork);
        zif_object *in = own(zif_nodeAddNewPort(n, ZIF_PORT_INPUT, "sink.in"));
        zif_portSetDescription(in, value("{portclass: \"data\", format: \"unknown\"}"));
        zif_portSetOnConnectFunc(in, sinkConnect);
        ASSERT_EQ(zif_graphBuild(g), 1);
        for (int pass = 0; pass < 10 && !zif_graphGetFinishedForNow(g); ++pass)
            ASSERT_EQ(zif_graphWork(g), 1);
        EXPECT_EQ(sink.chunks, c.chunks);
        zif_release(sink.queue);
    }
}

TEST_F(FileCopy, ZifRunCopiesByteForByte)
{
    for (size_t size : {size_t{0}, size_t{8192}, size_t{20000}, size_t{1} << 20}) {
        SCOPED_TRACE(size);
        std::string bytes = pattern(size);
        write(dir / "in", bytes);
        ASSERT_EQ(runTool("copy " + quoted(dir / "in") + " " + quoted(dir / "out copy #1")), 0)
            << read(dir / "stderr");
        EXPECT_EQ(read(dir / "out copy #1"), bytes);
    }
    EXPECT_EQ(filesIn(dir), 3u);  // in, the copy, stderr: no temporary left behind
}

TEST_F(FileCopy, ZifRunDumpsTheBuiltGraphAndReportsFailures)
{
    write(dir / "in", "abc");
    std::string dump = (dir / "dump.xml").string();
    ASSERT_EQ(runTool("dump " + (dir / "in").string() + " " + (dir / "out").string() + " >" + dump), 0);
    std::string xml = read(dump);
    EXPECT_NE(xml.find("name=\"filereader\""), std::string::npos);
    EXPECT_NE(xml.find("name=\"filewriter\""), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "out"));

    EXPECT_NE(runTool("--log copy " + (dir / "missing").string() + " " + (dir / "out").string()), 0);
    std::string err = read(dir / "stderr");
    EXPECT_NE(err.find("cannot build the graph (error 20)"), std::string::npos) << err;
    EXPECT_NE(err.find("applying FAILED!"), std::string::npos);
    EXPECT_NE(err.find("cannot read " + (dir / "missing").string() + ": No such file or directory"), std::string::npos)
        << err;

    EXPECT_NE(runTool("copy " + (dir / "in").string() + " " + (dir / "nofolder" / "out").string()), 0);
    err = read(dir / "stderr");
    EXPECT_NE(err.find("cannot write into " + (dir / "nofolder").string() + "/: No such file or directory"),
              std::string::npos)
        << err;
    EXPECT_NE(runTool("copy onlyone"), 0);
}

// A search that serves the write command but cannot finish the graph leaves
// the existing file as it was.
TEST_F(FileCopy, AbandonedWriterLeavesTheExistingFile)
{
    write(dir / "keep", "precious");
    command("write", "{uri: \"" + (dir / "keep").string() + "\", contentdescription: {format: \"nothing serves this\"}}", "output");
    EXPECT_EQ(zif_graphBuild(built), 0);
    EXPECT_EQ(read(dir / "keep"), "precious");
    EXPECT_EQ(filesIn(dir), 1u);
}

TEST_F(FileCopy, WriterWithoutContentDescriptionTouchesNothing)
{
    write(dir / "keep", "precious");
    command("write", "{uri: \"" + (dir / "keep").string() + "\"}", "output");
    EXPECT_EQ(zif_graphBuild(built), 0);
    EXPECT_EQ(read(dir / "keep"), "precious");
    EXPECT_EQ(filesIn(dir), 1u);
}

TEST_F(FileCopy, ReaderRefusesOtherSchemes)
{
    command("read", "{uri: \"http://example.org/x\"}", "input");
    command("write", "{uri: \"" + (dir / "out").string() + "\", contentdescription: {portclass: \"data\"}}", "output");
    EXPECT_EQ(zif_graphBuild(built), 0);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_BUILD_FAILED);
    EXPECT_EQ(zif_graphFindNode(built, "filereader"), 0u);
    EXPECT_FALSE(fs::exists(dir / "out"));
}

}  // namespace
