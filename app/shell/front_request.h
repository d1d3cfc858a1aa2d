// A second start of the program asks the running copy to bring its window
// to the front, over a local socket beside the single-instance lock.
#pragma once

#include <QString>

#include <functional>

class QObject;

namespace vt::shell {

// The socket of the running copy whose lock file is lockFile.
QString frontRequestSocket(const std::string &lockFile);

// Listens on socket while context lives; act runs on context's thread for
// every request. False when the socket cannot be opened (the program runs on
// without it).
bool onFrontRequest(QObject &context, const QString &socket, std::function<void()> act);

// Sends the request; false when no copy listens.
bool askRunningCopyToFront(const QString &socket);

} // namespace vt::shell
