// zif_slv: runs the boxed nodes of a master process. It opens the master
// (its parent), the master's semaphore and socket, and hands them to the
// framework's slave loop; the exit code is that loop's result, or one of
// the start failures of command_line.h.
#include "framework/include/zif.h"
#include "slave/command_line.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <semaphore.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// The socket connected to the master's channel, or -1 when it is missing
// or served by a process other than the master.
int connectToMaster(const std::string &name, pid_t master)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    ucred peer{};
    socklen_t size = sizeof peer;
    if (connect(fd, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
        getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.pid != master) {
        close(fd);
        return -1;
    }
    return fd;
}

// Ends the process when the master dies, even while a node is stuck in
// its work and the slave loop cannot notice.
void startWatchdog(int masterPidfd)
{
    int watched = fcntl(masterPidfd, F_DUPFD_CLOEXEC, 0);
    if (watched < 0)
        return;
    std::thread([watched] {
        pollfd p{watched, POLLIN, 0};
        while (poll(&p, 1, -1) < 0 && errno == EINTR) {
        }
        _exit(ZIF_ERR_PARTNER_ENDED);
    }).detach();
}

}  // namespace

int main(int argc, char **argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? " " : "") + std::string(argv[i]);
    std::optional<slave::CommandLine> command = slave::parseCommandLine(line);
    if (!command)
        return slave::kBadCommandLine;

    int master = command->masterPid == getppid() ? static_cast<int>(syscall(SYS_pidfd_open, command->masterPid, 0))
                                                  : -1;
    if (master < 0)
        return slave::kNoParent;
    sem_t *semaphore = sem_open(slave::semaphoreName(command->channel).c_str(), 0);
    if (semaphore == SEM_FAILED) {
        close(master);
        return slave::kNoSemaphore;
    }
    int pipe = connectToMaster(slave::socketName(command->channel), command->masterPid);
    if (pipe < 0) {
        sem_close(semaphore);
        close(master);
        return slave::kNoPipe;
    }
    startWatchdog(master);
    // The slave loop's pipe file owns the handles from here on.
    return zif_doPipeSlave(pipe, pipe, master, reinterpret_cast<intptr_t>(semaphore));
}
