#include "app/production/subtitle_step.h"

#include "app/production/clip_conversion.h"
#include "app/production/font_file.h"
#include "app/production/srt_file.h"
#include "app/production/subtitle_script.h"
#include "app/production/xml_text.h"
#include "app/project/clip_record.h"
#include "app/common/file_name.h"
#include "app/common/program_files.h"
#include "app/common/region_list.h"
#include "app/common/ui_language.h"
#include "engines/authoring/dvdauthor_library.h"
#include "platform/module_loader.h"
#include "platform/paths.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace vt::production {

namespace {

using common::kStartSubtitleText;
constexpr const char *kUtf8CharacterSet = "UTF-8";

bool isFile(const std::string &path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// Every line of the cues, one after the other.
std::string textOf(const std::vector<SrtCue> &cues)
{
    std::string text;
    for (const SrtCue &cue : cues)
        for (const std::string &line : cue.lines)
            text += line + "\n";
    return text;
}

} // namespace

int RunSpumux(const std::string &programFolder, const MuxPaths &paths, std::atomic<int *> *percent)
{
    Module library;
    decltype(&setreg) setRegistration = nullptr;
    decltype(&spumux_main) spumuxMain = nullptr;
    decltype(&getSubtitleMuxPercent) muxPercent = nullptr;
    if (!library.open(withTrailingSlash(programFolder) + common::kAuthoringLibrary) ||
        !library.bind("setreg", setRegistration) || !library.bind("spumux_main", spumuxMain) ||
        !library.bind("getSubtitleMuxPercent", muxPercent))
        return 2;
    std::error_code error;
    fs::remove(paths.output, error);
    setRegistration(DVDAUTHOR_LIBRARY_INIT);
    if (percent)
        *percent = muxPercent();
    const int result = spumuxMain(paths.control.c_str(), paths.input.c_str(), paths.output.c_str());
    if (percent)
        *percent = nullptr;
    if (result != 0 || !isFile(paths.output) || fs::file_size(paths.output, error) == 0) {
        fs::remove(paths.output, error);
        return 0;
    }
    // One rename: the clip's VOB is either the old file or the muxed one.
    return std::rename(paths.output.c_str(), paths.input.c_str()) == 0 ? 1 : 0;
}

std::string SubtitleFileProblem(const std::string &path)
{
    if (!isFile(path))
        return "Subtitle file " + path + " does not exist.";
    return ReadSrtFile(path).error;
}

SubtitleStep::SubtitleStep(ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions)
    : run_(run)
    , clips_(clips)
    , regions_(regions)
{
    run_.muxTimer.setTick([this] { muxTick(); });
}

bool SubtitleStep::check()
{
    for (int i = 0; i < clips_.count(); ++i) {
        const std::string &file = clips_[i].subtitleFile;
        if (file.empty())
            continue;
        const std::string problem = SubtitleFileProblem(file);
        if (!problem.empty()) {
            run_.LogLine(problem);
            run_.EndRun(kMuxParameterWrong);
            return false;
        }
    }
    return true;
}

int SubtitleStep::WriteSubtitleScript(const project::ClipRecord &clip)
{
    if (clip.subtitleFile.empty())
        return 0;
    if (!isFile(clip.subtitleFile)) {
        run_.LogLine(SubtitleFileProblem(clip.subtitleFile));
        return -1;
    }
    const SrtReadResult subtitles = ReadSrtFile(clip.subtitleFile);
    if (!subtitles.ok()) {
        run_.LogLine(subtitles.error);
        return -1;
    }
    // The VOB holds the kept part of the clip only: its subtitles move with it.
    const int64_t startMs = int64_t{clip.start} * 1000;
    const int64_t endMs = ConvertedToTheEnd(clip) ? -1 : int64_t{clip.end} * 1000;
    const std::vector<SrtCue> cues = CuesInRange(subtitles.cues, startMs, endMs);
    if (cues.empty()) {
        run_.LogLine("No subtitle of " + fs::path(clip.subtitleFile).filename().string() +
                     " falls within the kept part of the clip; the title gets no subtitles.");
        return 0;
    }
    const std::string work = run_.folders().workFolder;
    const std::string srt = work + "subtitle.srt";
    if (!WriteTextFile(srt, FormatSrt(cues))) {
        run_.LogLine("Can not write " + srt);
        return -1;
    }

    SubtitleScriptInput in;
    in.srtFile = srt;
    in.characterSet = subtitles.utf8 ? kUtf8CharacterSet : regions_.GetRegionCharacterSet(clip.subtitleLanguageIndex);
    if (in.characterSet.empty())
        in.characterSet = common::kDefaultCharacterSet;
    in.fontSize = clip.subtitleFontSize;
    const std::string regionFont =
        ResolveFontFile(regions_.GetRegionFontFile(clip.subtitleLanguageIndex), run_.folders().programFolder);
    in.fontFile = subtitles.utf8 ? FontCoveringText(regionFont, textOf(cues)) : regionFont;
    if (in.fontFile != regionFont)
        run_.LogLine("Subtitle font " + fs::path(regionFont).filename().string() + " lacks characters of " +
                     fs::path(clip.subtitleFile).filename().string() + "; using " +
                     fs::path(in.fontFile).filename().string() + ".");
    in.pal = run_.params().pal();
    const std::string control = work + "subtitle.xml";
    if (!WriteTextFile(control, JoinCrLf(MakeSubtitleScript(in)))) {
        run_.LogLine("Can not write " + control);
        return -1;
    }

    mux_.input = clip.vobFile;
    mux_.output = common::FileNameWithoutExtension(clip.vobFile) + "_srt.vob";
    mux_.control = control;
    run_.LogLine(fs::path(clip.vobFile).filename().string() + " <<<< " +
                 fs::path(clip.subtitleFile).filename().string());
    return 1;
}

void SubtitleStep::muxTick()
{
    int *percent = percent_;
    if (percent && run_.threadIsWorking())
        run_.ShowProgress(1, *percent);
}

bool SubtitleStep::muxed(int clipIndex) const
{
    return clipIndex >= 0 && clipIndex < static_cast<int>(muxed_.size()) && muxed_[clipIndex];
}

bool SubtitleStep::run()
{
    muxed_.assign(clips_.count(), false);
    run_.LogLine(common::GetUIText(kStartSubtitleText));
    for (int i = 0; i < clips_.count(); ++i) {
        const int script = WriteSubtitleScript(clips_[i]);
        if (script == 0)
            continue;
        if (script < 0) {
            run_.EndRun(kMuxParameterWrong);
            return false;
        }
        run_.muxTimer.enable();
        const std::string programFolder = run_.folders().programFolder;
        const int muxed = run_.RunOnWorker([&] { return RunSpumux(programFolder, mux_, &percent_); });
        run_.muxTimer.disable();
        if (muxed != 1) {
            run_.LogLine(muxed == 2 ? "The authoring library " + std::string(common::kAuthoringLibrary) +
                                          " is missing or incomplete."
                                    : "spumux could not mux " + fs::path(clips_[i].subtitleFile).filename().string() +
                                          " into " + fs::path(clips_[i].vobFile).filename().string() + ".");
            run_.EndRun(kMuxProcessWrong);
            return false;
        }
        muxed_[i] = true;
    }
    run_.ShowProgress(1, 100);
    return true;
}

} // namespace vt::production
