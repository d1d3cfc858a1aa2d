// The command line of zif_slv: the master's process ID and the channel
// name, separated by one space ("4711 zifslv_1267_55D0C0A1_364").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace slave {

// Exit codes of a start that fails before the slave loop runs.
enum StartFailure : int {
    kBadCommandLine = -2,
    kNoParent = -3,
    kNoSemaphore = -4,
    kNoPipe = -5,
};

// The longest channel name: its socket name, N + "_pipe" after the leading
// zero byte of the abstract namespace, must fit a Unix socket address.
constexpr size_t kMaxChannelNameLength = 102;

struct CommandLine {
    pid_t masterPid;
    std::string channel;
};

// Leading spaces are skipped; the process ID runs to the first space and
// must be a positive decimal number; the name is everything after that
// space, non-empty, at most kMaxChannelNameLength bytes, without '/'.
// Nothing when the line is malformed (exit kBadCommandLine).
std::optional<CommandLine> parseCommandLine(std::string_view line);

// The names derived from the channel name.
std::string semaphoreName(const std::string &channel);  // "/" N "_sem", for sem_open
std::string socketName(const std::string &channel);     // N "_pipe", abstract

}  // namespace slave
