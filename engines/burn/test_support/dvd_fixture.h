// Fixtures of the burn tests: a small authored DVD folder made with the
// ffmpeg command and dvdauthor, scratch folders, and running commands.
#pragma once

#include <string>
#include <vector>

namespace burn_test {

struct CommandResult {
    int status = -1;
    std::string output;  // stdout and stderr together
};

// Runs argv (no shell), with extra environment entries ("KEY=value").
CommandResult RunCommand(const std::vector<std::string> &argv, const std::vector<std::string> &environment = {});

// A fresh folder under the test program's scratch folder.
std::string ScratchFolder(const std::string &name);

// A DVD folder (AUDIO_TS/, VIDEO_TS/ with one 1-second PAL title) made once
// per test program; returns its VIDEO_TS path. copy gives a private copy
// the test may change.
std::string AuthoredVideoTs();
std::string CopyOfAuthoredVideoTs(const std::string &name);

std::string FileChecksum(const std::string &path);  // "" for a missing file
std::string BinDir();

} // namespace burn_test
