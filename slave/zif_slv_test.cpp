// zif_slv started as a master would start it: the exit codes of every
// failed start, and a clean end when the master ends the run.
#include "slave/command_line.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <semaphore.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

const std::string kSlave = std::string(VANTOREL_BIN_DIR) + "/zif_slv";

pid_t start(const std::vector<std::string> &args)
{
    std::vector<char *> argv{const_cast<char *>("zif_slv")};
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, kSlave.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

int exitCode(pid_t pid)
{
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1000 - WTERMSIG(status);
}

int run(const std::vector<std::string> &args) { return exitCode(start(args)); }

std::string uniqueName(const char *what) { return "zifslvtest_" + std::to_string(getpid()) + "_" + what; }

// A listening socket under the channel's abstract name.
int listenOn(const std::string &channel)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string name = slave::socketName(channel);
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr *>(&address), length), 0);
    EXPECT_EQ(listen(fd, 1), 0);
    return fd;
}

class Semaphore {
public:
    explicit Semaphore(const std::string &channel) : name_(slave::semaphoreName(channel))
    {
        semaphore_ = sem_open(name_.c_str(), O_CREAT | O_EXCL, 0600, 0);
        EXPECT_NE(semaphore_, SEM_FAILED);
    }
    ~Semaphore()
    {
        sem_unlink(name_.c_str());
        sem_close(semaphore_);
    }
    sem_t *get() { return semaphore_; }

private:
    std::string name_;
    sem_t *semaphore_;
};

TEST(ZifSlv, MalformedCommandLinesExitMinus2)
{
    const std::vector<std::vector<std::string>> lines = {
        {},
        {std::to_string(getpid())},
        {"0", "name"},
        {"-5", "name"},
        {"12a", "name"},
        {std::to_string(getpid()), std::string(slave::kMaxChannelNameLength + 1, 'n')},
    };
    for (const auto &args : lines)
        EXPECT_EQ(run(args), 254) << (args.empty() ? "(nothing)" : args[0]);
}

TEST(ZifSlv, EachMissingPieceHasItsExitCode)
{
    std::string me = std::to_string(getpid());
    // Process 1 is not the slave's parent.
    EXPECT_EQ(run({"1", uniqueName("a")}), 253);
    EXPECT_EQ(run({me, uniqueName("nosemaphore")}), 252);
    std::string channel = uniqueName("nopipe");
    Semaphore semaphore(channel);
    EXPECT_EQ(run({me, channel}), 251);
}

TEST(ZifSlv, ASocketServedByAnotherProcessIsRefused)
{
    std::string channel = uniqueName("foreign");
    Semaphore semaphore(channel);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t impostor = fork();
    if (impostor == 0) {
        int fd = listenOn(channel);
        char c = 'r';
        if (write(ready[1], &c, 1) != 1)
            _exit(1);
        for (;;) {
            int connection = accept(fd, nullptr, nullptr);
            if (connection >= 0)
                close(connection);
        }
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(run({std::to_string(getpid()), channel}), 251);
    kill(impostor, SIGKILL);
    waitpid(impostor, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
}

TEST(ZifSlv, EndsWithZeroWhenTheMasterEndsTheRun)
{
    std::string channel = uniqueName("clean");
    Semaphore semaphore(channel);
    int listener = listenOn(channel);
    pid_t child = start({std::to_string(getpid()), channel});
    int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    ASSERT_GE(connection, 0);
    int32_t end = 8;
    ASSERT_EQ(send(connection, &end, sizeof end, MSG_NOSIGNAL), static_cast<ssize_t>(sizeof end));
    EXPECT_EQ(exitCode(child), 0);
    close(connection);
    close(listener);
}

TEST(ZifSlv, AnUnknownCommandEndsTheRunWith22)
{
    std::string channel = uniqueName("unknown");
    Semaphore semaphore(channel);
    int listener = listenOn(channel);
    pid_t child = start({std::to_string(getpid()), channel});
    int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    ASSERT_GE(connection, 0);
    int32_t bogus = 99;
    ASSERT_EQ(send(connection, &bogus, sizeof bogus, MSG_NOSIGNAL), static_cast<ssize_t>(sizeof bogus));
    EXPECT_EQ(exitCode(child), 22);
    close(connection);
    close(listener);
}

}  // namespace
