#include "app/burn/burn_step.h"

#include "app/burn/burn_engine.h"
#include "app/burn/burner_facade.h"
#include "app/common/ui_language.h"
#include "app/common/ui_text_ids.h"
#include "app/production/production_run.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vt::burn {

StartAnswer AskBeforeStart(BurnerFacade &facade, int drive, BurnDialogs &dialogs, const common::UiLanguage &language)
{
    const int check = facade.CheckDisc(drive);
    if (check != kNoUsableDevice && check != kNoUsableDisc)
        return StartAnswer::Burn;
    const int question = check == kNoUsableDevice ? vt::common::kNoWritableDeviceText : vt::common::kNoBlankDiscText;
    if (!dialogs.askBurnToDisc(language.GetUIText(question)))
        return StartAnswer::WithoutBurn;
    if (check == kNoUsableDisc)
        facade.Eject();
    return StartAnswer::DoNotStart;
}

BurnStep::BurnStep(BurnerFacade &facade, production::ProductionRun &run, BurnDialogs &dialogs,
                   const common::UiLanguage &language)
    : facade_(facade)
    , run_(run)
    , dialogs_(dialogs)
    , language_(language)
    , messages_([this](intptr_t first, intptr_t second) { notify(first, second); }, [this] { run_.pump(); })
{
}

void BurnStep::listen()
{
    facade_.RegisterNotifyWindow(messages_.target());
}

std::string BurnStep::text(int number) const
{
    return language_.GetUIText(number);
}

bool BurnStep::run(const BurnJob &job)
{
    listen();
    paddingNoted_ = false;
    int eraseRounds = 0;
    for (;;) {
        int result = burnFolder(job);
        if (result == kFolderBurned) {
            run_.ShowProgress(2, 100);
            return true;
        }
        if (result == kFolderBurnFailed) {
            run_.EndRun(production::kBurningProcessWrong);
            return false;
        }
        if (result == kFolderDiscHoldsData) {
            if (eraseRounds == 0 && !dialogs_.askYesNo(text(vt::common::kEraseQuestionText))) {
                result = kFolderDiscUnusable;
            } else {
                ++eraseRounds;
                run_.LogLine(text(vt::common::kStartEraseText) + " -- " + std::to_string(eraseRounds));
                erasing_ = true;
                const bool erased = facade_.EraseDisc();
                erasing_ = false;
                run_.LogLine(text(vt::common::kEraseFinishLogText));
                // A good erase is followed by a new try; a failed one is
                // tried once more. The next round reads the disc again.
                if (eraseRounds < kMaxEraseRounds || (erased && eraseRounds == kMaxEraseRounds))
                    continue;
                run_.LogLine(text(vt::common::kCannotEraseText));
                eraseRounds = 0;
                result = kFolderDiscUnusable;
            }
        }
        const int question = result == kFolderDiscTooSmall ? vt::common::kDiscTooSmallText : vt::common::kUnsupportedDiscText;
        if (!askForAnotherDisc(question)) {
            run_.EndRun(production::kUserCancelsBurning);
            return false;
        }
    }
}

bool BurnStep::askForAnotherDisc(int questionText)
{
    facade_.Eject();
    const bool again = dialogs_.askOkCancel(text(vt::common::kCannotCreateBurnText) + text(questionText));
    run_.view().processEvents();
    facade_.Load();
    return again;
}

int BurnStep::burnFolder(const BurnJob &job)
{
    std::error_code error;
    if (job.videoTsFolder.empty() || !fs::is_directory(job.videoTsFolder, error)) {
        dialogs_.showError(text(vt::common::kCannotCreateBurnText) + text(vt::common::kNoDvdFolderToBurnText));
        return kFolderBurnFailed;
    }
    run_.LogLine(text(vt::common::kCheckDiscText));
    const int check = facade_.CheckDisc(job.drive);
    if (check == kNoUsableDevice) {
        dialogs_.showError(text(vt::common::kCannotCreateBurnText) + text(vt::common::kUnknownDeviceText));
        return kFolderBurnFailed;
    }
    if (check == kDiscMustBeErased)
        return kFolderDiscHoldsData;
    if (check == kNoUsableDisc)
        return kFolderDiscUnusable;
    run_.LogLine(text(vt::common::kInsertedMediaText) + facade_.MediaName());
    run_.LogLine(text(vt::common::kGetSourceSizeText));
    const uint64_t folderBytes = BurnerFacade::FolderSize(job.videoTsFolder);
    run_.LogLine("DVD >>> " + std::to_string(folderBytes));
    const uint64_t freeBytes = facade_.FreeSpace();
    run_.LogLine(std::to_string(freeBytes) + " >>> DVD");
    if (freeBytes < folderBytes + kBurnReserveBytes)
        return kFolderDiscTooSmall;
    facade_.SelectSpeed(job.speedIndex);
    run_.LogLine(text(vt::common::kStartBurnText));
    facade_.SetVolumeLabel(job.volumeLabel);
    facade_.SetSourceFolder(job.videoTsFolder);
    const bool burned = facade_.BurnFolder();
    facade_.Eject();
    return burned ? kFolderBurned : kFolderBurnFailed;
}

void BurnStep::notify(intptr_t first, intptr_t second)
{
    // The erase worker reports its result as (4, 1|0): that is no padding.
    if (erasing_ && first == 4)
        return;
    if (first == 2) {
        run_.LogLine(text(vt::common::kBurnFinishText));
    } else if (first == 3) {
        run_.ShowProgress(2, int(second));
    } else if (first == 4 && second == 0) {
        paddingNoted_ = true;
        run_.LogLine(text(vt::common::kStartPadText));
    } else if (first == 4 && second == 1) {
        if (paddingNoted_)
            run_.LogLine(text(vt::common::kPadFinishText));
        paddingNoted_ = false;
    }
}

} // namespace vt::burn
