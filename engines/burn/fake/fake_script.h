// The drive script of the scripted stand-in engines: the ini file named by
// $VANTOREL_FAKE_BURN_SCRIPT, one section per drive in order, and the log
// beside it (the script's name + ".log") where they note what they did.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace fake_burn {

using DriveKeys = std::map<std::string, std::string>;

std::string ScriptPath();
std::vector<DriveKeys> ReadDriveScript();
void AppendToLog(const std::string &line);

std::string Text(const DriveKeys &keys, const char *key, const std::string &fallback);
int64_t Number(const DriveKeys &keys, const char *key, int64_t fallback);
std::vector<std::string> Split(const std::string &text, char separator);

} // namespace fake_burn
