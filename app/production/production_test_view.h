// A production view for tests: records what a run shows and answers its
// questions from a script.
#pragma once

#include "app/common/ui_language.h"
#include "app/production/production_view.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vt::production {

// The built-in texts, with no language file: what a run in a test speaks.
inline const common::UiLanguage &builtInTexts()
{
    static const common::UiLanguage language("");
    return language;
}

class RecordingView : public ProductionView {
public:
    void logLine(const std::string &line) override { log.push_back(line); }
    void showProgress(int bar, int value) override { progress.push_back({bar, value}); }
    void showBusy(bool busy) override { busyStates.push_back(busy); }
    void showDuration(const std::string &hms) override { durations.push_back(hms); }
    void showConversionStatus(const ConversionStatus &status) override { statuses.push_back(status); }
    void showMessage(const std::string &text) override { messages.push_back(text); }
    bool askYesNo(const std::string &text) override;
    void processEvents() override;

    bool logged(const std::string &line) const;

    std::vector<std::string> log, messages, questions, durations;
    std::vector<std::pair<int, int>> progress;
    std::vector<bool> busyStates;
    std::vector<ConversionStatus> statuses;
    std::deque<bool> answers;                // answers to questions, Yes when empty
    std::function<void()> onProcessEvents;  // a user's action while a call runs
    int processEventsCalls = 0;
};

} // namespace vt::production
