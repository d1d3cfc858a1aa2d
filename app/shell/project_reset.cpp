#include "app/common/project_reset.h"

#include "app/common/shared_bitmaps.h"
#include "app/common/ui_language.h"

#include <map>
#include <vector>

namespace vt::shell {

namespace {

std::map<ResetScope, std::vector<std::function<void()>>> &resetSteps()
{
    static std::map<ResetScope, std::vector<std::function<void()>>> steps;
    return steps;
}

void runResetSteps(ResetScope scope)
{
    for (const auto &step : resetSteps()[scope])
        step();
}

} // namespace

void RegisterResetStep(ResetScope scope, std::function<void()> step)
{
    resetSteps()[scope].push_back(std::move(step));
}

void ClearProject()
{
    runResetSteps(ResetScope::Project);
}

void FreeTitleTexts()
{
    runResetSteps(ResetScope::TitleTexts);
}

void FreeSharedPictures()
{
    programSharedBitmaps().free();
    programUiLanguage().closeLanguageIni();
    runResetSteps(ResetScope::SharedPictures);
}

} // namespace vt::shell
