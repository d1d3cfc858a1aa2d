#include "plugins/ffmpeg/plugin_test_support.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>
#include <string>

namespace fftest {

void PluginTest::SetUp()
{
    DecoderTest::SetUp();
    ASSERT_EQ(loadModule("libwyv_ffmpeg.so"), 1);
    sinkQueueLimit = 2;
}

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
