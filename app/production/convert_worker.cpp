#include "app/production/convert_worker.h"

#include "app/production/convert_worker_protocol.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace vt::production {

ConvertWorker::~ConvertWorker()
{
    kill();
}

bool ConvertWorker::start(const std::string &program, const std::vector<std::string> &arguments)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error_ = std::string("no pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (failed != 0) {
        close(fds[0]);
        error_ = "can not start " + program + ": " + std::strerror(failed);
        return false;
    }
    fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    pid_ = pid;
    outFd_ = fds[0];
    return true;
}

bool ConvertWorker::poll()
{
    if (pid_ <= 0)
        return false;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(outFd_, buffer, sizeof buffer);
        if (got > 0) {
            pending_.append(buffer, static_cast<size_t>(got));
            for (size_t end; (end = pending_.find('\n')) != std::string::npos;) {
                readLine(pending_.substr(0, end));
                pending_.erase(0, end + 1);
            }
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        break;  // end of the pipe: the worker has exited
    }
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    reaped(status);
    return false;
}

void ConvertWorker::readLine(const std::string &line)
{
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == kWorkerProgressWord) {
        in >> seconds_ >> fps_ >> frame_;
    } else if (word == kWorkerResultWord) {
        in >> result_ >> seconds_;
    } else if (word == kWorkerErrorWord) {
        std::getline(in >> std::ws, error_);
    }
}

void ConvertWorker::reaped(int status)
{
    close(outFd_);
    outFd_ = -1;
    pid_ = -1;
    if (WIFEXITED(status))
        exitStatus_ = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        signal_ = WTERMSIG(status);
}

void ConvertWorker::stop()
{
    if (pid_ > 0)
        ::kill(pid_, SIGTERM);
}

void ConvertWorker::kill()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    reaped(status);
}

} // namespace vt::production
