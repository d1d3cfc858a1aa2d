// Ending the program the normal way when the session or the user asks the
// process to end (SIGTERM at log-out, SIGHUP, Ctrl+C's SIGINT): the message
// loop quits, the windows close and the settings are stored, as when the
// user clicks Exit.
#pragma once

#include <functional>

class QObject;

namespace vt::shell {

// Catches the termination signals from now on. A request that arrives
// before onTerminationRequest is kept for it.
void catchTerminationSignals();

// Runs act on context's thread, from its message loop, for each request
// (one already made included) while context lives. The program quits its
// loop there; call it just before the loop starts, as a loop that is not
// running cannot quit.
void onTerminationRequest(QObject &context, std::function<void()> act);

} // namespace vt::shell
