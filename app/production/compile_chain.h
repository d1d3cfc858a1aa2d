// The compiler mode's run: DVD-ready VOB files and the designed menus to a
// DVD folder — title menu, chapter menus, authoring. No conversion; each
// clip's vobFile is the VOB itself. Window-free, so the compile window and
// tests run the same chain; the burn step is the window's.
#pragma once

#include "app/production/authoring_step.h"
#include "app/production/menu_steps.h"

namespace vt::production {

class CompileChain {
public:
    CompileChain(ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions,
                 int menuLanguageIndex, const DiscMenus *menus = nullptr, int menuDuration = 5);

    // "No file to convert." for an empty list (outcome −1); otherwise the
    // standard follows the first clip's picture height (480 NTSC, any other
    // PAL), a missing VOB ends the run before any work (outcome 12), then
    // the steps; the run's outcome (1 when the DVD folder was made).
    int run(RunChoices choices);
    void stop() { menus_.Stop(); }

    // Leaves the run busy after a good DVD folder (run() then gives 1
    // without ending it): the window that burns next ends it.
    void setLeaveRunOpen(bool open) { leaveRunOpen_ = open; }

    const std::string &dvdFolder() const { return authoring_.dvdFolder(); }
    const MenuPlan &menuPlan() const { return menus_.plan(); }

private:
    ProductionRun &run_;
    project::ClipRecordList &clips_;
    MenuSteps menus_;
    AuthoringStep authoring_;
    bool leaveRunOpen_ = false;
};

} // namespace vt::production
