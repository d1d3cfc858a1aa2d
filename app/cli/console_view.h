// The production view of vantorel-cli: log lines and progress on stderr;
// Ctrl-C asks the running chain to stop (a second one ends the program).
#pragma once

#include "app/production/production_view.h"

#include <functional>

namespace vt::cli {

class ConsoleView : public production::ProductionView {
public:
    ConsoleView();
    ~ConsoleView() override;

    // Called (on the run's thread) when the user pressed Ctrl-C.
    void onInterrupt(std::function<void()> stop) { stop_ = std::move(stop); }

    void logLine(const std::string &line) override;
    void showProgress(int bar, int value) override;
    void showBusy(bool) override {}
    void showDuration(const std::string &hms) override;
    void showConversionStatus(const production::ConversionStatus &) override {}
    void showMessage(const std::string &text) override;
    // The only question of a run is whether to stop after Ctrl-C: yes.
    bool askYesNo(const std::string &text) override;
    void processEvents() override;

private:
    std::function<void()> stop_;
    int lastShown_[3] = {-1, -1, -1};
    bool stopAsked_ = false;
};

} // namespace vt::cli
