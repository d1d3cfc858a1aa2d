// zif-run: builds and runs framework graphs from the command line.
//
//   zif-run [--log] [--module PATH]... copy IN OUT   copy a file through a reader -> writer graph
//   zif-run [--log] [--module PATH]... dump IN OUT   print the XML of that graph once built
//   zif-run [--log] [--module PATH]... decode FILE [--resize WxH] [--pixels LAYOUT] [--raw OUT]
//                                      decode FILE with the FFmpeg plug-in and print every sample
//   zif-run [--log] [--module PATH]... encode IN OUT [audio=OUT2] [KEY=VALUE]...
//                                      transcode IN to elementary streams with the FFmpeg plug-in
//   zif-run [--log] [--box] [--module PATH]... run PLUGIN [KEY=VALUE]...
//                                                    run a plug-in's node and print its samples
//
// For copy and dump the graph holds two static command nodes ("read" IN,
// "write" OUT as raw bytes); zif_graphBuild finds the file reader and writer
// and connects them. run creates the plug-in's node directly (boxed in a
// zif_slv process with --box) from a description of the KEY=VALUE pairs
// (integers, fractions such as 30000/1001, or text), connects a recorder to
// each of its output ports and prints one line per sample until every
// output has seen its end of stream. --log prints the graph log to stderr;
// --module loads a plug-in module first.
#include "framework/include/zif.h"
#include "framework/tools/decode_command.h"
#include "framework/tools/encode_command.h"
#include "framework/tools/tool_run.h"

#include <cstdio>
#include <deque>
#include <cstring>
#include <string>
#include <vector>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace {

int usage()
{
    std::fputs("usage: zif-run [--log] [--module PATH]... copy|dump IN OUT\n"
               "       zif-run [--log] [--module PATH]... decode FILE [--resize WxH] [--pixels LAYOUT] [--raw OUT]\n"
               "       zif-run [--log] [--module PATH]... encode IN OUT [audio=OUT2] [KEY=VALUE]...\n"
               "       zif-run [--log] [--box] [--module PATH]... run PLUGIN [KEY=VALUE]...\n",
               stderr);
    return 2;
}

// A file URI naming path exactly: absolute, with every byte outside the
// unreserved set percent-encoded.
std::string fileUri(const std::string &path)
{
    std::string absolute = path;
    if (path.empty() || path[0] != '/') {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd))
            absolute = std::string(cwd) + "/" + path;
    }
    std::string uri = "file://";
    for (unsigned char c : absolute) {
        if (std::isalnum(c) || std::strchr("/-._~", c)) {
            uri += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri;
}

// What reaches one output port of the node that run runs.
struct Recorder {
    std::string port;
    zif_object *queue = nullptr;
    int64_t count = 0;
};

// One line per sample: its port, number, time, end-of-stream flag and the
// bytes of its data entries.
void printSample(const Recorder &r, zif_object *sample)
{
    std::string line = r.port + " " + std::to_string(r.count);
    if (zif_object *time = zif_tableGetFract(sample, "presentationtime", nullptr)) {
        line += " time=" + std::to_string(zif_fractGetIntegralPart(time)) + "+" +
                std::to_string(zif_fractGetNumerator(time)) + "/" + std::to_string(zif_fractGetDenominator(time));
        zif_release(time);
    }
    line += " eos=" + std::to_string(zif_tableGetInt(sample, "endofstream", 0));
    int64_t bytes = 0;
    zif_object *it = zif_tableCreateIterator(sample);
    for (int32_t key; it && (key = zif_tableIteratorNext(it)) != -1;) {
        zif_object *value = zif_tableGetK(sample, key);
        if (zif_objectGetType(value) == ZIF_TYPE_DATA)
            bytes += zif_dataGetSize(value);
        zif_release(value);
    }
    zif_release(it);
    std::printf("%s bytes=%lld\n", line.c_str(), static_cast<long long>(bytes));
}

int32_t recorderWork(zif_object *node)
{
    auto *r = reinterpret_cast<Recorder *>(zif_nodeGetUserData(node));
    while (r->queue && zif_listGetEntryCount(r->queue) > 0) {
        zif_object *sample = zif_listRemoveFirst(r->queue);
        printSample(*r, sample);
        ++r->count;
        bool end = zif_tableGetInt(sample, "endofstream", 0) != 0;
        zif_release(sample);
        if (end && !zif_nodeSetFinishedForNow(node, 1))
            return 0;
    }
    return 1;
}

int32_t recorderConnect(zif_object *port, zif_object *connector)
{
    zif_object *node = zif_portGetNode(port);
    auto *r = reinterpret_cast<Recorder *>(zif_nodeGetUserData(node));
    zif_release(node);
    zif_release(r->queue);
    r->queue = zif_portConnectorGetQueue(connector);
    return 1;
}

// A description value from the text after "=": integer, fraction or text.
zif_object *parseSetting(zif_context *context, const std::string &text)
{
    char *end = nullptr;
    errno = 0;
    long long n = std::strtoll(text.c_str(), &end, 10);
    if (!text.empty() && errno == 0 && *end == '\0')
        return zif_newInt(context, n);
    if (end && *end == '/' && end != text.c_str()) {
        char *rest = nullptr;
        long long d = std::strtoll(end + 1, &rest, 10);
        if (errno == 0 && *rest == '\0' && d != 0)
            return zif_newFract(context, 0, n, d);
    }
    return zif_newString(context, text.c_str());
}

class Run {
public:
    Run() { created_ = zif_create(&ctx_) == 0; }
    ~Run()
    {
        for (zif_object *n : sources_)
            zif_release(n);
        zif_release(graph_);
        for (Recorder &r : recorders_)
            zif_release(r.queue);
        if (ctx_)
            zif_destroy(ctx_);
    }

    bool fail(const char *what)
    {
        std::fprintf(stderr, "zif-run: %s (error %d)\n", what, zif_getLastError(ctx_));
        return false;
    }

    bool start(const std::vector<std::string> &modules, int32_t withBuilders)
    {
        if (!created_) {
            std::fputs("zif-run: cannot create a framework context\n", stderr);
            return false;
        }
        for (const std::string &m : modules)
            if (!zif_loadPluginModule(ctx_, m.c_str()))
                return fail(("cannot load module " + m).c_str());
        graph_ = zif_newGraph(ctx_, withBuilders);
        return graph_ || fail("cannot create the graph");
    }

    bool addCopyCommands(const std::string &in, const std::string &out)
    {
        zif_object *reading = zif_newTable(ctx_);
        zif_object *writing = zif_newTable(ctx_);
        zif_object *content = zif_newTable(ctx_);
        bool ok = reading && writing && content && zif_tableSetString(reading, "uri", fileUri(in).c_str()) &&
                  zif_tableSetString(content, "portclass", "data") && zif_tableSetString(content, "format", "unknown") &&
                  zif_tableSetString(writing, "uri", fileUri(out).c_str()) &&
                  zif_tableSetTable(writing, "contentdescription", content) &&
                  zif_graphAddNewStaticCommandNode(graph_, "read", reading, "input", nullptr) &&
                  zif_graphAddNewStaticCommandNode(graph_, "write", writing, "output", nullptr);
        for (zif_object *o : {reading, writing, content})
            zif_release(o);
        return ok || fail("cannot describe the copy");
    }

    bool build() { return zif_graphBuild(graph_) || fail("cannot build the graph"); }

    // After a failed search, names the usual cause in words: an input that
    // cannot be read or an output folder that cannot be written.
    static void explainCopyFailure(const std::string &in, const std::string &out)
    {
        std::string folder = out.find('/') == std::string::npos ? "." : out.substr(0, out.rfind('/') + 1);
        if (access(in.c_str(), R_OK) != 0)
            std::fprintf(stderr, "zif-run: cannot read %s: %s\n", in.c_str(), std::strerror(errno));
        else if (access(folder.c_str(), W_OK) != 0)
            std::fprintf(stderr, "zif-run: cannot write into %s: %s\n", folder.c_str(), std::strerror(errno));
        else
            std::fputs("zif-run: --log shows the search\n", stderr);
    }

    bool runToEnd()
    {
        while (!zif_graphGetFinishedForNow(graph_))
            if (!zif_graphWork(graph_))
                return fail("a work pass failed");
        return true;
    }

    // The plug-in's node, boxed or in-process, with a recorder on each output.
    bool addNode(const std::string &plugin, const std::vector<std::string> &settings, bool boxed)
    {
        zif_object *description = zif_newTable(ctx_);
        for (const std::string &s : settings) {
            size_t eq = s.find('=');
            if (eq == std::string::npos || eq == 0) {
                zif_release(description);
                std::fprintf(stderr, "zif-run: %s is not KEY=VALUE\n", s.c_str());
                return false;
            }
            zif_object *value = parseSetting(ctx_, s.substr(eq + 1));
            zif_tableSet(description, s.substr(0, eq).c_str(), value);
            zif_release(value);
        }
        uint64_t id = boxed ? zif_graphDirectCreateNodeInBox(graph_, plugin.c_str(), description)
                            : zif_graphDirectCreateNode(graph_, plugin.c_str(), description);
        zif_release(description);
        if (!id)
            return fail(("cannot create a node of " + plugin).c_str());
        std::vector<zif_object *> outputs;
        zif_object *it = zif_graphNewPortIterator(graph_, ZIF_PORT_OUTPUT, -1, nullptr, 0);
        while (zif_object *p = zif_iteratorNext(it))
            outputs.push_back(p);
        zif_release(it);
        bool ok = true;
        for (zif_object *port : outputs) {
            zif_object *name = zif_portGetName(port);
            recorders_.push_back(Recorder{zif_stringGetValue(name)});
            zif_release(name);
            ok = ok && addRecorder(port, &recorders_.back());
            sources_.push_back(zif_portGetNode(port));
            zif_release(port);
        }
        return ok || fail("cannot connect to the node's outputs");
    }

    // Works until every output has seen its end of stream, or until the
    // node is finished and a pass brings nothing new.
    bool runRecorded()
    {
        for (;;) {
            int64_t before = recordedCount();
            if (!zif_graphWork(graph_))
                return fail("a work pass failed");
            if (zif_graphGetFinishedForNow(graph_))
                return true;
            bool sourcesFinished = true;
            for (zif_object *n : sources_)
                sourcesFinished = sourcesFinished && zif_nodeGetFinishedForNow(n);
            if (sourcesFinished && recordedCount() == before) {
                std::fputs("zif-run: the node finished without an end of stream\n", stderr);
                return true;
            }
        }
    }

    void printDump()
    {
        zif_object *text = zif_graphToXMLString(graph_);
        if (text)
            std::fputs(zif_stringGetValue(text), stdout);
        zif_release(text);
    }

    void printLog() { ::printLog(ctx_, graph_); }

private:
    bool addRecorder(zif_object *output, Recorder *r)
    {
        zif_object *node = zif_graphAddNewNode(graph_, "zif-run.recorder");
        zif_object *in = node ? zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "zif-run.recorder.in") : nullptr;
        bool ok = in && zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(r)) &&
                  zif_nodeSetWorkFunc(node, recorderWork) && zif_portSetOnConnectFunc(in, recorderConnect) &&
                  zif_graphCreateConnection(graph_, zif_portGetID(output), zif_portGetID(in));
        zif_release(in);
        zif_release(node);
        return ok;
    }

    int64_t recordedCount() const
    {
        int64_t n = 0;
        for (const Recorder &r : recorders_)
            n += r.count;
        return n;
    }

    bool created_ = false;
    std::vector<zif_object *> sources_;
    std::deque<Recorder> recorders_;  // stable addresses: nodes point at them
    zif_context *ctx_ = nullptr;
    zif_object *graph_ = nullptr;
};

}  // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "decode") == 0) {
            DecodeOptions options;
            return decodeOptionsParse(argc, argv, &options) ? decodeRun(options) : 2;
        }
        if (std::strcmp(argv[i], "encode") == 0) {
            EncodeOptions options;
            return encodeOptionsParse(argc, argv, &options) ? encodeRun(options) : 2;
        }
    }
    bool log = false, boxed = false;
    std::vector<std::string> modules, words;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--log")
            log = true;
        else if (arg == "--box")
            boxed = true;
        else if (arg == "--module" && i + 1 < argc)
            modules.push_back(argv[++i]);
        else if (arg.rfind("--", 0) == 0)
            return usage();
        else
            words.push_back(arg);
    }
    bool running = !words.empty() && words[0] == "run" && words.size() >= 2;
    bool copying = words.size() == 3 && (words[0] == "copy" || words[0] == "dump") && !boxed;
    if (!running && !copying)
        return usage();

    Run run;
    bool ok = run.start(modules, running ? 0 : 1);
    if (running) {
        ok = ok && run.addNode(words[1], std::vector<std::string>(words.begin() + 2, words.end()), boxed) &&
             run.runRecorded();
    } else {
        ok = ok && run.addCopyCommands(words[1], words[2]);
        if (ok && !(ok = run.build()))
            Run::explainCopyFailure(words[1], words[2]);
        if (ok && words[0] == "dump")
            run.printDump();
        else if (ok)
            ok = run.runToEnd();
    }
    if (log)
        run.printLog();
    return ok ? 0 : 1;
}
