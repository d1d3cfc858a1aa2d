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

constexpr int kStartConvertText = 78;
constexpr int kStopQuestionText = 57;
constexpr int kCannotStopText = 64;
constexpr int kLibraryMissing = 2;
// The end of a source is converted "to the end" only when the clip was not
// trimmed there; any other end point is honoured exactly.
constexpr const char *kToTheEnd = "0";
// Whole seconds the converter may report short of the clip's length for a
// complete conversion (its count is truncated; a source's length is rounded).
constexpr int kEarlyEndTolerance = 1;

bool exists(const std::string &path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
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

ClipConversion::ClipConversion(ProductionRun &run, project::ClipInfo &clips)
    : run_(run)
    , clips_(clips)
{
    run_.conversionTimer.setTick([this] { conversionTick(); });
}

bool ClipConversion::ConvertAll()
{
    run_.LogLine(shell::GetUIText(kStartConvertText));
    ProductionParams &params = run_.params();
    for (int i = 0; i < clips_.count(); ++i) {
        params.ClipIndex = i;
        if (!PrepareClip(clips_[i])) {
            run_.EndRun(kConversionParameterWrong);
            return false;
        }
        const int result = EncodeClip();
        if (run_.userAbort()) {
            run_.EndRun(kUserAbort);
            return false;
        }
        if (result == kLibraryMissing) {
            run_.EndRun(kConversionCannotStart);
            return false;
        }
        std::error_code error;
        if (result != 0 || fs::file_size(params.Output, error) == 0 || error) {
            run_.EndRun(kConversionProcessWrong);
            return false;
        }
        noteEarlyEnd(clips_[i]);
    }
    run_.ShowProgress(1, 100);
    return true;
}


bool ClipConversion::PrepareClip(project::TClipInfo &clip)
{
    ProductionParams &params = run_.params();
    params.Source = clip.fileName;
    params.Start = std::to_string(clip.start);
    const bool untrimmedEnd = clip.end >= clip.duration;
    params.Duration = untrimmedEnd ? kToTheEnd : std::to_string(clip.end - clip.start);
    params.ShownDuration = untrimmedEnd ? clip.duration - clip.start : clip.end - clip.start;
    params.PictureSize = clip.letterbox ? LetterboxPictureSize(clip.width, clip.displayHeight, params)
                                        : params.FrameSize;
    params.Output = NextOutputVobPath(run_.folders().outputFolder, params.ClipIndex);
    clip.vobFile = params.Output;
    run_.view().showDuration(shell::FormatHMS(params.ShownDuration));
    run_.LogLine(fileNameOf(clip.fileName) + " >>>> " + fileNameOf(params.Output));
    startSecond_ = clip.start;
    std::error_code error;
    return fs::is_regular_file(clip.fileName, error);
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
    std::error_code error;
    fs::remove(p.Output, error);

    converterLoaded_ = true;
    secondsConverted_ = 0;
    run_.conversionTimer.enable();
    const int result = mpegEnc(run_.messageTarget(), p.Source.c_str(), p.Start.c_str(), p.SampleRate.c_str(),
                               p.AspectText.c_str(), p.VideoCodec.c_str(), p.Format.c_str(), p.VideoBitrate.c_str(),
                               p.AudioBitrate.c_str(), p.PictureSize.c_str(), p.FrameSize.c_str(), p.Title.c_str(),
                               p.Author.c_str(), p.Comment.c_str(), p.FrameRate.c_str(), p.VideoStream.c_str(),
                               p.AudioStream.c_str(), p.Output.c_str(), p.AudioDelay.c_str(), p.Duration.c_str(), 0,
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
