// Boxed nodes end to end: a real zif_slv runs the test plug-in's nodes while
// the test's graph works with their proxies.
#include "framework/graph/test_graph.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string kModule = std::string(VANTOREL_TEST_LIB_DIR) + "/libzif_testplug.so";
const std::string kBin = VANTOREL_BIN_DIR;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// This process's children whose program is zif_slv (zombies included).
std::vector<pid_t> slaveChildren()
{
    std::vector<pid_t> found;
    DIR *proc = opendir("/proc");
    while (dirent *e = proc ? readdir(proc) : nullptr) {
        pid_t pid = static_cast<pid_t>(std::atoi(e->d_name));
        if (pid <= 0)
            continue;
        std::ifstream stat("/proc/" + std::string(e->d_name) + "/stat");
        std::string line;
        std::getline(stat, line);
        size_t close = line.rfind(')');
        if (close == std::string::npos || line.find("(zif_slv)") == std::string::npos)
            continue;
        std::istringstream rest(line.substr(close + 2));
        char state;
        pid_t parent = 0;
        rest >> state >> parent;
        if (parent == getpid())
            found.push_back(pid);
    }
    if (proc)
        closedir(proc);
    return found;
}

// True when no child of any kind is left, not even a zombie.
bool noChildrenLeft()
{
    return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// A consumer that records what reaches its input: one line per sample.
struct Sink {
    zif_object *queue = nullptr;
    std::vector<std::string> samples;
};

int32_t sinkWork(zif_object *node)
{
    auto *sink = reinterpret_cast<Sink *>(zif_nodeGetUserData(node));
    if (!sink->queue)
        return 1;
    while (zif_listGetEntryCount(sink->queue) > 0) {
        zif_object *sample = zif_listRemoveFirst(sink->queue);
        zif_object *time = zif_tableGetFract(sample, "presentationtime", nullptr);
        const uint8_t *luma = nullptr;
        int32_t size = 0;
        zif_tableGetData(sample, "yuv.data.y", &luma, &size, nullptr, 0);
        int64_t eos = zif_tableGetInt(sample, "endofstream", 0);
        std::ostringstream line;
        line << zif_fractGetIntegralPart(time) << "+" << zif_fractGetNumerator(time) << "/"
             << zif_fractGetDenominator(time) << " y" << (size ? int(luma[0]) : -1) << "x" << size << " eos" << eos;
        sink->samples.push_back(line.str());
        zif_release(time);
        zif_release(sample);
        if (eos)
            zif_nodeSetFinishedForNow(node, 1);
    }
    return 1;
}

int32_t sinkConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    auto *sink = reinterpret_cast<Sink *>(zif_nodeGetUserData(node));
    zif_release(node);
    zif_release(sink->queue);
    sink->queue = zif_portConnectorGetQueue(connector);
    return 1;
}

class Box : public GraphTest {
protected:
    void SetUp() override
    {
        GraphTest::SetUp();
        ASSERT_TRUE(zif_loadPluginModule(ctx, kModule.c_str()));
        unsetenv("ZIF_SLV");
        unsetenv("ZIF_SLV_TIMEOUT_MS");
    }

    void TearDown() override
    {
        for (Sink *s : sinks_)
            zif_release(s->queue);
        GraphTest::TearDown();  // the sinks' nodes go with their graphs
        for (Sink *s : sinks_)
            delete s;
        unsetenv("ZIF_SLV");
        unsetenv("ZIF_SLV_TIMEOUT_MS");
    }

    // A sink connected to the output port named portName of node id.
    Sink *attachSink(zif_object *g, zif_object *output)
    {
        auto *sink = new Sink;
        sinks_.push_back(sink);
        zif_object *n = zif_graphAddNewNode(g, "sink");
        zif_nodeSetUserData(n, reinterpret_cast<intptr_t>(sink));
        zif_nodeSetWorkFunc(n, sinkWork);
        zif_object *in = zif_nodeAddNewPort(n, ZIF_PORT_INPUT, "sink.in");
        zif_portSetOnConnectFunc(in, sinkConnect);
        EXPECT_TRUE(zif_graphCreateConnection(g, zif_portGetID(output), zif_portGetID(in)));
        zif_release(in);
        zif_release(n);
        return sink;
    }

    // Every output port of the graph, newest first (new references: a port
    // held keeps its slave running).
    static std::vector<zif_object *> outputs(zif_object *g)
    {
        std::vector<zif_object *> ports;
        zif_object *it = zif_graphNewPortIterator(g, ZIF_PORT_OUTPUT, -1, nullptr, 0);
        while (zif_object *p = zif_iteratorNext(it))
            ports.push_back(p);
        zif_release(it);
        return ports;
    }

    static void release(std::vector<zif_object *> &objects)
    {
        for (zif_object *o : objects)
            zif_release(o);
        objects.clear();
    }

    // Works the graph until it is finished for now; false when a pass fails.
    bool runToEnd(zif_object *g)
    {
        for (int pass = 0; pass < 1000 && !zif_graphGetFinishedForNow(g); ++pass)
            if (!zif_graphWork(g))
                return false;
        return zif_graphGetFinishedForNow(g) != 0;
    }

    // The generator's samples as a sink records them, boxed or in-process.
    std::vector<std::string> generated(bool boxed, size_t *slavesDuringWork)
    {
        zif_object *g = own(zif_newGraph(ctx, 0));
        zif_object *description = value("{frames: 7, framerate: 30000/1001, width: 6, height: 4}");
        uint64_t id = boxed ? zif_graphDirectCreateNodeInBox(g, "testplug.generator", description)
                            : zif_graphDirectCreateNode(g, "testplug.generator", description);
        EXPECT_NE(id, 0u) << "error " << zif_getLastError(ctx);
        std::vector<zif_object *> out = outputs(g);
        EXPECT_EQ(out.size(), 1u);
        if (out.size() != 1)
            return {};
        Sink *sink = attachSink(g, out[0]);
        release(out);
        EXPECT_TRUE(runToEnd(g)) << "error " << zif_getLastError(ctx);
        *slavesDuringWork = slaveChildren().size();
        return sink->samples;
    }

    // Writes an executable shell script and returns its path.
    std::string script(const std::string &name, const std::string &body)
    {
        std::string path = ::testing::TempDir() + "/" + name + std::to_string(getpid()) + ".sh";
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        chmod(path.c_str(), 0755);
        return path;
    }

    // A boxed node of the given kind with a sink on its output.
    uint64_t boxWithSink(const char *kind, zif_object *g = nullptr)
    {
        g = g ? g : graph;
        uint64_t id = zif_graphDirectCreateNodeInBox(g, kind, nullptr);
        EXPECT_NE(id, 0u) << "error " << zif_getLastError(ctx);
        std::vector<zif_object *> out = outputs(g);
        for (zif_object *p : out)
            attachSink(g, p);
        release(out);
        return id;
    }

private:
    std::vector<Sink *> sinks_;
};

TEST_F(Box, ABoxedGeneratorDeliversWhatItDoesInProcess)
{
    size_t slaves = 0;
    std::vector<std::string> local = generated(false, &slaves);
    EXPECT_EQ(slaves, 0u);
    std::vector<std::string> boxed = generated(true, &slaves);
    EXPECT_EQ(slaves, 1u);
    ASSERT_EQ(local.size(), 7u);
    EXPECT_EQ(local.front(), "0+0/1 y0x24 eos0");
    EXPECT_EQ(local.back(), "0+1001/5000 y48x24 eos1");
    EXPECT_EQ(boxed, local);
}

TEST_F(Box, TheSlaveEndsWithItsLastProxy)
{
    zif_object *g = zif_newGraph(ctx, 0);
    ASSERT_NE(zif_graphDirectCreateNodeInBox(g, "testplug.generator", value("{frames: 2}")), 0u);
    EXPECT_EQ(slaveChildren().size(), 1u);
    zif_release(g);
    EXPECT_TRUE(slaveChildren().empty());
    EXPECT_TRUE(noChildrenLeft());
}

TEST_F(Box, TwoProxiesShareOneSlave)
{
    zif_object *g = zif_newGraph(ctx, 0);
    ASSERT_NE(zif_graphDirectCreateNodeInBox(g, "testplug.pair", value("{frames: 3}")), 0u);
    std::vector<zif_object *> out = outputs(g);
    ASSERT_EQ(out.size(), 2u);
    Sink *first = attachSink(g, out[0]);
    Sink *second = attachSink(g, out[1]);
    ASSERT_TRUE(runToEnd(g)) << "error " << zif_getLastError(ctx);
    EXPECT_EQ(first->samples.size(), 3u);
    EXPECT_EQ(second->samples, first->samples);
    EXPECT_EQ(slaveChildren().size(), 1u);

    // One proxy outlives the graph; the other is gone. The slave stays.
    zif_object *kept = zif_portGetNode(out[1]);
    release(out);
    zif_release(g);
    EXPECT_EQ(slaveChildren().size(), 1u);
    zif_release(kept);
    EXPECT_TRUE(slaveChildren().empty());
    EXPECT_TRUE(noChildrenLeft());
}

TEST_F(Box, ABuiltInPlugInCannotBeBoxed)
{
    zif_clearLastError(ctx);
    EXPECT_EQ(zif_graphDirectCreateNodeInBox(graph, "filereader", nullptr), 0u);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NO_DIRECT_CREATE);
    EXPECT_EQ(zif_graphDirectCreateNodeInBox(graph, "no.such.plugin", nullptr), 0u);
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_NOT_FOUND);
    EXPECT_TRUE(noChildrenLeft());
}

TEST_F(Box, StartFailures)
{
    struct Case {
        const char *what;
        std::string program;
        const char *timeoutMs;
        int32_t error;
        double atLeast, below;
    } cases[] = {
        {"missing program", "/nonexistent/zif_slv", nullptr, ZIF_ERR_SLAVE_START, 0, 5},
        {"a program that ends at once", "/bin/true", nullptr, ZIF_ERR_SLAVE_NOT_CONNECTED, 0, 5},
        {"a program that never connects", script("sleeper", "exec sleep 30"), "700", ZIF_ERR_SLAVE_NOT_CONNECTED,
         0.6, 10},
    };
    for (const Case &c : cases) {
        setenv("ZIF_SLV", c.program.c_str(), 1);
        if (c.timeoutMs)
            setenv("ZIF_SLV_TIMEOUT_MS", c.timeoutMs, 1);
        zif_clearLastError(ctx);
        Clock::time_point start = Clock::now();
        EXPECT_EQ(zif_graphDirectCreateNodeInBox(graph, "testplug.generator", nullptr), 0u) << c.what;
        double seconds = secondsSince(start);
        EXPECT_EQ(zif_getLastError(ctx), c.error) << c.what;
        EXPECT_GE(seconds, c.atLeast) << c.what;
        EXPECT_LT(seconds, c.below) << c.what;
        EXPECT_TRUE(noChildrenLeft()) << c.what;
    }
}

TEST_F(Box, AModuleTheSlaveCannotLoadFailsWith12)
{
    std::string copy = ::testing::TempDir() + "/vanishing_testplug" + std::to_string(getpid()) + ".so";
    {
        std::ifstream in(kModule, std::ios::binary);
        std::ofstream out(copy, std::ios::binary);
        out << in.rdbuf();
    }
    zif_context *other = nullptr;
    ASSERT_EQ(zif_create(&other), 0);
    ASSERT_TRUE(zif_loadPluginModule(other, copy.c_str()));
    std::remove(copy.c_str());
    zif_object *g = zif_newGraph(other, 0);
    EXPECT_EQ(zif_graphDirectCreateNodeInBox(g, "testplug.generator", nullptr), 0u);
    EXPECT_EQ(zif_getLastError(other), ZIF_ERR_MODULE_LOAD);
    zif_release(g);
    zif_destroy(other);
    EXPECT_TRUE(noChildrenLeft());
}

TEST_F(Box, ACrashingNodeFailsTheWorkWith33AndTheMasterLivesOn)
{
    boxWithSink("testplug.crash");
    zif_clearLastError(ctx);
    EXPECT_FALSE(zif_graphWork(graph));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_PARTNER_ENDED);
    Clock::time_point start = Clock::now();
    zif_clearLastError(ctx);
    EXPECT_FALSE(zif_graphWork(graph));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_PARTNER_ENDED);
    EXPECT_LT(secondsSince(start), 0.5);
}

TEST_F(Box, KillingTheSlaveDuringWorkGives33)
{
    boxWithSink("testplug.hang");
    std::vector<pid_t> slaves = slaveChildren();
    ASSERT_EQ(slaves.size(), 1u);
    std::thread killer([pid = slaves[0]] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        kill(pid, SIGKILL);
    });
    zif_clearLastError(ctx);
    EXPECT_FALSE(zif_graphWork(graph));
    killer.join();
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_PARTNER_ENDED);
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(zif_graphWork(graph));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_PARTNER_ENDED);
    EXPECT_LT(secondsSince(start), 0.5);
}

TEST_F(Box, AHangingNodeTimesOutWith31)
{
    setenv("ZIF_SLV_TIMEOUT_MS", "1000", 1);
    zif_object *g = zif_newGraph(ctx, 0);
    boxWithSink("testplug.hang", g);
    zif_clearLastError(ctx);
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(zif_graphWork(g));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WAIT);
    EXPECT_GE(secondsSince(start), 0.9);
    EXPECT_LT(secondsSince(start), 10);
    EXPECT_FALSE(zif_graphWork(g));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WAIT);
    // Releasing the graph ends the stuck slave at once.
    start = Clock::now();
    zif_release(g);
    EXPECT_LT(secondsSince(start), 3);
    EXPECT_TRUE(noChildrenLeft());
}

TEST_F(Box, TheSlavesLogsDebugTextAndStateReachTheMaster)
{
    uint64_t id = boxWithSink("testplug.log");
    std::vector<std::string> lines = logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "testplug.log|node added"), lines.end());
    zif_object *contextLog = own(zif_getLog(ctx));
    zif_object *text = own(zif_logGetText(contextLog));
    EXPECT_NE(std::string(zif_stringGetValue(text)).find("created"), std::string::npos);
    ASSERT_TRUE(zif_graphWork(graph)) << "error " << zif_getLastError(ctx);
    lines = logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "testplug.log|working"), lines.end());
    EXPECT_EQ(textOf(zif_graphGetNodeDebugText(graph, id)), "worked");
}

TEST_F(Box, ASlaveStuckInItsNodeEndsWhenItsMasterDies)
{
    // The orphaned slave comes to this process, so its end can be seen.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    int working[2];
    ASSERT_EQ(pipe(working), 0);
    pid_t master = fork();
    if (master == 0) {
        zif_context *c = nullptr;
        zif_create(&c);
        zif_loadPluginModule(c, kModule.c_str());
        zif_object *g = zif_newGraph(c, 0);
        if (!zif_graphDirectCreateNodeInBox(g, "testplug.hang", nullptr))
            _exit(1);
        char byte = 'w';
        if (write(working[1], &byte, 1) != 1)
            _exit(1);
        zif_graphWork(g);  // never returns: the node hangs
        _exit(2);
    }
    char byte = 0;
    ASSERT_EQ(read(working[0], &byte, 1), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(master, SIGKILL);
    ASSERT_EQ(waitpid(master, nullptr, 0), master);
    // The slave, now this process's child, ends by itself.
    Clock::time_point start = Clock::now();
    std::vector<pid_t> slaves;
    while ((slaves = slaveChildren()).empty() && secondsSince(start) < 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(slaves.size(), 1u);
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(slaves[0], &status, WNOHANG)) == 0 && secondsSince(start) < 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ended == 0) {
        kill(slaves[0], SIGKILL);
        waitpid(slaves[0], nullptr, 0);
        FAIL() << "the slave outlived its master";
    }
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), ZIF_ERR_PARTNER_ENDED);
    EXPECT_LT(secondsSince(start), 5);
    close(working[0]);
    close(working[1]);
}

// The abstract socket names of this process's channels (from /proc/net/unix).
std::vector<std::string> ownChannelSockets()
{
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "@zifslv_%x_", static_cast<unsigned>(getpid()));
    std::vector<std::string> names;
    std::ifstream unix("/proc/net/unix");
    std::string line;
    while (std::getline(unix, line)) {
        size_t at = line.find(prefix);
        if (at != std::string::npos)
            names.push_back(line.substr(at + 1));
    }
    return names;
}

TEST_F(Box, AForeignProcessThatConnectsFirstIsRefused)
{
    // The real slave starts late, so the intruder is first in line.
    setenv("ZIF_SLV", script("lateslave", "sleep 0.5\nexec " + kBin + "/zif_slv \"$@\"").c_str(), 1);
    std::atomic<int> intruder{-1};
    std::thread connect([&] {
        for (int i = 0; i < 200 && intruder < 0; ++i) {
            for (const std::string &name : ownChannelSockets()) {
                int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                std::memcpy(address.sun_path + 1, name.data(), name.size());
                auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
                if (::connect(fd, reinterpret_cast<sockaddr *>(&address), length) == 0) {
                    intruder = fd;
                    break;
                }
                close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    uint64_t id = zif_graphDirectCreateNodeInBox(graph, "testplug.generator", value("{frames: 1}"));
    connect.join();
    EXPECT_NE(id, 0u) << "error " << zif_getLastError(ctx);
    ASSERT_GE(intruder.load(), 0);
    char byte;
    EXPECT_EQ(recv(intruder, &byte, 1, 0), 0);  // the master hung up on it
    close(intruder);
}

}  // namespace

namespace {

// zif-run's output and exit status for a command line.
std::pair<std::string, int> zifRun(const std::string &arguments)
{
    std::string command = kBin + "/zif-run --module " + kModule + " " + arguments + " 2>&1";
    FILE *p = popen(command.c_str(), "r");
    std::string out;
    char buffer[256];
    while (p && fgets(buffer, sizeof buffer, p))
        out += buffer;
    int status = p ? pclose(p) : -1;
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(ZifRun, BoxedRunsPrintWhatInProcessRunsPrint)
{
    auto local = zifRun("run testplug.generator frames=4 framerate=30000/1001 width=8");
    auto boxed = zifRun("--box run testplug.generator frames=4 framerate=30000/1001 width=8");
    EXPECT_EQ(local.second, 0) << local.first;
    EXPECT_EQ(boxed, local);
    EXPECT_NE(local.first.find("testplug.generator.out 3 time=0+1001/10000 eos=1 bytes=24"), std::string::npos)
        << local.first;
}

TEST(ZifRun, ABoxedCrashIsReportedAndTheRunnerExitsCleanly)
{
    auto crashed = zifRun("--box run testplug.crash");
    EXPECT_EQ(crashed.second, 1);
    EXPECT_NE(crashed.first.find("a work pass failed (error 33)"), std::string::npos) << crashed.first;
    auto builtIn = zifRun("--box run filereader");
    EXPECT_EQ(builtIn.second, 1);
    EXPECT_NE(builtIn.first.find("error 29"), std::string::npos) << builtIn.first;
}

}  // namespace
