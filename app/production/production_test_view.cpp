#include "app/production/production_test_view.h"

#include <algorithm>

namespace vt::production {

bool RecordingView::askYesNo(const std::string &text)
{
    questions.push_back(text);
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingView::processEvents()
{
    ++processEventsCalls;
    if (onProcessEvents) {
        auto action = std::move(onProcessEvents);
        onProcessEvents = nullptr;
        action();
    }
}

bool RecordingView::logged(const std::string &line) const
{
    return std::find(log.begin(), log.end(), line) != log.end();
}

} // namespace vt::production
