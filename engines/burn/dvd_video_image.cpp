#include "engines/burn/dvd_video_image.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;

namespace starburn {

namespace {

std::string upperCase(std::string text)
{
    for (char &c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string temporaryFolder()
{
    const char *tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// A VIDEO_TS.IFO starts with "DVDVIDEO-VMG"; a zeroed or foreign file is
// caught here with a clear reason before genisoimage says less.
bool looksLikeVideoManager(const fs::path &ifo)
{
    std::ifstream in(ifo, std::ios::binary);
    char magic[12] = {};
    in.read(magic, sizeof magic);
    return in.gcount() == sizeof magic && std::memcmp(magic, "DVDVIDEO-VMG", sizeof magic) == 0;
}

} // namespace

DvdVideoImage::~DvdVideoImage()
{
    if (outputFd_ >= 0)
        ::close(outputFd_);
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (!staging_.empty()) {
        std::error_code ignored;
        fs::remove_all(staging_, ignored);
    }
}

bool DvdVideoImage::prepare(const std::string &videoTsFolder, const ImageIdentity &identity, std::string &error)
{
    identity_ = identity;
    std::error_code ec;
    if (!fs::is_directory(videoTsFolder, ec)) {
        error = "no folder " + videoTsFolder;
        return false;
    }
    std::string pattern = temporaryFolder() + "/vantorel-image-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) {
        error = "cannot make a staging folder in " + temporaryFolder() + ": " + std::strerror(errno);
        return false;
    }
    staging_ = name.data();
    const fs::path videoTs = fs::path(stagingRoot()) / "VIDEO_TS";
    fs::create_directories(videoTs, ec);
    fs::create_directories(fs::path(stagingRoot()) / "AUDIO_TS", ec);
    if (ec) {
        error = "cannot make the staging folder " + staging_ + ": " + ec.message();
        return false;
    }
    bool haveManager = false;
    for (const fs::directory_entry &file : fs::directory_iterator(videoTsFolder, ec)) {
        if (!file.is_regular_file(ec))
            continue;
        const std::string upper = upperCase(file.path().filename().string());
        fs::create_symlink(fs::absolute(file.path()), videoTs / upper, ec);
        if (ec) {
            error = "cannot stage " + file.path().string() + ": " + ec.message();
            return false;
        }
        if (upper == "VIDEO_TS.IFO") {
            haveManager = true;
            if (!looksLikeVideoManager(file.path())) {
                error = file.path().string() + " is not a DVD-Video manager file";
                return false;
            }
        }
    }
    if (!haveManager) {
        error = "no VIDEO_TS.IFO in " + videoTsFolder;
        return false;
    }

    int sizeFd = -1;
    pid_t pid = -1;
    if (!run(true, &sizeFd, &pid, error))
        return false;
    std::string output;
    char buffer[256];
    ssize_t got;
    while ((got = ::read(sizeFd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
        if (got > 0)
            output.append(buffer, size_t(got));
    ::close(sizeFd);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    uint64_t blocks = 0;
    std::istringstream in(output);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !(in >> blocks) || blocks == 0) {
        error = "genisoimage cannot make a DVD-Video file system of " + videoTsFolder + ": " + messages();
        return false;
    }
    size_ = blocks * 2048;
    return true;
}

bool DvdVideoImage::run(bool printSize, int *stdoutFd, pid_t *pid, std::string &error)
{
    std::vector<std::string> argv{"genisoimage"};
    if (printSize)
        argv.push_back("-print-size");
    for (const char *option : {"-quiet", "-dvd-video", "-udf", "-f"})
        argv.push_back(option);
    argv.insert(argv.end(), {"-V", identity_.volumeLabel, "-publisher", identity_.publisher, "-A",
                             identity_.application, stagingRoot()});
    std::vector<char *> args;
    for (std::string &arg : argv)
        args.push_back(arg.data());
    args.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const int spawned = ::posix_spawnp(pid, "genisoimage", &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        error = std::string("cannot run genisoimage: ") + std::strerror(spawned);
        return false;
    }
    *stdoutFd = pipeFds[0];
    return true;
}

std::vector<std::string> DvdVideoImage::missingFiles() const
{
    std::vector<std::string> missing;
    std::error_code ec;
    for (const fs::directory_entry &link : fs::directory_iterator(fs::path(stagingRoot()) / "VIDEO_TS", ec)) {
        const fs::path target = fs::read_symlink(link.path(), ec);
        if (!ec && !fs::is_regular_file(target, ec))
            missing.push_back(target.string());
    }
    return missing;
}

int DvdVideoImage::start(std::string &error)
{
    if (size_ == 0) {
        error = "the image was not prepared";
        return -1;
    }
    if (!run(false, &outputFd_, &pid_, error))
        return -1;
    return outputFd_;
}

bool DvdVideoImage::finish(std::string &error)
{
    if (outputFd_ >= 0) {
        ::close(outputFd_);
        outputFd_ = -1;
    }
    if (pid_ <= 0)
        return false;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    error = "genisoimage failed (" +
            (WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                               : "signal " + std::to_string(WTERMSIG(status))) +
            "): " + messages();
    return false;
}

std::string DvdVideoImage::messages() const
{
    std::ifstream in(logPath());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    for (char &c : text)
        if (c == '\n')
            c = ' ';
    return text.empty() ? "no message" : text;
}

} // namespace starburn
