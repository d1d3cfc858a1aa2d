// Freeing the project and the program-wide pictures.
//
// The records these free belong to other parts of the program (the clip
// list, the title menu's texts, the background music); each registers what
// it needs freed when it is set up, and these three calls run the
// registered steps in registration order.
#pragma once

#include <functional>

namespace vt::common {

enum class ResetScope {
    Project,         // every clip record, the clip list, the background music file
    TitleTexts,      // the title menu's text items
    SharedPictures,  // the shared item bitmaps and the open UI language file
};

void RegisterResetStep(ResetScope scope, std::function<void()> step);

void ClearProject();
void FreeTitleTexts();
// Frees the twelve shared bitmaps, closes the UI language file and runs
// the registered steps.
void FreeSharedPictures();

} // namespace vt::common
