// zif-run: builds and runs framework graphs from the command line.
//
//   zif-run [--log] [--module PATH]... copy IN OUT   copy a file through a reader -> writer graph
//   zif-run [--log] [--module PATH]... dump IN OUT   print the XML of that graph once built
//   zif-run [--log] [--module PATH]... decode FILE [--resize WxH] [--pixels LAYOUT] [--raw OUT]
//                                      decode FILE with the FFmpeg plug-in and print every sample
//   zif-run [--log] [--module PATH]... encode IN OUT [audio=OUT2] [KEY=VALUE]...
//                                      transcode IN to elementary streams with the FFmpeg plug-in
//
// The graph holds two static command nodes ("read" IN, "write" OUT as raw
// bytes); zif_graphBuild finds the file reader and writer and connects them.
// --log prints the graph log to stderr; --module loads a plug-in module first.
#include "framework/include/zif.h"
#include "framework/tools/decode_command.h"
#include "framework/tools/encode_command.h"

#include <cstdio>
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
               "       zif-run [--log] [--module PATH]... encode IN OUT [audio=OUT2] [KEY=VALUE]...\n",
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

class Run {
public:
    Run() { created_ = zif_create(&ctx_) == 0; }
    ~Run()
    {
        zif_release(graph_);
        if (ctx_)
            zif_destroy(ctx_);
    }

    bool fail(const char *what)
    {
        std::fprintf(stderr, "zif-run: %s (error %d)\n", what, zif_getLastError(ctx_));
        return false;
    }

    bool start(const std::vector<std::string> &modules)
    {
        if (!created_) {
            std::fputs("zif-run: cannot create a framework context\n", stderr);
            return false;
        }
        for (const std::string &m : modules)
            if (!zif_loadPluginModule(ctx_, m.c_str()))
                return fail(("cannot load module " + m).c_str());
        graph_ = zif_newGraph(ctx_, 1);
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

    void printDump()
    {
        zif_object *text = zif_graphToXMLString(graph_);
        if (text)
            std::fputs(zif_stringGetValue(text), stdout);
        zif_release(text);
    }

    void printLog()
    {
        zif_object *log = graph_ ? zif_graphGetLog(graph_) : zif_getLog(ctx_);
        zif_object *text = zif_logGetText(log);
        if (text)
            std::fputs(zif_stringGetValue(text), stderr);
        zif_release(text);
        zif_release(log);
    }

private:
    bool created_ = false;
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
    bool log = false;
    std::vector<std::string> modules, words;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--log")
            log = true;
        else if (arg == "--module" && i + 1 < argc)
            modules.push_back(argv[++i]);
        else if (arg.rfind("--", 0) == 0)
            return usage();
        else
            words.push_back(arg);
    }
    if (words.size() != 3 || (words[0] != "copy" && words[0] != "dump"))
        return usage();

    Run run;
    bool ok = run.start(modules) && run.addCopyCommands(words[1], words[2]);
    if (ok && !(ok = run.build()))
        Run::explainCopyFailure(words[1], words[2]);
    if (ok && words[0] == "dump")
        run.printDump();
    else if (ok)
        ok = run.runToEnd();
    if (log)
        run.printLog();
    return ok ? 0 : 1;
}
