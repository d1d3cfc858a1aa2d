// The program's start: one running copy per user, the splash window while
// every window is created, then the home window until the user exits or
// the session ends the program.
#pragma once

#include <QString>

#include <functional>

class QApplication;

namespace vt::shell {

inline constexpr const char *ProductName = "Vantorel";
inline constexpr const char *DisplayProductName = "Vantorel";
// The exit status of a second start (the first copy keeps running).
inline constexpr int kAlreadyRunning = -1;
// The exit status after a failure that stopped the program.
inline constexpr int kStartFailed = 1;

// Runs start-up; an exception that escapes is shown in an error box and
// the answer is kStartFailed.
int runGuarded(const std::function<int()> &run);

// Splash, windows, home window, message loop; returns the loop's status.
// A second start's request on frontSocket ("" none) brings the window the
// user works in to the front.
int runProgram(QApplication &app, const QString &frontSocket = QString());

// The whole program: kAlreadyRunning at once when another copy runs
// (nothing is shown; the running copy is asked to come to the front), else
// runProgram under runGuarded.
int vantorelMain(int argc, char **argv);

} // namespace vt::shell
