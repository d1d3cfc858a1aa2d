// Running a long piece of work on its own thread while the caller's thread
// keeps delivering its messages, so that the caller's timers and buttons
// (progress, Stop) keep working during a blocking library call.
#pragma once

#include <functional>

#include "platform/message_target.h"

namespace corvane {

// Runs work on a new thread; until it ends, pumps target (when not null)
// every few milliseconds. Returns work's result.
bool run_pumping(VtMessageTarget *target, const std::function<bool()> &work);

} // namespace corvane
