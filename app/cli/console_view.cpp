#include "app/cli/console_view.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace vt::cli {

namespace {

std::atomic<int> interrupts{0};

// The first Ctrl-C (or SIGTERM) asks the run to stop, which removes what the
// run made; a second one ends the program at once (authoring and muxing
// cannot be stopped).
void onSignal(int)
{
    if (interrupts.fetch_add(1) >= 1)
        std::_Exit(130);
}

} // namespace

ConsoleView::ConsoleView()
{
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

ConsoleView::~ConsoleView()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

void ConsoleView::logLine(const std::string &line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

void ConsoleView::showProgress(int bar, int value)
{
    if (bar < 1 || bar > 2 || value == lastShown_[bar])
        return;
    lastShown_[bar] = value;
    // Every tenth per cent, so that a log stays readable.
    if (value % 10 == 0 || value == 100)
        std::fprintf(stderr, "  [%d] %d %%\n", bar, value);
}

void ConsoleView::showDuration(const std::string &hms)
{
    std::fprintf(stderr, "  duration %s\n", hms.c_str());
}

void ConsoleView::showMessage(const std::string &text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool ConsoleView::askYesNo(const std::string &text)
{
    std::fprintf(stderr, "%s yes\n", text.c_str());
    return true;
}

void ConsoleView::processEvents()
{
    if (interrupts > 0 && !stopAsked_) {
        stopAsked_ = true;
        if (stop_)
            stop_();
    }
}

} // namespace vt::cli
