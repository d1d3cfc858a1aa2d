// One running vantorel-convert-worker, seen from the conversion step: started
// with its arguments, its progress lines read without blocking, stopped,
// killed and reaped.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vt::production {

class ConvertWorker {
public:
    ConvertWorker() = default;
    // Kills and reaps a worker still running.
    ~ConvertWorker();
    ConvertWorker(const ConvertWorker &) = delete;
    ConvertWorker &operator=(const ConvertWorker &) = delete;

    // Starts program with arguments, its stdout on a pipe. False, with
    // error() set, when it cannot be started.
    bool start(const std::string &program, const std::vector<std::string> &arguments);
    // Reads what the worker wrote since the last call; false once it has
    // exited and been reaped (then exitStatus()/killedBySignal() tell how).
    bool poll();

    // Asks the worker to finish its file and return (SIGTERM).
    void stop();
    // Ends it at once (SIGKILL) and reaps it.
    void kill();
    pid_t pid() const { return pid_; }
    bool running() const { return pid_ > 0; }

    int secondsConverted() const { return seconds_; }
    int fps() const { return fps_; }
    int frame() const { return frame_; }
    // From the "result" line; −2 when the worker never reported one.
    int result() const { return result_; }
    // The reason of an "error" line, or why the worker could not start.
    const std::string &error() const { return error_; }
    int exitStatus() const { return exitStatus_; }
    int killedBySignal() const { return signal_; }

private:
    void readLine(const std::string &line);
    void reaped(int status);

    pid_t pid_ = -1;
    int outFd_ = -1;
    std::string pending_;
    int seconds_ = 0, fps_ = 0, frame_ = 0;
    int result_ = -2;
    std::string error_;
    int exitStatus_ = -1;
    int signal_ = 0;
};

} // namespace vt::production
