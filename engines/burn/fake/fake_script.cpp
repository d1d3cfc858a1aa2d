#include "engines/burn/fake/fake_script.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fake_burn {

namespace {

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

} // namespace

std::string ScriptPath()
{
    const char *path = std::getenv("VANTOREL_FAKE_BURN_SCRIPT");
    return path ? path : "";
}

std::vector<DriveKeys> ReadDriveScript()
{
    std::vector<DriveKeys> drives;
    std::ifstream in(ScriptPath());
    std::string line;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            drives.emplace_back();
            continue;
        }
        const size_t eq = line.find('=');
        if (!drives.empty() && eq != std::string::npos)
            drives.back()[trimmed(line.substr(0, eq))] = trimmed(line.substr(eq + 1));
    }
    return drives;
}

void AppendToLog(const std::string &line)
{
    if (!ScriptPath().empty())
        std::ofstream(ScriptPath() + ".log", std::ios::app) << line << "\n";
}

std::string Text(const DriveKeys &keys, const char *key, const std::string &fallback)
{
    const auto found = keys.find(key);
    return found == keys.end() ? fallback : found->second;
}

int64_t Number(const DriveKeys &keys, const char *key, int64_t fallback)
{
    const auto found = keys.find(key);
    return found == keys.end() ? fallback : std::strtoll(found->second.c_str(), nullptr, 10);
}

std::vector<std::string> Split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        if (!trimmed(part).empty())
            parts.push_back(trimmed(part));
    return parts;
}

} // namespace fake_burn
