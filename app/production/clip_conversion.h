// The conversion step: every clip of the project to a DVD VOB file through
// the converter library's X_MpegEnc.
#pragma once

#include "app/production/production_run.h"

#include <string>
#include <vector>

namespace vt::project {
class ClipRecordList;
struct ClipRecord;
} // namespace vt::project

namespace vt::production {

// outputFolder + "OutputVOB_" + index + ".vob", or the first free
// "OutputVOB_" + index + "_" + k + ".vob".
std::string NextOutputVobPath(const std::string &outputFolder, int clipIndex);

// The name a VOB has while the converter writes it ("OutputVOB_0.vob.part"):
// it takes its own name only once complete, so that a stopped, failed or
// killed run never leaves a partial file named like a finished one.
std::string PartialVobPath(const std::string &vobPath);

// The files a run reads: every clip's source and subtitle file.
std::vector<std::string> ClipSourceFiles(const project::ClipRecordList &clips);
// True when the clip is converted to the end of its source (its end was not
// trimmed); otherwise the conversion stops at its end second.
bool ConvertedToTheEnd(const project::ClipRecord &clip);
// The seconds of the clip a conversion covers (its shown duration).
int ConvertedSeconds(const project::ClipRecord &clip);

class ClipConversion {
public:
    // What the VOBs are to the chain: the result (Converter mode, finished
    // ones stay when a later clip fails or the user stops), or steps towards
    // a DVD (removed again when the run does not finish).
    enum VobRole { VobsAreResults, VobsAreIntermediate };

    ClipConversion(ProductionRun &run, project::ClipRecordList &clips, VobRole role = VobsAreResults);

    // Converts every clip, once every source was found: in list order in
    // this process, or, when the run's ConversionJobs allows more than one,
    // that many at a time in vantorel-convert-worker processes, the longest
    // clips started first (each still named by its place in the list). True when all
    // were converted; otherwise the run has been ended with its outcome and
    // the partial files of the clips being converted removed; finished
    // result VOBs are listed in the log as complete.
    bool ConvertAll();
    // Fills the per-clip parameters and the clip's VOB path; false when the
    // source file does not exist.
    bool PrepareClip(project::ClipRecord &clip);
    // Binds the library and converts the prepared clip into its partial
    // file: the converter's result, or 2 when the library or an entry point
    // is missing.
    int EncodeClip();

    // Stop pressed: while a conversion runs, asks "Do you want to stop
    // process?" and stops it (every worker) on Yes; otherwise shows "Can not
    // stop process!".
    void Stop();
    bool converterLoaded() const { return converterLoaded_; }
    // The vantorel-convert-worker to run; by default the one in the program
    // folder.
    void setWorkerProgram(std::string path) { workerProgram_ = std::move(path); }

private:
    struct WorkerJob;

    bool convertInWorkers(int jobs);
    bool startWorker(WorkerJob &job);
    // How the clip's conversion ended: kProcessFinish once its VOB has its
    // own name, otherwise the run's outcome (the reason logged).
    int finishClip(project::ClipRecord &clip, const std::string &output, int result, int seconds,
                   int expectedSeconds);
    // The whole project: the seconds and frames of the finished clips and
    // of the active ones so far, the frames per second of all together.
    void showWorkerProgress(const std::vector<WorkerJob> &active, int secondsDone, int framesDone,
                            int totalSeconds);
    void endWithFinishedListed(int outcome, const std::vector<std::string> &finished);
    void conversionTick();
    // Logs the clip's missing source file and ends the run (outcome 2),
    // listing the finished VOBs; false.
    bool endForMissingSource(const project::ClipRecord &clip, const std::vector<std::string> &finished);
    // After a good conversion: records and logs a source that ended before
    // the clip's end.
    void noteEarlyEnd(project::ClipRecord &clip, int secondsConverted, int expectedSeconds);

    ProductionRun &run_;
    project::ClipRecordList &clips_;
    VobRole role_;
    bool converterLoaded_ = false;
    std::string workerProgram_;
    int (*getInfo_)(int32_t *) = nullptr;
    int (*stopConvert_)() = nullptr;
    int startSecond_ = 0;
    int secondsConverted_ = 0;  // of the current clip, from the converter's last report
};

} // namespace vt::production
