// Text drawing with QPainter needs a QGuiApplication. The desktop program
// has one; vantorel-cli, the build tools and the tests get a process-wide one
// on the offscreen platform the first time a menu is drawn.
#pragma once

namespace vt::production {

// Creates the offscreen QGuiApplication when the process has none. Call on
// the main thread.
void EnsureGuiApplication();

} // namespace vt::production
