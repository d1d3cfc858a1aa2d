// The run conventions every production window shares: the parameter record,
// the busy and idle states, the log and the two bars, the outcome of a run,
// the worker thread for long library calls and the progress timers.
//
// A run lives on the thread that owns the view. Library calls that block
// either pump messageTarget() themselves (the converter) or run on a worker
// through RunOnWorker while this thread keeps pumping.
#pragma once

#include "app/production/production_params.h"
#include "app/production/production_view.h"
#include "app/production/progress_timer.h"
#include "app/production/run_outcome.h"
#include "platform/message_target.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace vt::production {

// Where a run reads and writes.
struct RunFolders {
    std::string programFolder;  // the engines' folder (ExePath)
    std::string workFolder;     // named work folder; a run keeps its files in its own marked folder there
    std::string outputFolder;   // converted VOBs and DVD folders (outputFolder)
};

class ProductionRun {
public:
    ProductionRun(ProductionView &view, RunFolders folders);
    ~ProductionRun();
    ProductionRun(const ProductionRun &) = delete;
    ProductionRun &operator=(const ProductionRun &) = delete;

    // Fills the parameters, makes the output folder and the program's own
    // work folder (shell/work_folder.h) and empties that, logs "Data
    // preparation >>>" and enters the busy state (log cleared by the view,
    // bars 0, abort and note flags cleared). False, with the reason logged,
    // when a folder cannot be made or the work folder named holds one of the
    // sources or the output.
    bool PrepareRun(const RunChoices &choices, const std::vector<std::string> &sources = {});
    void LogLine(const std::string &line);
    void ShowProgress(int bar, int value);
    // Back to idle; logs the outcome's text for codes 0..17. A run that does
    // not finish first logs which folder has no space left (when a disk is
    // full) and removes the files it noted as made.
    void EndRun(int outcome);
    // Runs routine on a new thread while this one pumps; its result, or 0
    // when no thread could be started.
    int RunOnWorker(const std::function<int()> &routine);

    bool busy() const { return busy_; }
    int outcome() const { return outcome_; }
    ProductionParams &params() { return params_; }
    const RunFolders &folders() const { return folders_; }
    // The output folder of the next run (the user may choose another one
    // between runs).
    void setOutputFolder(const std::string &folder) { folders_.outputFolder = folder; }
    ProductionView &view() { return view_; }

    // The user pressed Stop and confirmed (the steps look at it after each
    // converter call). Safe from any thread.
    void setUserAbort() { userAbort_ = true; }
    bool userAbort() const { return userAbort_; }

    // A file or folder this run began (a partial VOB, the intermediate VOBs
    // of a DVD, the DVD folder being authored): EndRun removes each one still
    // noted when the run does not finish. Every PrepareRun starts afresh.
    void noteMadeFile(const std::string &path) { madeFiles_.push_back(path); }
    // The file is done (or renamed): it stays whatever happens later.
    void forgetMadeFile(const std::string &path);

    // "No space left ..." naming the run's output or work folder when its
    // disk is full; otherwise "".
    std::string noSpaceMessage() const;

    // The note of the authoring step's VOB fixing, logged once per run.
    bool takeFixNote();

    // Set while a worker runs.
    bool threadIsWorking() const { return threadIsWorking_; }

    // Where the converter posts and pumps. Pumping runs the view's events
    // and due progress timers.
    VtMessageTarget *messageTarget() { return &target_; }
    void pump();

    ProgressTimer conversionTimer, muxTimer, authorTimer;

private:
    static void post(VtMessageTarget *self, uint32_t msg, intptr_t wparam, intptr_t lparam);
    static void pumpTarget(VtMessageTarget *self);
    void removeMadeFiles();

    ProductionView &view_;
    RunFolders folders_;
    std::string namedWorkFolder_;
    std::vector<std::string> madeFiles_;
    ProductionParams params_;
    bool busy_ = false;
    int outcome_ = -1;
    std::atomic<bool> userAbort_{false};
    bool fixNoteLogged_ = false;
    std::atomic<bool> threadIsWorking_{false};
    std::atomic<int> threadReturnValue_{0};
    VtMessageTarget target_{};

};

} // namespace vt::production
