#include "framework/tools/encode_command.h"
#include "framework/include/zif.h"
#include "framework/tools/tool_paths.h"
#include "framework/tools/tool_run.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

const char *const kUsage =
    "usage: zif-run [--log] [--module PATH]... encode IN OUT [audio=OUT2] [KEY=VALUE]... [audio.KEY=VALUE]...\n"
    "  OUT's format follows its extension (.m1v .m2v .m4v .mp2 .mp3 .aac) or format=NAME;\n"
    "  KEY=VALUE entries (bitrate=, gopsize=, vbr=, vbvbuffersize=, bitrate.max=, bitrate.min=,\n"
    "  bframes=, twopass.pass=, twopass.loguri=, width=, height=, samplerate=, channels=) go\n"
    "  to OUT's stream; audio.KEY=VALUE to the sound stream of audio=OUT2.\n";

const char *formatOfExtension(const std::string &file)
{
    struct Extension {
        const char *ext, *format;
    };
    static const Extension table[] = {
        {".m1v", "mpeg1.video"},     {".m2v", "mpeg2.video"},     {".mpv", "mpeg2.video"},
        {".m4v", "mpeg4.video.asp"}, {".mp2", "mpeg1.audio.mp2"}, {".mp3", "mpeg1.audio.mp3"},
        {".aac", "mpeg4.audio.aac"},
    };
    size_t dot = file.rfind('.');
    std::string ext = dot == std::string::npos ? "" : file.substr(dot);
    for (const Extension &e : table)
        if (strcasecmp(ext.c_str(), e.ext) == 0)
            return e.format;
    return nullptr;
}

const std::string *settingOf(const EncodeOutput &o, const char *key)
{
    for (const auto &[k, v] : o.settings)
        if (k == key)
            return &v;
    return nullptr;
}

bool isVideo(const EncodeOutput &o)
{
    const std::string *format = settingOf(o, "format");
    return format && format->find(".video") != std::string::npos;
}

// VALUE as an int, a double, a fract "a/b" or else a string.
bool setValue(zif_object *t, const std::string &key, const std::string &value)
{
    char *end = nullptr;
    long long i = std::strtoll(value.c_str(), &end, 10);
    if (!value.empty() && *end == '\0')
        return zif_tableSetInt(t, key.c_str(), i);
    long long den = 0;
    if (!value.empty() && *end == '/' && (den = std::strtoll(end + 1, &end, 10)) > 0 && *end == '\0')
        return zif_tableSetFract(t, key.c_str(), 0, i, den);
    double d = std::strtod(value.c_str(), &end);
    if (!value.empty() && *end == '\0')
        return zif_tableSetDouble(t, key.c_str(), d);
    if (key == "twopass.loguri")
        return zif_tableSetString(t, key.c_str(), absolutePath(value).c_str());
    return zif_tableSetString(t, key.c_str(), value.c_str());
}

int failWith(zif_context *ctx, const std::string &what)
{
    std::fprintf(stderr, "zif-run: %s (error %d)\n", what.c_str(), zif_getLastError(ctx));
    return 1;
}

bool addWrite(zif_context *ctx, zif_object *graph, const EncodeOutput &o, const char *name)
{
    zif_object *content = zif_newTable(ctx), *entries = zif_newTable(ctx);
    bool ok = content && entries && zif_tableSetString(content, "portclass", "data") &&
              zif_tableSetString(content, "mediatype", isVideo(o) ? "video" : "audio");
    for (const auto &[k, v] : o.settings)
        ok = ok && setValue(content, k, v);
    ok = ok && zif_tableSetString(entries, "uri", absolutePath(o.file).c_str()) &&
         zif_tableSetTable(entries, "contentdescription", content) &&
         zif_graphAddNewStaticCommandNode(graph, "write", entries, name, nullptr);
    zif_release(content);
    zif_release(entries);
    return ok;
}

int encodeIn(zif_context *ctx, const EncodeOptions &o, zif_object **graphOut)
{
    std::vector<std::string> modules = o.modules;
    if (modules.empty())
        modules.push_back(programFolder() + "/libwyv_ffmpeg.so");
    for (const std::string &m : modules)
        if (!zif_loadPluginModule(ctx, m.c_str()))
            return failWith(ctx, "cannot load module " + m);
    zif_object *graph = zif_newGraph(ctx, 1);
    *graphOut = graph;
    if (!graph)
        return failWith(ctx, "cannot create the graph");
    bool video = isVideo(o.main), sound = !video || !o.audio.file.empty();
    zif_object *entries = zif_newTable(ctx);
    zif_object *command = nullptr;
    bool ok = entries && zif_tableSetString(entries, "uri", absolutePath(o.input).c_str()) &&
              zif_tableSetInt(entries, "wantvideo", video ? 1 : 0) && zif_tableSetInt(entries, "wantaudio", sound ? 1 : 0) &&
              zif_graphAddNewStaticCommandNode(graph, "read", entries, "input", &command);
    zif_release(entries);
    uint64_t decoder = ok ? zif_graphDirectCreateNode(graph, "ffmpeg.decoder", nullptr) : 0;
    uint64_t from = command ? zif_graphFindNodePort(graph, zif_nodeGetID(command), "input") : 0;
    uint64_t to = decoder ? zif_graphFindNodePort(graph, decoder, "ffmpeg.decoder.commandin") : 0;
    zif_release(command);
    if (!to || !zif_graphCreateConnection(graph, from, to))
        return failWith(ctx, "cannot open " + o.input + " as media");
    if (!addWrite(ctx, graph, o.main, "output") || (!o.audio.file.empty() && !addWrite(ctx, graph, o.audio, "audiooutput")))
        return failWith(ctx, "cannot describe the output");
    if (!zif_graphBuild(graph))
        return failWith(ctx, "cannot build the graph: no stream of " + o.input +
                                 " can be encoded as asked (--log shows the search)");
    for (long pass = 1; !zif_graphGetFinishedForNow(graph); ++pass) {
        if (!zif_graphWork(graph))
            return failWith(ctx, "encoding failed");
        if (pass % 2000 == 0) {
            struct stat st {};
            if (stat(o.main.file.c_str(), &st) == 0)
                std::fprintf(stderr, "zif-run: %s: %lld bytes\r", o.main.file.c_str(), static_cast<long long>(st.st_size));
        }
    }
    for (const EncodeOutput *out : {&o.main, &o.audio}) {
        struct stat st {};
        if (!out->file.empty() && stat(out->file.c_str(), &st) == 0)
            std::printf("%s: %s, %lld bytes\n", out->file.c_str(), settingOf(*out, "format")->c_str(),
                        static_cast<long long>(st.st_size));
    }
    return 0;
}

}  // namespace

bool encodeOptionsParse(int argc, char **argv, EncodeOptions *o)
{
    bool seenCommand = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        size_t eq = arg.find('=');
        if (arg == "--log") {
            o->log = true;
        } else if (arg == "--module" && i + 1 < argc) {
            o->modules.push_back(argv[++i]);
        } else if (arg == "encode" && !seenCommand) {
            seenCommand = true;
        } else if (seenCommand && files.size() == 2 && eq != std::string::npos && eq > 0) {
            std::string key = arg.substr(0, eq), value = arg.substr(eq + 1);
            if (key == "audio")
                o->audio.file = value;
            else if (key.rfind("audio.", 0) == 0)
                o->audio.settings.emplace_back(key.substr(6), value);
            else
                o->main.settings.emplace_back(key, value);
        } else if (seenCommand && files.size() < 2 && arg.rfind("--", 0) != 0) {
            files.push_back(arg);
        } else {
            std::fputs(kUsage, stderr);
            return false;
        }
    }
    if (!seenCommand || files.size() != 2) {
        std::fputs(kUsage, stderr);
        return false;
    }
    o->input = files[0];
    o->main.file = files[1];
    for (EncodeOutput *out : {&o->main, &o->audio}) {
        if (out->file.empty())
            continue;
        if (!settingOf(*out, "format")) {
            const char *format = formatOfExtension(out->file);
            if (!format) {
                std::fprintf(stderr, "zif-run: cannot tell the format of %s from its extension: give %sformat=NAME\n",
                             out->file.c_str(), out == &o->audio ? "audio." : "");
                return false;
            }
            out->settings.emplace_back("format", format);
        }
    }
    if (!o->audio.file.empty() && (isVideo(o->audio) || !isVideo(o->main))) {
        std::fputs("zif-run: audio= takes the sound stream beside a video OUT\n", stderr);
        return false;
    }
    if (absolutePath(o->input) == absolutePath(o->main.file) || absolutePath(o->input) == absolutePath(o->audio.file)) {
        std::fputs("zif-run: the output would overwrite the input\n", stderr);
        return false;
    }
    return true;
}

int encodeRun(const EncodeOptions &o)
{
    return runInContext(o.log, [&](zif_context *ctx, zif_object **graph) { return encodeIn(ctx, o, graph); });
}
