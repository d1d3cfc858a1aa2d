// Starting a slave process for boxed nodes: its name, the semaphore its
// writes release, the abstract socket it connects to, the spawn of zif_slv,
// and the wait for the connection of that very child.
#include "framework/core/file.h"
#include "framework/graph/box_protocol.h"

#include <cerrno>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <semaphore.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace zif {

namespace {

int64_t nowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// The channel name: the master's process ID, the graph's address and a
// fresh ID, so that no two boxes of any process share it.
std::string channelName(Graph *graph)
{
    char name[96];
    std::snprintf(name, sizeof name, "zifslv_%x_%08" PRIXPTR "_%" PRIu32 "64", static_cast<unsigned>(getpid()),
                  reinterpret_cast<uintptr_t>(graph), static_cast<uint32_t>(zif_newID(graph->header.context)));
    return name;
}

// A listening socket in the abstract namespace, or -1.
int listenOn(const std::string &name)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = name + "_pipe";
    std::memcpy(address.sun_path + 1, path.data(), path.size());
    auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
    if (bind(fd, reinterpret_cast<sockaddr *>(&address), length) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool isExecutable(const std::string &path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

// zif_slv: $ZIF_SLV, else beside this library, else found on PATH.
std::string slaveProgram()
{
    if (const char *given = std::getenv("ZIF_SLV"); given && *given)
        return given;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&boxStartSlave), &info) && info.dli_fname) {
        std::string library = info.dli_fname;
        size_t slash = library.rfind('/');
        std::string beside = (slash == std::string::npos ? std::string(".") : library.substr(0, slash)) + "/zif_slv";
        if (isExecutable(beside))
            return beside;
    }
    return "zif_slv";
}

// The child's process ID, or -1. It starts in its own process group, with
// nothing on its standard input and none of the master's other files.
pid_t spawnSlave(const std::string &name)
{
    std::string program = slaveProgram();
    std::string master = std::to_string(getpid());
    char *argv[] = {const_cast<char *>("zif_slv"), master.data(), const_cast<char *>(name.c_str()), nullptr};
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);  // the master's files stay its own
    pid_t pid = -1;
    bool onPath = program.find('/') == std::string::npos;
    int error = onPath ? posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv, environ)
                       : posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error == 0 ? pid : -1;
}

// Kills and reaps a child that never became a slave.
void discardChild(pid_t pid, int pidfd)
{
    if (pidfd >= 0)
        syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0);
    else
        kill(pid, SIGKILL);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    if (pidfd >= 0)
        close(pidfd);
}

// The connection of the child, refusing any other process that connects;
// -1 when the child ends first or the wait runs out.
int acceptChild(int listener, pid_t child, int pidfd, int32_t timeoutMs)
{
    int64_t deadline = nowMs() + timeoutMs;
    for (;;) {
        int64_t left = deadline - nowMs();
        if (left <= 0)
            return -1;
        pollfd p[2] = {{listener, POLLIN, 0}, {pidfd, POLLIN, 0}};
        int r = poll(p, 2, static_cast<int>(left));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0 || p[1].revents)
            return -1;
        int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ucred peer{};
        socklen_t size = sizeof peer;
        if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.pid == child)
            return fd;
        close(fd);  // not ours
    }
}

}  // namespace

int32_t boxTimeoutMs()
{
    if (const char *given = std::getenv("ZIF_SLV_TIMEOUT_MS")) {
        char *end = nullptr;
        long ms = std::strtol(given, &end, 10);
        if (end != given && *end == '\0' && ms > 0 && ms <= INT32_MAX)
            return static_cast<int32_t>(ms);
    }
    return kPipeTimeoutMs;
}

zif_object *boxStartSlave(Graph *graph)
{
    zif_context *context = graph->header.context;
    std::string name = channelName(graph);
    std::string semaphoreName = "/" + name + "_sem";
    sem_t *semaphore = sem_open(semaphoreName.c_str(), O_CREAT | O_EXCL, 0600, 0);
    if (semaphore == SEM_FAILED) {
        fail(context, ZIF_ERR_SEMAPHORE);
        return nullptr;
    }
    auto giveUp = [&](int32_t code, int listener) -> zif_object * {
        if (listener >= 0)
            close(listener);
        sem_unlink(semaphoreName.c_str());
        sem_close(semaphore);
        fail(context, code);
        return nullptr;
    };
    int listener = listenOn(name);
    if (listener < 0)
        return giveUp(ZIF_ERR_PIPE_CREATE, -1);
    pid_t child = spawnSlave(name);
    if (child < 0)
        return giveUp(ZIF_ERR_SLAVE_START, listener);
    int pidfd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    int connection = pidfd >= 0 ? acceptChild(listener, child, pidfd, boxTimeoutMs()) : -1;
    if (connection < 0) {
        discardChild(child, pidfd);
        return giveUp(ZIF_ERR_SLAVE_NOT_CONNECTED, listener);
    }
    close(listener);
    sem_unlink(semaphoreName.c_str());
    zif_object *pipe = zif_newFileFromPipeHandles(context, connection, connection, pidfd, 1,
                                                  reinterpret_cast<intptr_t>(semaphore), 0);
    if (!pipe) {
        sem_close(semaphore);
        discardChild(child, pidfd);
        return nullptr;
    }
    fileSetTimeout(pipe, boxTimeoutMs());
    return pipe;
}

}  // namespace zif
