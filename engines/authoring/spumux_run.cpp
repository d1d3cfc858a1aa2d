#include "engines/authoring/spumux_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

#include "engines/authoring/dvdauthor_library.h"
#include "engines/authoring/run_state.h"
#include "engines/authoring/tool_messages.h"
#include "engines/authoring/tool_process.h"

namespace authoring {

namespace {

constexpr size_t kFeedChunk = 256 * 1024;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// Copies the whole input into the program, counting per cent as it goes.
bool feed(int from, int to, off_t size, int &percent)
{
    std::string chunk(kFeedChunk, '\0');
    off_t done = 0;
    for (;;) {
        ssize_t n = read(from, chunk.data(), chunk.size());
        if (n == 0)
            return true;
        if (n < 0 || !send_all(to, chunk.data(), static_cast<size_t>(n)))
            return false;
        done += n;
        publish(percent, size > 0 ? static_cast<int>(done * 99 / size) : 99);
    }
}

} // namespace

int run_spumux(const std::string &control, const std::string &input, const std::string &output, int &percent,
               std::string *error)
{
    FileDescriptor in(open(input.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (in.get() < 0 || fstat(in.get(), &info) != 0) {
        *error = "cannot read " + input;
        return 1;
    }
    FileDescriptor out(open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (out.get() < 0) {
        *error = "cannot write " + output;
        return 1;
    }
    ToolProcess spumux;
    ToolStreams streams;
    streams.feed_stdin = true;
    streams.stdout_fd = out.get();
    if (!spumux.start({DVDAUTHOR_SPUMUX_PROGRAM, "-m", "dvd", "-s", "0", control}, streams, error)) {
        std::remove(output.c_str());
        return 1;
    }
    bool fed = false;
    std::thread feeder([&] {
        fed = feed(in.get(), spumux.input_fd(), info.st_size, percent);
        spumux.close_input();
    });
    bool reported_error = false;
    spumux.read_messages([&](const std::string &line) {
        if (is_error_line(line)) {
            reported_error = true;
            *error = line;
        }
        if (is_notable_line(line))
            std::fprintf(stderr, "spumux: %s\n", line.c_str());
    });
    feeder.join();
    int status = spumux.wait();
    if (status != 0 || reported_error || !fed) {
        if (error->empty())
            *error = status != 0 ? "spumux ended with status " + std::to_string(status) : "spumux stopped reading";
        std::remove(output.c_str());
        return status != 0 ? status : 1;
    }
    publish(percent, 100);
    return 0;
}

} // namespace authoring
