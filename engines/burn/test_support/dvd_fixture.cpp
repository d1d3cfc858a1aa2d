#include "engines/burn/test_support/dvd_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace burn_test {

CommandResult RunCommand(const std::vector<std::string> &argv, const std::vector<std::string> &environment)
{
    CommandResult result;
    int fds[2];
    if (::pipe(fds) != 0)
        return result;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], 1);
        ::dup2(fds[1], 2);
        ::close(fds[0]);
        ::close(fds[1]);
        for (const std::string &entry : environment)
            ::putenv(const_cast<char *>(entry.c_str()));
        std::vector<char *> args;
        for (const std::string &arg : argv)
            args.push_back(const_cast<char *>(arg.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0)
        result.output.append(buffer, size_t(got));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

static const std::string &scratchRoot()
{
    static const std::string root = [] {
        std::string pattern = (fs::temp_directory_path() / "vantorel-burn-test-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return root;
}

std::string ScratchFolder(const std::string &name)
{
    const fs::path folder = fs::path(scratchRoot()) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string();
}

std::string AuthoredVideoTs()
{
    static const std::string videoTs = [] {
        const std::string folder = ScratchFolder("authored");
        const std::string clip = folder + "/title.mpg";
        RunCommand({"ffmpeg", "-y", "-v", "error", "-f", "lavfi", "-i", "testsrc=size=720x576:rate=25:d=1", "-f",
                    "lavfi", "-i", "sine=d=1:r=48000", "-target", "pal-dvd", "-b:v", "800k", "-shortest", clip});
        RunCommand({"dvdauthor", "-o", folder + "/DVD", "-t", clip}, {"VIDEO_FORMAT=PAL"});
        RunCommand({"dvdauthor", "-o", folder + "/DVD", "-T"}, {"VIDEO_FORMAT=PAL"});
        return folder + "/DVD/VIDEO_TS";
    }();
    return videoTs;
}

std::string CopyOfAuthoredVideoTs(const std::string &name)
{
    const std::string source = AuthoredVideoTs();
    const std::string folder = ScratchFolder(name);
    fs::copy(fs::path(source).parent_path(), folder, fs::copy_options::recursive);
    return folder + "/VIDEO_TS";
}

std::string FileChecksum(const std::string &path)
{
    if (!fs::exists(path))
        return "";
    const CommandResult sum = RunCommand({"sha1sum", path});
    return sum.output.substr(0, sum.output.find(' '));
}

std::string BinDir()
{
    const char *dir = std::getenv("VANTOREL_BIN_DIR");
    return dir && *dir ? dir : VANTOREL_BIN_DIR;
}

} // namespace burn_test
