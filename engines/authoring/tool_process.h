// One run of an outside program: started from an argument vector (never
// through a shell), its messages (stderr) read line by line.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace authoring {

struct ToolStreams {
    bool feed_stdin = false; // a socket the caller writes the program's input to
    int stdout_fd = -1;      // where the program's output goes; -1: with its messages
};

class ToolProcess {
public:
    ~ToolProcess();

    // Starts argv[0] (an absolute path). False with *error when it cannot.
    bool start(const std::vector<std::string> &argv, const ToolStreams &streams, std::string *error);

    // The write end of the program's input (feed_stdin); close_input() ends it.
    int input_fd() const { return input_fd_; }
    void close_input();

    // Reads the program's messages until it closes them, one call per line
    // (lines end in \n or \r).
    void read_messages(const std::function<void(const std::string &)> &on_line);

    // Waits for the program; its exit status, or -1 when a signal ended it.
    int wait();

private:
    pid_t pid_ = -1;
    int input_fd_ = -1;
    int messages_fd_ = -1;
};

// Writes all of data to a socket without raising SIGPIPE; false when the
// reader has gone.
bool send_all(int fd, const char *data, size_t size);

} // namespace authoring
