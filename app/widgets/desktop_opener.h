// Hands an address or a file to the desktop's default handler (a web
// browser, the help viewer), as link labels, the home page button and the
// help menu do. Tests put a recorder in its place.
#pragma once

#include <QUrl>

#include <functional>

namespace vt {

// True when a handler took the address (false: no desktop opener, such as
// xdg-open, could be started).
using DesktopOpener = std::function<bool(const QUrl &)>;

// Opens url with the current opener (QDesktopServices unless replaced).
bool openWithDesktop(const QUrl &url);

// Replaces the opener (nullptr: back to QDesktopServices) and returns the
// one it replaces.
DesktopOpener setDesktopOpener(DesktopOpener opener);

} // namespace vt
