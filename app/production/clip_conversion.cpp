#include "app/production/clip_conversion.h"

#include "app/common/format_hms.h"
#include "app/common/program_files.h"
#include "app/common/ui_language.h"
#include "app/production/conversion_jobs.h"
#include "app/production/convert_worker.h"
#include "app/production/convert_worker_protocol.h"
#include "app/production/letterbox_rule.h"
#include "app/project/clip_record.h"
#include "app/common/extra_ui_texts.h"
#include "engines/converter/corvane.h"
#include "platform/module_loader.h"
#include "platform/paths.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numeric>
#include <thread>

namespace fs = std::filesystem;

namespace vt::production {

namespace {

using common::kStartConvertText;
using common::kStopQuestionText;
using common::kCannotStopText;
constexpr int kLibraryMissing = 2;
// The end of a source is converted "to the end" only when the clip was not
// trimmed there; any other end point is honoured exactly.
constexpr const char *kToTheEnd = "0";
constexpr const char *kPartialSuffix = ".part";
// Whole seconds the converter may report short of the clip's length for a
// complete conversion (its count is truncated; a source's length is rounded).
constexpr int kEarlyEndTolerance = 1;
// How often the workers' lines are read while the run's events are pumped.
constexpr auto kWorkerPollInterval = std::chrono::milliseconds(20);
// A stopped worker finishes its file within this; then it is killed.
constexpr auto kWorkerStopGrace = std::chrono::milliseconds(800);

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

std::vector<std::string> ClipSourceFiles(const project::ClipRecordList &clips)
{
    std::vector<std::string> files;
    for (int i = 0; i < clips.count(); ++i) {
        files.push_back(clips[i].fileName);
        if (!clips[i].subtitleFile.empty())
            files.push_back(clips[i].subtitleFile);
    }
    return files;
}

bool ConvertedToTheEnd(const project::ClipRecord &clip)
{
    return clip.end >= clip.duration;
}

int ConvertedSeconds(const project::ClipRecord &clip)
{
    return ConvertedToTheEnd(clip) ? clip.duration - clip.start : clip.end - clip.start;
}

ClipConversion::ClipConversion(ProductionRun &run, project::ClipRecordList &clips, VobRole role)
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
    run_.LogLine(run_.text(kStartConvertText));
    ProductionParams &params = run_.params();
    const int jobs = std::min(params.ConversionJobs > 0 ? params.ConversionJobs : MachineConversionJobs(),
                              clips_.count());
    if (jobs > 1)
        return convertInWorkers(jobs);
    std::vector<std::string> finished;
    for (int i = 0; i < clips_.count(); ++i) {
        params.ClipIndex = i;
        if (!PrepareClip(clips_[i]))
            return endForMissingSource(clips_[i], finished);
        run_.view().showDuration(common::FormatHMS(params.ShownDuration));
        run_.noteMadeFile(PartialVobPath(params.Output));
        const int result = EncodeClip();
        const int outcome = finishClip(clips_[i], params.Output, result, secondsConverted_, params.ShownDuration);
        if (outcome != kProcessFinish) {
            endWithFinishedListed(outcome, finished);
            return false;
        }
        finished.push_back(params.Output);
        // A stop confirmed after this clip was complete stops the clips after it.
        if (run_.userAbort() && i + 1 < clips_.count()) {
            endWithFinishedListed(kUserAbort, finished);
            return false;
        }
    }
    if (run_.userAbort())
        run_.LogLine(run_.text(vt::common::kFinishedBeforeStopText));
    run_.ShowProgress(1, 100);
    return true;
}

int ClipConversion::finishClip(project::ClipRecord &clip, const std::string &output, int result, int seconds,
                               int expectedSeconds)
{
    const std::string partial = PartialVobPath(output);
    std::error_code error;
    // A stop confirmed once the clip was complete leaves it complete.
    if (run_.userAbort() && seconds + kEarlyEndTolerance < expectedSeconds)
        return kUserAbort;
    if (result == kLibraryMissing)
        return kConversionCannotStart;
    if (result != 0 || fs::file_size(partial, error) == 0 || error)
        return kConversionProcessWrong;
    if (fs::rename(partial, output, error); error) {
        run_.LogLine("Can not name the converted file " + output + ": " + error.message());
        return kConversionProcessWrong;
    }
    noteEarlyEnd(clip, seconds, expectedSeconds);
    run_.forgetMadeFile(partial);
    if (role_ == VobsAreIntermediate)
        run_.noteMadeFile(output);
    return kProcessFinish;
}

// One clip being converted by a worker process.
struct ClipConversion::WorkerJob {
    int clipIndex = 0;
    std::string output;
    int expectedSeconds = 0;
    std::vector<std::string> arguments;
    std::unique_ptr<ConvertWorker> worker = std::make_unique<ConvertWorker>();
};

bool ClipConversion::startWorker(WorkerJob &job)
{
    const std::string program = workerProgram_.empty()
                                    ? withTrailingSlash(run_.folders().programFolder) + kConvertWorkerProgram
                                    : workerProgram_;
    const std::string partial = PartialVobPath(job.output);
    std::error_code error;
    fs::remove(partial, error);
    if (job.worker->start(program, job.arguments))
        return true;
    run_.LogLine("Converter worker: " + job.worker->error());
    return false;
}

bool ClipConversion::convertInWorkers(int jobs)
{
    ProductionParams &params = run_.params();
    std::vector<int> seconds;
    for (int i = 0; i < clips_.count(); ++i)
        seconds.push_back(ConvertedSeconds(clips_[i]));
    const int totalSeconds = std::accumulate(seconds.begin(), seconds.end(), 0);
    const std::vector<int> order = LongestFirst(seconds);
    std::vector<std::string> finishedByClip(clips_.count());
    std::vector<WorkerJob> active;
    int next = 0;  // the place in order of the next clip to start
    int secondsDone = 0, framesDone = 0;  // of the clips finished
    int outcome = kProcessFinish;
    bool stopSent = false;
    auto stopDeadline = std::chrono::steady_clock::time_point::max();
    const std::string library = withTrailingSlash(run_.folders().programFolder) + common::kConverterLibrary;

    converterLoaded_ = true;
    run_.view().showDuration(common::FormatHMS(totalSeconds));
    // The progress timer reads the workers, so the display also moves while
    // the window waits for an answer (the stop question).
    run_.conversionTimer.setTick([&] {
        for (WorkerJob &job : active)
            if (job.worker->running())
                job.worker->poll();
        showWorkerProgress(active, secondsDone, framesDone, totalSeconds);
    });
    run_.conversionTimer.enable();
    while (!active.empty() || (next < clips_.count() && outcome == kProcessFinish && !run_.userAbort())) {
        while (static_cast<int>(active.size()) < jobs && next < clips_.count() && outcome == kProcessFinish &&
               !run_.userAbort()) {
            const int clipIndex = order[next];
            params.ClipIndex = clipIndex;
            if (!PrepareClip(clips_[clipIndex])) {
                run_.LogLine("Source file not found: " + clips_[clipIndex].fileName);
                outcome = kConversionParameterWrong;
                break;
            }
            WorkerJob job;
            job.clipIndex = clipIndex;
            job.output = params.Output;
            job.expectedSeconds = params.ShownDuration;
            const ProductionParams &p = params;
            job.arguments = {library, p.Source, p.Start, p.SampleRate, p.AspectText, p.VideoCodec, p.Format,
                             p.VideoBitrate, p.AudioBitrate, p.PictureSize, p.FrameSize, p.Title, p.Author,
                             p.Comment, p.FrameRate, p.VideoStream, p.AudioStream, PartialVobPath(p.Output),
                             p.AudioDelay, p.Duration, std::to_string(p.VideoStandard), p.AudioCodec,
                             std::to_string(p.QualityIndex), std::to_string(p.Deinterlace),
                             std::to_string(ThreadsForClip(MachineCores(), jobs, next, clips_.count()))};
            run_.noteMadeFile(PartialVobPath(job.output));
            ++next;
            if (!startWorker(job)) {
                outcome = kConversionCannotStart;
                break;
            }
            active.push_back(std::move(job));
        }

        run_.pump();
        const auto now = std::chrono::steady_clock::now();
        if (!stopSent && (run_.userAbort() || outcome != kProcessFinish)) {
            for (WorkerJob &job : active)
                job.worker->stop();
            stopSent = true;
            stopDeadline = now + kWorkerStopGrace;
        }
        if (now >= stopDeadline)
            for (WorkerJob &job : active)
                job.worker->kill();

        for (auto it = active.begin(); it != active.end();) {
            ConvertWorker &worker = *it->worker;
            if (worker.running() && worker.poll()) {
                ++it;
                continue;
            }
            project::ClipRecord &clip = clips_[it->clipIndex];
            int clipOutcome = kProcessFinish;
            if (worker.killedBySignal() != 0 && !stopSent) {
                run_.LogLine("The conversion of " + fileNameOf(clip.fileName) + " ended unexpectedly (signal " +
                             std::to_string(worker.killedBySignal()) + ": " + strsignal(worker.killedBySignal()) +
                             ")");
                clipOutcome = kConversionProcessWrong;
            } else if (!worker.error().empty()) {
                run_.LogLine("Converter library: " + worker.error());
                clipOutcome = kConversionCannotStart;
            } else if (outcome != kProcessFinish) {
                clipOutcome = kUserAbort;  // stopped with the run; its partial file goes with it
            } else {
                clipOutcome = finishClip(clip, it->output, worker.exitStatus() == 0 ? worker.result() : -1,
                                         worker.secondsConverted(), it->expectedSeconds);
            }
            if (clipOutcome == kProcessFinish) {
                finishedByClip[it->clipIndex] = it->output;
                secondsDone += it->expectedSeconds;
                framesDone += worker.frame();
                run_.LogLine("Converted: " + fileNameOf(it->output));
            } else if (outcome == kProcessFinish) {
                outcome = run_.userAbort() ? kUserAbort : clipOutcome;
            }
            it = active.erase(it);
        }
        std::this_thread::sleep_for(kWorkerPollInterval);
    }
    run_.conversionTimer.disable();
    run_.conversionTimer.setTick([this] { conversionTick(); });
    showWorkerProgress(active, secondsDone, framesDone, totalSeconds);
    converterLoaded_ = false;
    if (outcome == kProcessFinish && run_.userAbort()) {
        // Stopped after every clip was complete: there was nothing to stop.
        const bool allFinished =
            std::none_of(finishedByClip.begin(), finishedByClip.end(), [](const std::string &vob) { return vob.empty(); });
        if (allFinished)
            run_.LogLine(run_.text(vt::common::kFinishedBeforeStopText));
        else
            outcome = kUserAbort;
    }
    if (outcome != kProcessFinish) {
        std::vector<std::string> finished;
        for (const std::string &vob : finishedByClip)
            if (!vob.empty())
                finished.push_back(vob);
        endWithFinishedListed(outcome, finished);
        return false;
    }
    run_.ShowProgress(1, 100);
    return true;
}

void ClipConversion::showWorkerProgress(const std::vector<WorkerJob> &active, int secondsDone, int framesDone,
                                        int totalSeconds)
{
    int seconds = secondsDone, fps = 0, frames = framesDone;
    for (const WorkerJob &job : active) {
        seconds += job.worker->secondsConverted();
        fps += job.worker->fps();
        frames += job.worker->frame();
    }
    ConversionStatus status;
    status.currentTime = common::FormatHMS(seconds);
    if (fps != 0 && frames != 0) {
        status.fps = std::to_string(fps);
        status.currentFrame = std::to_string(frames);
    } else {
        status.fps = status.currentFrame = "Seeking...";
    }
    run_.view().showConversionStatus(status);
    run_.ShowProgress(1, static_cast<int>(int64_t{seconds} * 100 / std::max(totalSeconds, 1)));
}

void ClipConversion::endWithFinishedListed(int outcome, const std::vector<std::string> &finished)
{
    if (role_ == VobsAreResults)
        for (const std::string &vob : finished)
            run_.LogLine("Complete: " + fileNameOf(vob));
    run_.EndRun(outcome);
}

bool ClipConversion::endForMissingSource(const project::ClipRecord &clip, const std::vector<std::string> &finished)
{
    run_.LogLine("Source file not found: " + clip.fileName);
    endWithFinishedListed(kConversionParameterWrong, finished);
    return false;
}

bool ClipConversion::PrepareClip(project::ClipRecord &clip)
{
    ProductionParams &params = run_.params();
    params.Source = clip.fileName;
    params.Start = std::to_string(clip.start);
    const bool untrimmedEnd = ConvertedToTheEnd(clip);
    params.Duration = untrimmedEnd ? kToTheEnd : std::to_string(clip.end - clip.start);
    params.ShownDuration = ConvertedSeconds(clip);
    params.PictureSize = clip.letterbox ? LetterboxPictureSize(clip.width, clip.displayHeight, params)
                                        : params.FrameSize;
    params.Output = NextOutputVobPath(run_.folders().outputFolder, params.ClipIndex);
    clip.vobFile = params.Output;
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
    if (!library.open(withTrailingSlash(run_.folders().programFolder) + common::kConverterLibrary) ||
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

void ClipConversion::noteEarlyEnd(project::ClipRecord &clip, int secondsConverted, int expected)
{
    if (secondsConverted + kEarlyEndTolerance >= expected) {
        clip.convertedDuration = -1;
        return;
    }
    clip.convertedDuration = secondsConverted;
    run_.LogLine("Warning: " + fileNameOf(clip.fileName) + ": only " + common::FormatHMS(secondsConverted) + " of " +
                 common::FormatHMS(expected) +
                 " could be converted; its pictures end early or start late (a damaged or cut file)");
}

void ClipConversion::conversionTick()
{
    if (!converterLoaded_ || !getInfo_)
        return;
    int32_t info[4] = {};
    getInfo_(info);
    secondsConverted_ = info[0];
    ConversionStatus status;
    status.currentTime = common::FormatHMS(startSecond_ + info[0]);
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
        run_.view().showMessage(run_.text(kCannotStopText));
        return;
    }
    if (!run_.view().askYesNo(run_.text(kStopQuestionText)))
        return;
    run_.setUserAbort();
    if (stopConvert_)
        stopConvert_();
}

} // namespace vt::production
