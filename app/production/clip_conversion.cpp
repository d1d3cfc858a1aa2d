#include "app/production/clip_conversion.h"

#include "app/production/letterbox_rule.h"
#include "app/project/clip_record.h"
#include "app/shell/format_hms.h"
#include "app/shell/program_files.h"
#include "app/shell/ui_language.h"
#include "engines/converter/corvane.h"
#include "platform/module_loader.h"
#include "platform/paths.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vt::production {

namespace {

using shell::kStartConvertText;
using shell::kStopQuestionText;
using shell::kCannotStopText;
constexpr int kLibraryMissing = 2;
// The end of a source is converted "to the end" only when the clip was not
// trimmed there; any other end point is honoured exactly.
constexpr const char *kToTheEnd = "0";
constexpr const char *kPartialSuffix = ".part";
// Whole seconds the converter may report short of the clip's length for a
// complete conversion (its count is truncated; a source's length is rounded).
constexpr int kEarlyEndTolerance = 1;

bool exists(const std::string &path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool isFile(const std::string &path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string fileNameOf(const std::string &path)
{
    return fs::path(path).filename().string();
}

} // namespace

std::string NextOutputVobPath(const std::string &outputFolder, int clipIndex)
{
    const std::string base = withTrailingSlash(outputFolder) + "OutputVOB_" + std::to_string(clipIndex);
    if (!exists(base + ".vob"))
        return base + ".vob";
    for (int k = 1;; ++k) {
        const std::string candidate = base + "_" + std::to_string(k) + ".vob";
        if (!exists(candidate))
            return candidate;
    }
}

std::string PartialVobPath(const std::string &vobPath)
{
    return vobPath + kPartialSuffix;
}

std::vector<std::string> ClipSourceFiles(const project::ClipInfo &clips)
{
    std::vector<std::string> files;
    for (int i = 0; i < clips.count(); ++i) {
        files.push_back(clips[i].fileName);
        if (!clips[i].subtitleFile.empty())
            files.push_back(clips[i].subtitleFile);
    }
    return files;
}

bool ConvertedToTheEnd(const project::TClipInfo &clip)
{
    return clip.end >= clip.duration;
}

ClipConversion::ClipConversion(ProductionRun &run, project::ClipInfo &clips, VobRole role)
    : run_(run)
    , clips_(clips)
    , role_(role)
{
    run_.conversionTimer.setTick([this] { conversionTick(); });
}

bool ClipConversion::ConvertAll()
{
    // A source missing anywhere in the list stops the run before any work.
    for (int i = 0; i < clips_.count(); ++i)
        if (!isFile(clips_[i].fileName))
            return endForMissingSource(clips_[i], {});
    run_.LogLine(shell::GetUIText(kStartConvertText));
    ProductionParams &params = run_.params();
    std::vector<std::string> finished;
    for (int i = 0; i < clips_.count(); ++i) {
        params.ClipIndex = i;
        if (!PrepareClip(clips_[i]))
            return endForMissingSource(clips_[i], finished);
        const std::string partial = PartialVobPath(params.Output);
        run_.noteMadeFile(partial);
        const int result = EncodeClip();
        std::error_code error;
        int outcome = kProcessFinish;
        if (run_.userAbort())
            outcome = kUserAbort;
        else if (result == kLibraryMissing)
            outcome = kConversionCannotStart;
        else if (result != 0 || fs::file_size(partial, error) == 0 || error)
            outcome = kConversionProcessWrong;
        else if (fs::rename(partial, params.Output, error); error) {
            run_.LogLine("Can not name the converted file " + params.Output + ": " + error.message());
            outcome = kConversionProcessWrong;
        }
        if (outcome != kProcessFinish) {
            endWithFinishedListed(outcome, finished);
            return false;
        }
        noteEarlyEnd(clips_[i]);
        run_.forgetMadeFile(partial);
        if (role_ == VobsAreIntermediate)
            run_.noteMadeFile(params.Output);
        finished.push_back(params.Output);
    }
    run_.ShowProgress(1, 100);
    return true;
}

void ClipConversion::endWithFinishedListed(int outcome, const std::vector<std::string> &finished)
{
    if (role_ == VobsAreResults)
        for (const std::string &vob : finished)
            run_.LogLine("Complete: " + fileNameOf(vob));
    run_.EndRun(outcome);
}

bool ClipConversion::endForMissingSource(const project::TClipInfo &clip, const std::vector<std::string> &finished)
{
    run_.LogLine("Source file not found: " + clip.fileName);
    endWithFinishedListed(kConversionParameterWrong, finished);
    return false;
}

bool ClipConversion::PrepareClip(project::TClipInfo &clip)
{
    ProductionParams &params = run_.params();
    params.Source = clip.fileName;
    params.Start = std::to_string(clip.start);
    const bool untrimmedEnd = ConvertedToTheEnd(clip);
    params.Duration = untrimmedEnd ? kToTheEnd : std::to_string(clip.end - clip.start);
    params.ShownDuration = untrimmedEnd ? clip.duration - clip.start : clip.end - clip.start;
    params.PictureSize = clip.letterbox ? LetterboxPictureSize(clip.width, clip.displayHeight, params)
                                        : params.FrameSize;
    params.Output = NextOutputVobPath(run_.folders().outputFolder, params.ClipIndex);
    clip.vobFile = params.Output;
    run_.view().showDuration(shell::FormatHMS(params.ShownDuration));
    run_.LogLine(fileNameOf(clip.fileName) + " >>>> " + fileNameOf(params.Output));
    startSecond_ = clip.start;
    return isFile(clip.fileName);
}

int ClipConversion::EncodeClip()
{
    const ProductionParams &p = run_.params();
    Module library;
    decltype(&X_MpegEnc) mpegEnc = nullptr;
    decltype(&X_SetPar_BMP2VOB) bmpToVob = nullptr;
    if (!library.open(withTrailingSlash(run_.folders().programFolder) + shell::kConverterLibrary) ||
        !library.bind("X_Get_Info", getInfo_) || !library.bind("X_StopConvert", stopConvert_) ||
        !library.bind("X_MpegEnc", mpegEnc) || !library.bind("X_SetPar_BMP2VOB", bmpToVob)) {
        run_.LogLine("Converter library: " + library.error());
        return kLibraryMissing;
    }
    const std::string partial = PartialVobPath(p.Output);
    std::error_code error;
    fs::remove(partial, error);

    converterLoaded_ = true;
    secondsConverted_ = 0;
    run_.conversionTimer.enable();
    const int result = mpegEnc(run_.messageTarget(), p.Source.c_str(), p.Start.c_str(), p.SampleRate.c_str(),
                               p.AspectText.c_str(), p.VideoCodec.c_str(), p.Format.c_str(), p.VideoBitrate.c_str(),
                               p.AudioBitrate.c_str(), p.PictureSize.c_str(), p.FrameSize.c_str(), p.Title.c_str(),
                               p.Author.c_str(), p.Comment.c_str(), p.FrameRate.c_str(), p.VideoStream.c_str(),
                               p.AudioStream.c_str(), partial.c_str(), p.AudioDelay.c_str(), p.Duration.c_str(), 0,
                               p.VideoStandard, p.AudioCodec.c_str(), p.QualityIndex, p.Deinterlace,
                               CORVANE_ABI_VERSION);
    run_.conversionTimer.disable();
    conversionTick();
    converterLoaded_ = false;
    getInfo_ = nullptr;
    stopConvert_ = nullptr;
    return result;
}

void ClipConversion::noteEarlyEnd(project::TClipInfo &clip)
{
    const int expected = run_.params().ShownDuration;
    if (secondsConverted_ + kEarlyEndTolerance >= expected) {
        clip.convertedDuration = -1;
        return;
    }
    clip.convertedDuration = secondsConverted_;
    run_.LogLine("Warning: " + fileNameOf(clip.fileName) + " ended early; converted " +
                 shell::FormatHMS(secondsConverted_) + " of " + shell::FormatHMS(expected));
}

void ClipConversion::conversionTick()
{
    if (!converterLoaded_ || !getInfo_)
        return;
    int32_t info[4] = {};
    getInfo_(info);
    secondsConverted_ = info[0];
    ConversionStatus status;
    status.currentTime = shell::FormatHMS(startSecond_ + info[0]);
    if (info[1] != 0 && info[2] != 0) {
        status.fps = std::to_string(info[1]);
        status.currentFrame = std::to_string(info[2]);
    } else {
        status.fps = status.currentFrame = "Seeking...";
    }
    run_.view().showConversionStatus(status);
    const int shown = run_.params().ShownDuration > 0 ? run_.params().ShownDuration : 1;
    run_.ShowProgress(1, static_cast<int>(int64_t{info[0]} * 100 / shown));
}

void ClipConversion::Stop()
{
    if (!converterLoaded_) {
        run_.view().showMessage(shell::GetUIText(kCannotStopText));
        return;
    }
    if (!run_.view().askYesNo(shell::GetUIText(kStopQuestionText)))
        return;
    run_.setUserAbort();
    if (stopConvert_)
        stopConvert_();
}

} // namespace vt::production
