#include "app/cli/cli_commands.h"

#include "app/cli/cli_burn.h"
#include "app/cli/cli_menus.h"
#include "app/cli/console_view.h"
#include "app/common/file_sizes.h"
#include "app/common/format_hms.h"
#include "app/common/region_list.h"
#include "app/common/settings.h"
#include "app/common/ui_language.h"
#include "app/common/work_folder.h"
#include "app/menu/menu_design.h"
#include "app/production/conversion_chain.h"
#include "app/production/disc_menus.h"
#include "app/production/dvd_build_chain.h"
#include "app/project/clip_probe.h"
#include "platform/paths.h"

#include <algorithm>
#include <optional>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace vt::cli {

namespace {

std::string twoDecimals(double value)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::fixed << std::setprecision(2) << value;
    return text.str();
}

// Applies the request's trim, chapters, subtitle and letterbox to a probed
// clip; "" or why it cannot be used.
std::string applyRequest(const ClipRequest &request, project::ClipRecord &clip)
{
    const int32_t start = request.trimStart.value_or(0);
    const int32_t end = request.trimEnd ? std::min(*request.trimEnd, clip.duration) : clip.duration;
    if (start >= end)
        return "trim " + common::FormatHMS(start) + "-" +
               (request.trimEnd ? common::FormatHMS(*request.trimEnd) : std::string("end")) +
               " is outside the clip, which is " + std::to_string(clip.duration) + " s long (" +
               common::FormatHMS(clip.duration) + ")";
    clip.setTimes(start, end);
    if (!request.chapters.empty()) {
        std::vector<int32_t> times{start};
        for (int32_t time : request.chapters)
            if (time > start && time < end)
                times.push_back(time);
        std::sort(times.begin(), times.end());
        times.erase(std::unique(times.begin(), times.end()), times.end());
        clip.chapters = project::TSubChapter::fromTimes(times);
    }
    if (!request.subtitle.empty()) {
        std::error_code error;
        if (!fs::is_regular_file(request.subtitle, error))
            return "subtitle file " + request.subtitle + " does not exist";
        clip.setSubtitleFile(fs::absolute(request.subtitle).string());
    }
    clip.letterbox = request.letterbox;
    return "";
}

// Every sound track of a file with several; the one converted is marked.
void printSoundTracks(const std::vector<project::SoundTrack> &tracks, std::ostream &out)
{
    out << "  sound tracks   " << tracks.size() << "\n";
    for (size_t i = 0; i < tracks.size(); ++i) {
        const project::SoundTrack &track = tracks[i];
        out << "    track " << (i + 1) << "      stream " << track.streamIndex << ", " << track.sampleRate << " Hz, "
            << track.channels << " channels";
        if (track.kbps > 0)
            out << ", " << twoDecimals(track.kbps) << " kbit/s";
        if (!track.language.empty())
            out << ", " << track.language;
        out << (track.used ? " (converted)" : " (not used)") << "\n";
    }
}

std::string absoluteFolder(const std::string &folder)
{
    std::error_code error;
    const fs::path path = fs::absolute(folder.empty() ? fs::current_path(error) : fs::path(folder), error);
    return withTrailingSlash(path.lexically_normal().string());
}

} // namespace

int RunProbe(const std::vector<std::string> &files, std::ostream &out)
{
    int status = 0;
    for (const std::string &file : files) {
        const project::ProbeResult probe = project::ProbeClip(file);
        if (!probe.clip) {
            std::cerr << file << ": " << probe.error << "\n";
            status = 1;
            continue;
        }
        const project::ClipRecord &clip = *probe.clip;
        out << file << "\n"
            << "  duration       " << clip.duration << " s (" << common::FormatHMS(clip.duration) << ")\n"
            << "  picture        " << clip.width << "x" << clip.height << ", displayed " << clip.displayWidth << "x"
            << clip.displayHeight << " (aspect code " << clip.aspectCode << ")\n"
            << "  frame rate     " << twoDecimals(clip.frameRate) << " fps, "
            << (clip.interlaced ? "interlaced" : "progressive") << "\n"
            << "  video bitrate  " << twoDecimals(clip.videoBitrate) << " kbit/s\n";
        if (clip.sampleRate > 0)
            out << "  sound          " << clip.sampleRate << " Hz, " << clip.audioValue << " channels, "
                << twoDecimals(clip.audioBitrate) << " kbit/s\n";
        else
            out << "  sound          none\n";
        if (probe.soundTracks.size() > 1)
            printSoundTracks(probe.soundTracks, out);
    }
    return status;
}

int RunBuild(const BuildRequest &request, std::ostream &out)
{
    if (const std::string problem = PrecheckBurnTarget(request.burn); !problem.empty()) {
        std::cerr << problem << "\n";
        return 2;
    }
    project::ClipRecordList clips;
    for (const ClipRequest &clipRequest : request.clips) {
        project::ProbeResult probe = project::ProbeClip(clipRequest.path, clipRequest.letterbox);
        if (!probe.clip) {
            std::cerr << clipRequest.path << ": " << probe.error << "\n";
            return 2;
        }
        probe.clip->fileName = fs::absolute(clipRequest.path).string();
        probe.clip->subtitleFontSize = common::programSettings().subtitleFontSize;
        probe.clip->subtitleLanguageIndex = common::programSettings().subtitleLanguageIndex;
        const std::string problem = applyRequest(clipRequest, *probe.clip);
        if (!problem.empty()) {
            std::cerr << clipRequest.path << ": " << problem << "\n";
            return 2;
        }
        clips.append(std::move(probe.clip));
    }

    menu::MenuDesign design;
    std::optional<production::DiscMenus> menus;
    if (request.titleMenu) {
        if (const std::string problem = BuildMenuDesign(request, clips, design); !problem.empty()) {
            std::cerr << problem << "\n";
            return 2;
        }
        menus = production::MakeDiscMenus(design, clips);
    }

    production::RunFolders folders;
    folders.programFolder = ExePath();
    folders.outputFolder = absoluteFolder(request.outputFolder);
    folders.workFolder = request.workFolder.empty() ? workFolder() : absoluteFolder(request.workFolder);
    const std::string workFolderProblem =
        common::WorkFolderProblem(folders.workFolder, production::ClipSourceFiles(clips), folders.outputFolder);
    if (!workFolderProblem.empty()) {
        std::cerr << workFolderProblem << "\n";
        return 2;
    }

    production::RunChoices choices;
    choices.ntsc = request.ntsc;
    choices.aspect = request.wide ? production::kAspect16x9 : production::kAspect4x3;
    choices.qualityIndex = request.quality;
    choices.deinterlace = production::DeinterlaceByDefault(clips);
    choices.volumeLabel = request.label;
    choices.conversionJobs = request.jobs.value_or(common::programSettings().parallelConversions);
    choices.fitToDisc = request.fit;
    choices.discCapacityKB =
        request.discSizeMB ? int64_t{*request.discSizeMB} * 1024 : common::programSettings().dvd5SizeKB;
    choices.menuSeconds = common::programSettings().menuDuration;

    const common::RegionList regions = common::RegionList::program();
    ConsoleView view;
    production::ProductionRun run(view, folders, common::programUiLanguage());
    const common::Settings &settings = common::programSettings();
    production::DvdBuildChain chain(run, clips, regions, settings.menuLanguageIndex, menus ? &*menus : nullptr,
                                    settings.menuDuration);
    chain.setDeleteConvertedVobs(!request.keepVobs);
    view.onInterrupt([&chain] { chain.stop(); });
    const int outcome = chain.run(choices);

    if (outcome != production::kProcessFinish || !production::IsDvdFolder(chain.dvdFolder()))
        return 1;
    uint64_t bytes = 0;
    common::FolderSize(chain.dvdFolder() + "/VIDEO_TS", bytes);
    out << "DVD folder: " << chain.dvdFolder() << "\n"
        << "Volume label: " << run.params().VolumeLabel << "\n"
        << "Titles: " << clips.count() << "\n";
    for (int i = 0; i < clips.count(); ++i) {
        const project::ClipRecord &clip = clips[i];
        const size_t chapters = clip.chapters ? clip.chapters->buttons.size() : 1;
        out << "  " << (i + 1) << ": " << fs::path(clip.fileName).filename().string() << ", "
            << common::FormatHMS(clip.discDuration()) << (clip.convertedDuration >= 0 ? " (part of the source)" : "")
            << ", " << chapters << (chapters == 1 ? " chapter" : " chapters")
            << (chain.subtitlesMuxed(i) ? ", subtitles" : "") << "\n";
    }
    const production::MenuPlan &plan = chain.menuPlan();
    if (plan.titleMenuMade()) {
        out << "Menus: title menu (" << plan.titleButtonClips().size() << " buttons)";
        if (plan.rootMenuPossible())
            out << ", root menu";
        int chapterMenus = 0;
        for (int clip : plan.chapterMenuClips())
            chapterMenus += plan.chapterMenuMade(clip) ? 1 : 0;
        if (chapterMenus > 0)
            out << ", " << chapterMenus << (chapterMenus == 1 ? " chapter menu" : " chapter menus");
        out << (plan.backButtonsPossible() ? ", back buttons" : "") << "\n";
    }
    out << "Size: " << bytes / 1048576 << " MB (" << bytes << " bytes)\n";
    if (request.burn.wanted())
        return RunBurn(chain.dvdFolder(), run.params().VolumeLabel, request.burn, out);
    return 0;
}

} // namespace vt::cli
