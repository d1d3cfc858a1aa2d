// The command line of vantorel-cli.
#pragma once

#include "app/cli/cli_burn.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vt::cli {

struct ClipRequest {
    std::string path;
    std::optional<int32_t> trimStart, trimEnd;  // seconds of the source
    std::vector<int32_t> chapters;              // seconds of the source
    std::string subtitle;
    bool letterbox = true;  // false: stretched to the frame (--stretch)
};

struct BuildRequest {
    std::string outputFolder;  // "" for the current folder
    std::string label = "DVD_DISC";
    bool ntsc = true;
    bool wide = false;
    int quality = 1;
    std::string workFolder;  // "" for the program's work folder
    bool keepVobs = false;   // keep the converted OutputVOB files after a good DVD
    std::optional<int> jobs;  // clips converted at the same time; unset: the setting (0 automatic)
    bool titleMenu = false;      // a title menu with a button per clip (and the root menu)
    bool chapterMenus = false;   // a chapter menu per clip with --chapters
    std::string menuBackground;  // picture of the menus ("" the first shipped background)
    std::string menuMusic;       // sound of the title menu ("" silent)
    std::vector<ClipRequest> clips;
    BurnTarget burn;  // written after authoring when wanted
};

enum class Command { Help, Probe, Build, Burn, Drives };

struct CommandLine {
    Command command = Command::Help;
    std::vector<std::string> files;  // probe
    BuildRequest build;
    BurnCommand burn;
    std::string error;  // set when the line cannot be used
};

CommandLine ParseCommandLine(const std::vector<std::string> &arguments);

// Seconds ("75") or "HH:MM:SS" / "MM:SS"; nullopt for anything else.
std::optional<int32_t> ParseTime(const std::string &text);

std::string UsageText();

} // namespace vt::cli
