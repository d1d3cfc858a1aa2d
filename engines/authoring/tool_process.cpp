#include "engines/authoring/tool_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char **environ;

namespace authoring {

namespace {

void close_fd(int &fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

} // namespace

ToolProcess::~ToolProcess()
{
    close_input();
    close_fd(messages_fd_);
    if (pid_ > 0)
        wait();
}

bool ToolProcess::start(const std::vector<std::string> &argv, const ToolStreams &streams, std::string *error)
{
    int messages[2] = {-1, -1};
    int input[2] = {-1, -1};
    if (pipe2(messages, O_CLOEXEC) != 0 ||
        (streams.feed_stdin && socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, input) != 0)) {
        *error = std::string("cannot make pipes: ") + std::strerror(errno);
        close_fd(messages[0]);
        close_fd(messages[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (streams.feed_stdin) {
        shutdown(input[0], SHUT_WR);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_adddup2(&actions, streams.stdout_fd >= 0 ? streams.stdout_fd : messages[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, messages[1], STDERR_FILENO);

    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    int rc = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close_fd(messages[1]);
    close_fd(input[0]);
    messages_fd_ = messages[0];
    input_fd_ = input[1];
    if (rc != 0) {
        pid_ = -1;
        *error = "cannot run " + argv[0] + ": " + std::strerror(rc);
        close_input();
        close_fd(messages_fd_);
        return false;
    }
    return true;
}

void ToolProcess::close_input()
{
    close_fd(input_fd_);
}

void ToolProcess::read_messages(const std::function<void(const std::string &)> &on_line)
{
    std::string line;
    char buffer[4096];
    for (;;) {
        ssize_t n = read(messages_fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == '\n' || buffer[i] == '\r') {
                if (!line.empty())
                    on_line(line);
                line.clear();
            } else {
                line += buffer[i];
            }
        }
    }
    if (!line.empty())
        on_line(line);
    close_fd(messages_fd_);
}

int ToolProcess::wait()
{
    if (pid_ <= 0)
        return -1;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool send_all(int fd, const char *data, size_t size)
{
    while (size > 0) {
        ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

} // namespace authoring
