// corvane_convert: converts one clip through the converter library, loaded
// by path as the program loads it, and prints the wall time it took.
//
//   corvane_convert LIBRARY SOURCE OUTPUT [--ntsc] [--16:9] [--kbps N] [--quality 0|1|2]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engines/converter/corvane.h"
#include "platform/module_loader.h"

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s LIBRARY SOURCE OUTPUT [--ntsc] [--16:9] [--kbps N] [--quality 0|1|2]\n",
                     argv[0]);
        return 2;
    }
    bool ntsc = false;
    std::string aspect = "4:3";
    std::string kbps = "5000";
    int quality = 1;
    for (int i = 4; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--ntsc"))
            ntsc = true;
        else if (!std::strcmp(argv[i], "--16:9"))
            aspect = "16:9";
        else if (!std::strcmp(argv[i], "--kbps") && i + 1 < argc)
            kbps = argv[++i];
        else if (!std::strcmp(argv[i], "--quality") && i + 1 < argc)
            quality = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    vt::Module library;
    decltype(&X_MpegEnc) mpeg_enc = nullptr;
    if (!library.open(argv[1]) || !library.bind("X_MpegEnc", mpeg_enc)) {
        std::fprintf(stderr, "%s\n", library.error().c_str());
        return 1;
    }
    const char *frame = ntsc ? "720:480" : "720:576";
    auto started = std::chrono::steady_clock::now();
    int rc = mpeg_enc(nullptr, argv[2], "0", "48000", aspect.c_str(), "mpeg2", "dvd", kbps.c_str(), "192", frame,
                      frame, "MyVideo", "MyVideo", "MyVideo", ntsc ? "30000/1001" : "25", "-1", "-1", argv[3], "0",
                      "0", 0, ntsc ? 1 : 2, "ac3", quality, 0, CORVANE_ABI_VERSION);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%.3f\n", seconds);
    return rc == 0 ? 0 : 1;
}
