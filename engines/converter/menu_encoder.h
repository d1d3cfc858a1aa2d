// Encodes a still picture, with optional music, into a menu VOB of an exact
// length.
#pragma once

#include <string>

#include "engines/converter/conversion_progress.h"

extern "C" {
#include <libavutil/rational.h>
}

namespace corvane {

struct MenuEncodeSettings {
    bool ntsc = false;
    std::string bitmap;
    int duration_seconds = 2;
    int picture_width = 720;
    int picture_height = 576;
    int frame_width = 720;
    int frame_height = 576;
    AVRational display_aspect{4, 3};
    std::string output;
    bool with_music = false;
    std::string music;
};

struct MenuEncodeArguments {
    int standard;
    const char *bitmap, *duration, *picture_size, *frame_size, *aspect, *output;
    int with_music;
    const char *music;
};

bool parse_menu_encode_arguments(const MenuEncodeArguments &args, MenuEncodeSettings *settings, std::string *error);

bool encode_menu(const MenuEncodeSettings &settings, ConversionProgress &progress, std::string *error);

} // namespace corvane
