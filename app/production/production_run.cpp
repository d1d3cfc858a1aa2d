#include "app/production/production_run.h"

#include "app/production/utf8_text.h"

#include "app/common/ui_language.h"
#include "app/common/work_folder.h"
#include "platform/paths.h"
#include "platform/volumes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

namespace vt::production {

namespace {

constexpr auto kWorkerPollStep = std::chrono::milliseconds(100);
using common::kDataPreparationText;
// Below this a write has most likely failed for want of space.
constexpr uint64_t kFullDiskBytes = 1 << 20;

// The path with its control characters made visible ("\n", "\x01").
std::string visiblePath(const std::string &path)
{
    std::string shown;
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        shown += byte >= 0x20 && byte != 0x7F ? std::string(1, c) : byte == '\n' ? "\\n" : escaped;
    }
    return shown;
}

// Why a folder cannot hold a run's files ("" when it can): the DVD control
// files name them in XML, which carries neither control characters nor
// broken UTF-8.
std::string folderNameProblem(const char *role, const std::string &folder)
{
    if (HasControlCharacter(folder))
        return std::string("The ") + role + " folder name holds a line break or another control character: \"" +
               visiblePath(folder) + "\"";
    if (!IsValidUtf8(folder))
        return std::string("The ") + role + " folder name is not valid UTF-8 text: \"" + folder + "\"";
    return "";
}

} // namespace

ProductionRun::ProductionRun(ProductionView &view, RunFolders folders)
    : view_(view)
    , folders_(std::move(folders))
    , namedWorkFolder_(folders_.workFolder.empty() ? workFolder() : folders_.workFolder)
{
    target_.post = &ProductionRun::post;
    target_.pump = &ProductionRun::pumpTarget;
    target_.user = this;
}

ProductionRun::~ProductionRun() = default;

void ProductionRun::post(VtMessageTarget *, uint32_t, intptr_t, intptr_t)
{
    // The converter announces the start and end of a conversion; a production
    // run relies on nothing in them.
}

void ProductionRun::pumpTarget(VtMessageTarget *self)
{
    static_cast<ProductionRun *>(self->user)->pump();
}

void ProductionRun::pump()
{
    view_.processEvents();
    const auto now = ProgressTimer::Clock::now();
    conversionTimer.poll(now);
    muxTimer.poll(now);
    authorTimer.poll(now);
}

bool ProductionRun::PrepareRun(const RunChoices &choices, const std::vector<std::string> &sources)
{
    params_ = MakeProductionParams(choices);
    madeFiles_.clear();
    userAbort_ = false;
    fixNoteLogged_ = false;
    outcome_ = kOutcomeNone;
    busy_ = true;
    view_.showBusy(true);
    ShowProgress(1, 0);
    ShowProgress(2, 0);

    for (const auto &[role, folder] : {std::pair{"output", &folders_.outputFolder}, {"work", &folders_.workFolder}}) {
        const std::string problem = folderNameProblem(role, *folder);
        if (!problem.empty()) {
            LogLine(problem);
            return false;
        }
    }
    folders_.outputFolder = withTrailingSlash(folders_.outputFolder);
    const std::string problem = common::WorkFolderProblem(namedWorkFolder_, sources, folders_.outputFolder);
    if (!problem.empty()) {
        LogLine(problem);
        return false;
    }
    if (!ensureFolder(folders_.outputFolder)) {
        LogLine("Can not create the output folder " + folders_.outputFolder);
        return false;
    }
    const std::string ownWorkFolder = common::OwnWorkFolder(namedWorkFolder_);
    if (!common::MakeOwnWorkFolder(ownWorkFolder)) {
        LogLine("Can not create the work folder " + ownWorkFolder);
        return false;
    }
    folders_.workFolder = ownWorkFolder;
    LogLine(common::GetUIText(kDataPreparationText));
    common::EmptyWorkFolder(folders_.workFolder);
    return true;
}

void ProductionRun::LogLine(const std::string &line)
{
    view_.logLine(line);
}

void ProductionRun::ShowProgress(int bar, int value)
{
    view_.showProgress(bar, value < 0 ? 0 : (value > 100 ? 100 : value));
}

void ProductionRun::EndRun(int outcome)
{
    conversionTimer.disable();
    muxTimer.disable();
    authorTimer.disable();
    busy_ = false;
    outcome_ = outcome;
    view_.showBusy(false);
    if (outcome != kProcessFinish && outcome != kOutcomeNone) {
        const std::string noSpace = outcome == kUserAbort ? "" : noSpaceMessage();
        if (!noSpace.empty())
            LogLine(noSpace);
        removeMadeFiles();
    }
    madeFiles_.clear();
    const std::string text = RunOutcomeText(outcome);
    if (!text.empty())
        LogLine(text);
}

int ProductionRun::RunOnWorker(const std::function<int()> &routine)
{
    threadIsWorking_ = true;
    std::thread worker;
    try {
        worker = std::thread([this, &routine] {
            threadReturnValue_ = routine();
            threadIsWorking_ = false;
        });
    } catch (const std::system_error &) {
        threadIsWorking_ = false;
        return 0;
    }
    while (threadIsWorking_) {
        std::this_thread::sleep_for(kWorkerPollStep);
        pump();
    }
    worker.join();
    return threadReturnValue_;
}

void ProductionRun::forgetMadeFile(const std::string &path)
{
    madeFiles_.erase(std::remove(madeFiles_.begin(), madeFiles_.end(), path), madeFiles_.end());
}

void ProductionRun::removeMadeFiles()
{
    for (auto it = madeFiles_.rbegin(); it != madeFiles_.rend(); ++it) {
        std::error_code error;
        if (std::filesystem::remove_all(*it, error) > 0 && !error)
            LogLine("Removed " + *it);
    }
    madeFiles_.clear();
}

std::string ProductionRun::noSpaceMessage() const
{
    for (const std::string &folder : {folders_.outputFolder, folders_.workFolder}) {
        const std::optional<uint64_t> free = freeBytesAt(folder);
        if (free && *free < kFullDiskBytes)
            return "No space left on the disk of " + folder + ": free some space there or choose another folder.";
    }
    return "";
}

bool ProductionRun::takeFixNote()
{
    if (fixNoteLogged_)
        return false;
    fixNoteLogged_ = true;
    return true;
}

} // namespace vt::production
