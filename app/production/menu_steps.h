// The title-menu and chapter-menu steps: each menu composed (background,
// highlight and select images, spumux control file), encoded into a still
// menu VOB by the converter library, and its buttons muxed in with spumux.
// The first step decides the run's MenuPlan, which the authoring step reads.
#pragma once

#include "app/production/disc_menus.h"
#include "app/production/menu_files.h"
#include "app/production/menu_plan.h"
#include "app/production/production_run.h"
#include "app/production/subtitle_step.h"

#include <string>

namespace vt::production {

// The root-menu background VOB of the program folder for the run's standard
// and shape (RES/MainSub{N,NW,P,PW}.vob), "" when it does not exist.
std::string RootMenuVobPath(const std::string &programFolder, const ProductionParams &params);

class MenuSteps {
public:
    // design: the project's menus (nullptr: none); menuDuration: seconds of a
    // menu with music.
    MenuSteps(ProductionRun &run, const DiscMenus *design, int clipCount, int menuDuration);

    // Decides the plan, then the title menu; false when the run was ended
    // (outcome 0, 6, 7 or 8).
    bool runTitleMenu();
    // Every chapter menu of the plan; false when the run was ended (outcome
    // 0, 9, 10 or 11).
    bool runChapterMenus();

    // 2: no title menu wanted; 1: the images and the control file written;
    // 0: one of them could not be.
    int MakeTitleMenuFiles();
    int MakeChapterMenuFiles(int clip);
    // The converter library's X_SetPar_BMP2VOB: 0 on success, 2 when the
    // library or an entry point is missing, otherwise failure.
    int MakeMenuVob(const MenuFiles &files, const std::string &musicFile, bool withMusic);

    // Stop pressed while a menu VOB is encoded: asks as the conversion does
    // and stops it; the run then ends as a user abort.
    void Stop();
    bool converterLoaded() const { return stopConvert_ != nullptr; }

    const MenuPlan &plan() const { return plan_; }

private:
    void decidePlan();
    int makeMenuFiles(const MenuPage &page, bool withBackButton, const MenuFiles &files);
    // Encode and mux one menu whose files are made; the run's outcome on
    // failure, kProcessFinish when done.
    int makeMenu(const MenuFiles &files, const std::string &musicFile, bool withMusic, int sourceText,
                 int destinationText, int conversionWrong, int muxWrong);
    void muxTick();

    ProductionRun &run_;
    const DiscMenus *design_;
    int clipCount_;
    int menuDuration_;
    MenuPlan plan_;
    MenuResources resources_;
    MuxPaths mux_;
    std::atomic<int *> percent_{nullptr};
    int (*stopConvert_)() = nullptr;
};

} // namespace vt::production
