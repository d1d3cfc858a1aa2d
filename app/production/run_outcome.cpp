#include "app/production/run_outcome.h"

#include "app/common/ui_language.h"

namespace vt::production {

std::string RunOutcomeText(int outcome)
{
    if (outcome < kUserAbort || outcome > kBurningProcessWrong)
        return "";
    return common::GetUIText(common::kFirstRunOutcomeText + outcome);
}

} // namespace vt::production
