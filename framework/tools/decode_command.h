// "zif-run decode": decodes a media file through the plug-in decoder and
// prints what comes out of each stream.
#pragma once

#include <string>
#include <vector>

struct DecodeOptions {
    std::string file;
    std::vector<std::string> modules;  // none: libwyv_ffmpeg.so beside zif-run
    int width = 0, height = 0;         // --resize WxH
    std::string pixels;                // --pixels yuv420|rgb24|bgr24|rgb32
    std::string raw;                   // --raw FILE: the pictures' planes, one after another
    bool log = false;
};

// Parses "decode FILE [--resize WxH] [--pixels LAYOUT] [--raw FILE]" (plus the
// common --log and --module); false with a message on stderr when malformed.
bool decodeOptionsParse(int argc, char **argv, DecodeOptions *options);

// Runs the decode; the exit status of zif-run.
int decodeRun(const DecodeOptions &options);
