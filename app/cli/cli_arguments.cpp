#include "app/cli/cli_arguments.h"

#include <charconv>
#include <sstream>

namespace vt::cli {

namespace {

constexpr int kMaxJobs = 64;
constexpr int kLargestDiscMB = 8500;  // a DVD-9

std::optional<int32_t> parseNumber(const std::string &text)
{
    int32_t value = 0;
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || value < 0)
        return std::nullopt;
    return value;
}

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.push_back("");
    return parts;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string> &arguments) : args_(arguments) {}

    CommandLine parse()
    {
        if (args_.empty() || args_[0] == "--help" || args_[0] == "-h" || args_[0] == "help")
            return line_;
        if (args_[0] == "probe")
            parseProbe();
        else if (args_[0] == "build")
            parseBuild();
        else if (args_[0] == "burn")
            parseBurn();
        else if (args_[0] == "drives")
            line_.command = Command::Drives;
        else
            line_.error = "unknown command \"" + args_[0] + "\"";
        return line_;
    }

private:
    void parseBurn()
    {
        line_.command = Command::Burn;
        for (const std::string &arg : args_)
            if (arg == "--help" || arg == "-h") {
                line_.command = Command::Help;
                return;
            }
        line_.error = ParseBurnCommand(args_, line_.burn);
    }

    void parseProbe()
    {
        line_.command = Command::Probe;
        for (size_t i = 1; i < args_.size(); ++i) {
            if (args_[i] == "--help" || args_[i] == "-h") {
                line_.command = Command::Help;
                return;
            }
            line_.files.push_back(args_[i]);
        }
        if (line_.files.empty())
            line_.error = "probe needs at least one file";
    }

    bool value(size_t &i, std::string &out)
    {
        if (i + 1 >= args_.size()) {
            line_.error = args_[i] + " needs a value";
            return false;
        }
        out = args_[++i];
        return true;
    }

    ClipRequest *currentClip(const std::string &option)
    {
        if (line_.build.clips.empty()) {
            line_.error = option + " must follow a clip";
            return nullptr;
        }
        return &line_.build.clips.back();
    }

    bool parseTrim(const std::string &text, ClipRequest &clip)
    {
        const size_t dash = text.find('-');
        if (dash == std::string::npos) {
            line_.error = "--trim takes START-END";
            return false;
        }
        clip.trimStart = ParseTime(text.substr(0, dash));
        clip.trimEnd = ParseTime(text.substr(dash + 1));
        if (!clip.trimStart || !clip.trimEnd || *clip.trimStart >= *clip.trimEnd) {
            line_.error = "invalid trim \"" + text + "\": START-END in seconds or HH:MM:SS, START before END";
            return false;
        }
        return true;
    }

    bool parseChapters(const std::string &text, ClipRequest &clip)
    {
        for (const std::string &part : split(text, ',')) {
            const auto time = ParseTime(part);
            if (!time) {
                line_.error = "invalid chapter time \"" + part + "\"";
                return false;
            }
            clip.chapters.push_back(*time);
        }
        return true;
    }

    void parseBuild()
    {
        line_.command = Command::Build;
        BuildRequest &build = line_.build;
        for (size_t i = 1; i < args_.size() && line_.error.empty(); ++i) {
            const std::string &arg = args_[i];
            std::string text;
            if (arg == "--help" || arg == "-h") {
                line_.command = Command::Help;
                return;
            } else if (arg == "-o") {
                if (value(i, text))
                    build.outputFolder = text;
            } else if (arg == "--label") {
                if (value(i, text))
                    build.label = text;
            } else if (arg == "--pal" || arg == "--ntsc") {
                build.ntsc = arg == "--ntsc";
            } else if (arg == "--4:3" || arg == "--16:9") {
                build.wide = arg == "--16:9";
            } else if (arg == "--quality") {
                if (value(i, text)) {
                    const auto quality = parseNumber(text);
                    if (!quality || *quality > 2)
                        line_.error = "--quality takes 0, 1 or 2";
                    else
                        build.quality = *quality;
                }
            } else if (arg == "--work-folder") {
                if (value(i, text))
                    build.workFolder = text;
            } else if (arg == "--jobs") {
                if (value(i, text)) {
                    const auto jobs = parseNumber(text);
                    if (!jobs || *jobs > kMaxJobs)
                        line_.error = "--jobs takes 0 (automatic) to " + std::to_string(kMaxJobs);
                    else
                        build.jobs = *jobs;
                }
            } else if (arg == "--trim") {
                ClipRequest *clip = currentClip(arg);
                if (clip && value(i, text))
                    parseTrim(text, *clip);
            } else if (arg == "--chapters") {
                ClipRequest *clip = currentClip(arg);
                if (clip && value(i, text))
                    parseChapters(text, *clip);
            } else if (arg == "--subtitle") {
                ClipRequest *clip = currentClip(arg);
                if (clip && value(i, text))
                    clip->subtitle = text;
            } else if (arg == "--fit") {
                build.fit = true;
            } else if (arg == "--disc-size") {
                if (value(i, text)) {
                    const auto megabytes = parseNumber(text);
                    if (!megabytes || *megabytes < 1 || *megabytes > kLargestDiscMB)
                        line_.error = "--disc-size takes 1 to " + std::to_string(kLargestDiscMB) + " (MB)";
                    else
                        build.discSizeMB = *megabytes;
                }
            } else if (arg == "--title-menu") {
                build.titleMenu = true;
            } else if (arg == "--chapter-menus") {
                build.chapterMenus = true;
            } else if (arg == "--background") {
                value(i, build.menuBackground);
            } else if (arg == "--menu-music") {
                value(i, build.menuMusic);
            } else if (arg == "--keep-vobs") {
                build.keepVobs = true;
            } else if (arg == "--letterbox" || arg == "--stretch") {
                if (ClipRequest *clip = currentClip(arg))
                    clip->letterbox = arg == "--letterbox";
            } else if (ParseBurnOption(args_, i, build.burn, line_.error)) {
            } else if (arg.size() > 1 && arg[0] == '-') {
                line_.error = "unknown option \"" + arg + "\"";
            } else {
                ClipRequest clip;
                clip.path = arg;
                build.clips.push_back(std::move(clip));
            }
        }
        if (line_.error.empty() && build.clips.empty())
            line_.error = "build needs at least one clip";
        if (line_.error.empty() && build.discSizeMB && !build.fit)
            line_.error = "--disc-size goes with --fit";
        if (line_.error.empty() && !build.titleMenu &&
            (build.chapterMenus || !build.menuBackground.empty() || !build.menuMusic.empty()))
            line_.error = "--chapter-menus, --background and --menu-music need --title-menu";
        if (line_.error.empty())
            line_.error = CheckBurnTarget(build.burn);
    }

    const std::vector<std::string> &args_;
    CommandLine line_;
};

} // namespace

std::optional<int32_t> ParseTime(const std::string &text)
{
    const std::vector<std::string> parts = split(text, ':');
    if (parts.empty() || parts.size() > 3)
        return std::nullopt;
    int32_t total = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const auto number = parseNumber(parts[i]);
        if (!number || (i > 0 && *number > 59))
            return std::nullopt;
        total = total * 60 + *number;
    }
    return total;
}

std::string UsageText()
{
    return R"(Usage:
  vantorel-cli probe FILE...
      Prints what the converter sees in each file: duration, picture size,
      display size, frame rate, bitrates, sound.

  vantorel-cli build [-o DIR] [--label NAME] [--pal|--ntsc] [--4:3|--16:9]
                     [--quality 0|1|2] [--fit [--disc-size MB]]
                     [--jobs N] [--work-folder DIR] [--keep-vobs]
                     [--title-menu [--chapter-menus] [--background FILE]
                                   [--menu-music FILE]]
                     CLIP [--trim START-END] [--chapters T1,T2,...]
                          [--subtitle FILE] [--stretch|--letterbox] [CLIP ...]
      Converts the clips to DVD video, muxes their subtitles and authors a
      DVD folder (DIR/NAME/VIDEO_TS, or NAME_1, NAME_2, ... when taken).
      Each clip becomes one title, played in order.

Options of build:
  -o DIR            output folder (default: the current folder); converted
                    clips are written there as OutputVOB_N.vob and deleted
                    once the DVD folder is made
  --label NAME      volume label and DVD folder name (default DVD_DISC);
                    upper-cased, A-Z 0-9 _ only (accented letters lose
                    their accents: Été -> ETE), at most 32 characters
  --pal, --ntsc     TV system (default NTSC)
  --4:3, --16:9     picture shape of the disc (default 4:3)
  --quality Q       0 best pictures: two passes over every clip, two to
                    four times the time (5000 kbit/s); 1 faster (default,
                    3000 kbit/s); 2 fastest/smallest (2500 kbit/s)
  --fit             choose the video bitrate that fills the disc with all
                    clips, their sound, menus and subtitles (at most
                    8000 kbit/s); a project that needs less than 1500
                    kbit/s to fit is refused before anything is converted
  --disc-size MB    the disc --fit fills, in MB of 1048576 bytes
                    (default: a DVD-5, 4300; a DVD-9 is 8500)
  --jobs N          clips converted at the same time, each in its own
                    process; 0 chooses from the cores and the memory
                    (default: ParallelConversions of Option.ini, else 0);
                    1 converts them one after another
  --work-folder DIR folder for intermediate files (default: the program's
                    work folder); the run keeps them in a marked subfolder
                    vantorel-work/ and empties only that; DIR must not hold
                    the clips or the output
  --keep-vobs       keep the converted OutputVOB_N.vob files after the DVD
                    folder is made
  --title-menu      the disc opens on a root menu (Play, Menu) and has a
                    title menu with one picture button per clip (the first
                    twelve clips), laid out as the menu editor does
  --chapter-menus   each clip with --chapters gets a chapter menu, opened
                    from its title-menu button, with a button per chapter
                    and a back button to the title menu
  --background FILE picture of the title and chapter menus (JPEG, PNG or
                    BMP, any size; stretched to the frame); default the
                    first shipped background, else black
  --menu-music FILE sound of the title menu, cut or padded to the menu
                    length (MenuDuration of Option.ini) and looped; without
                    it the menu is a silent still

Options of the clip before them:
  --trim START-END  keep only this part of the clip
  --chapters LIST   chapter start times, seconds of the source file; the
                    clip's start is always the first chapter; a title holds
                    at most 99 chapters
  --subtitle FILE   an SRT file, muxed in as a subtitle stream; UTF-8 text
                    (with or without a byte-order mark) is read as UTF-8,
                    other text in the character set of the subtitle language;
                    with --trim the subtitles move with the kept part
  --stretch         stretch the clip's picture to the frame
  --letterbox       keep the clip's shape with black bars (the default)

Times are seconds (90) or HH:MM:SS / MM:SS (00:01:30).
Progress goes to stderr; the summary (DVD folder, titles, size) to stdout.
The exit status is 0 only when a valid VIDEO_TS folder was made.
Ctrl-C stops a running conversion; a second Ctrl-C ends the program.

)" + BurnUsageText();
}

CommandLine ParseCommandLine(const std::vector<std::string> &arguments)
{
    return Parser(arguments).parse();
}

} // namespace vt::cli
