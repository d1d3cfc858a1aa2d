#include "app/shell/termination_request.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vt::shell {

namespace {

// The signal handler writes one byte to requests[0]; the message loop reads
// requests[1]. Bytes written before the loop watches stay queued.
int requests[2] = {-1, -1};

void onTerminationSignal(int)
{
    const int savedErrno = errno;
    const char request = 1;
    [[maybe_unused]] const ssize_t written = ::write(requests[0], &request, 1);
    errno = savedErrno;
}

} // namespace

void catchTerminationSignals()
{
    if (requests[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, requests) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

void onTerminationRequest(QObject &context, std::function<void()> act)
{
    if (requests[1] < 0)
        return;
    auto *notifier = new QSocketNotifier(requests[1], QSocketNotifier::Read, &context);
    QObject::connect(notifier, &QSocketNotifier::activated, &context, [act = std::move(act)] {
        char drained[16];
        while (::read(requests[1], drained, sizeof drained) > 0) {
        }
        act();
    });
}

} // namespace vt::shell
