// Parsing zif_slv's command line and the names it leads to.
#include "slave/command_line.h"

#include <climits>

namespace slave {

std::optional<CommandLine> parseCommandLine(std::string_view line)
{
    size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return std::nullopt;
    line.remove_prefix(start);
    size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0)
        return std::nullopt;
    long long pid = 0;
    for (char c : line.substr(0, space)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        pid = pid * 10 + (c - '0');
        if (pid > INT_MAX)
            return std::nullopt;
    }
    std::string_view name = line.substr(space + 1);
    if (pid <= 0 || name.empty() || name.size() > kMaxChannelNameLength ||
        name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos)
        return std::nullopt;
    return CommandLine{static_cast<pid_t>(pid), std::string(name)};
}

std::string semaphoreName(const std::string &channel) { return "/" + channel + "_sem"; }

std::string socketName(const std::string &channel) { return channel + "_pipe"; }

}  // namespace slave
