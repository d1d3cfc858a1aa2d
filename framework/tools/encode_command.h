// "zif-run encode": transcodes a media file with the framework alone:
// decoder -> converters the search inserts -> FFmpeg encoder -> file writer,
// one elementary stream per output file.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct EncodeOutput {
    std::string file;
    std::vector<std::pair<std::string, std::string>> settings;  // description entries, "format" included
};

struct EncodeOptions {
    std::string input;
    EncodeOutput main;   // OUT: video or sound, by its format
    EncodeOutput audio;  // audio=FILE: a second, sound output
    std::vector<std::string> modules;
    bool log = false;
};

// Parses "encode IN OUT [key=value]..." (plus the common --log and --module);
// false with a message on stderr when malformed.
bool encodeOptionsParse(int argc, char **argv, EncodeOptions *options);

// Runs the transcode; the exit status of zif-run.
int encodeRun(const EncodeOptions &options);
