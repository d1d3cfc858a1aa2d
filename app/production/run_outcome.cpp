#include "app/production/run_outcome.h"

#include "app/shell/ui_language.h"

namespace vt::production {

std::string RunOutcomeText(int outcome)
{
    if (outcome < kUserAbort || outcome > kBurningProcessWrong)
        return "";
    return shell::GetUIText(89 + outcome);
}

} // namespace vt::production
