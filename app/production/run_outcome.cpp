#include "app/production/run_outcome.h"

#include "app/shell/ui_language.h"

namespace vt::production {

std::string RunOutcomeText(int outcome)
{
    if (outcome < kUserAbort || outcome > kBurningProcessWrong)
        return "";
    return shell::GetUIText(shell::kFirstRunOutcomeText + outcome);
}

} // namespace vt::production
