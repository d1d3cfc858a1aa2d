// The last step of the chains that make a disc: the device question before
// a run starts, the folder burn, and the burn step that acts on its result
// (erasing a rewritable disc that holds data, asking for another disc), with
// the burner's notifications in the run's log and bar 2.
#pragma once

#include "app/burn/burner_messages.h"

#include <cstdint>
#include <string>

namespace vt::production {
class ProductionRun;
}
namespace vt::common {
class UiLanguage;
}

namespace vt::burn {

class BurnerFacade;

// The questions and boxes of the burn step; the windows show them through
// the dialog service.
class BurnDialogs {
public:
    virtual ~BurnDialogs() = default;
    // Yes/No, captioned "Burn to disc ?"; true for Yes.
    virtual bool askBurnToDisc(const std::string &text) = 0;
    // Yes/No; true for Yes.
    virtual bool askYesNo(const std::string &text) = 0;
    // OK/Cancel confirmation; true for OK.
    virtual bool askOkCancel(const std::string &text) = 0;
    virtual void showError(const std::string &text) = 0;
};

// What is burned, where and how.
struct BurnJob {
    int drive = 0;
    int speedIndex = 0;
    std::string volumeLabel;  // the Disc Volume edit
    std::string videoTsFolder;
};

enum class StartAnswer { Burn, WithoutBurn, DoNotStart };

// The device question before a run: no usable device asks with text 75,
// no usable blank disc with 76 (Yes ejects the tray). Yes: the run does not
// start; No: it goes on without burning.
StartAnswer AskBeforeStart(BurnerFacade &facade, int drive, BurnDialogs &dialogs, const common::UiLanguage &language);

// Folder burn results.
inline constexpr int kFolderBurnFailed = 0;
inline constexpr int kFolderBurned = 1;
inline constexpr int kFolderDiscHoldsData = 2;
inline constexpr int kFolderDiscUnusable = 3;
inline constexpr int kFolderDiscTooSmall = 4;

// Room left on the disc beyond the folder.
inline constexpr uint64_t kBurnReserveBytes = 52428800;
// Erase rounds a run allows before it asks for another disc.
inline constexpr int kMaxEraseRounds = 2;

class BurnStep {
public:
    BurnStep(BurnerFacade &facade, production::ProductionRun &run, BurnDialogs &dialogs,
             const common::UiLanguage &language);

    // Registers for the burner's notifications (the device window takes
    // them over while it is open).
    void listen();

    // The burn step; true when the disc was written (bar 2 at 100). False
    // when the run was ended: 16 when the user cancelled, 17 when burning
    // failed. A disc holding data is erased only after the user agrees;
    // after each erase the disc is checked again.
    bool run(const BurnJob &job);

    // One folder burn: 0 failed, 1 burned, 2 the disc holds data, 3 no
    // usable disc, 4 the disc is too small.
    int burnFolder(const BurnJob &job);

    // A notification of the facade: (2, _) burned, (3, p) bar 2, (4, 0|1)
    // padding begins and ends.
    void notify(intptr_t first, intptr_t second);

private:
    // Ejects, asks text 59 + question, loads; true for OK.
    bool askForAnotherDisc(int questionText);
    std::string text(int number) const;

    BurnerFacade &facade_;
    production::ProductionRun &run_;
    BurnDialogs &dialogs_;
    const common::UiLanguage &language_;
    BurnerMessages messages_;
    bool paddingNoted_ = false;
    bool erasing_ = false;
};

} // namespace vt::burn
