#include "engines/authoring/tool_messages.h"

#include <cstdlib>

namespace authoring {

bool is_error_line(const std::string &line)
{
    return line.rfind("ERR:", 0) == 0;
}

bool is_notable_line(const std::string &line)
{
    return is_error_line(line) || line.rfind("WARN:", 0) == 0;
}

int vob_megabytes_of(const std::string &line)
{
    if (line.rfind("STAT: VOBU ", 0) != 0)
        return -1;
    size_t at = line.find(" at ");
    if (at == std::string::npos)
        return -1;
    const char *digits = line.c_str() + at + 4;
    char *end = nullptr;
    long megabytes = std::strtol(digits, &end, 10);
    if (end == digits || std::string(end).rfind("MB", 0) != 0 || megabytes < 0)
        return -1;
    return static_cast<int>(megabytes);
}

} // namespace authoring
