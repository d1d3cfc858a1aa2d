#include "engines/converter/test_support/test_media.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

extern char **environ;

namespace corvane_test {

namespace fs = std::filesystem;

CommandResult run_command(const std::vector<std::string> &argv)
{
    CommandResult result;
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_fds[1]);
    if (rc == 0) {
        char buffer[4096];
        ssize_t n;
        while ((n = read(pipe_fds[0], buffer, sizeof buffer)) > 0)
            result.output.append(buffer, static_cast<size_t>(n));
        int status = 0;
        waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    close(pipe_fds[0]);
    return result;
}

const std::string &scratch_dir()
{
    static const std::string dir = [] {
        std::string pattern = (fs::temp_directory_path() / "corvane-test-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        std::string made = mkdtemp(buffer.data()) ? buffer.data() : "/tmp";
        static std::string to_remove = made;
        std::atexit([] { std::error_code ec; fs::remove_all(to_remove, ec); });
        return made;
    }();
    return dir;
}

const std::string &fixture_dir()
{
    static const std::string dir = [] {
        const char *configured = std::getenv("VANTOREL_FIXTURE_DIR");
        fs::path path = configured && *configured ? fs::path(configured)
                                                  : fs::read_symlink("/proc/self/exe").parent_path() / "fixtures" / "converter";
        fs::create_directories(path);
        return path.string();
    }();
    return dir;
}

std::string fixture(const std::string &name, const std::vector<std::string> &ffmpeg_args)
{
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    std::string path = fixture_dir() + "/" + name;
    if (!fs::exists(path)) {
        // Made under a private name and renamed: test programs running in
        // parallel may make the same fixture at the same time.
        std::string partial = fixture_dir() + "/partial-" + std::to_string(getpid()) + "-" + name;
        std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-y", "-v", "error"};
        argv.insert(argv.end(), ffmpeg_args.begin(), ffmpeg_args.end());
        argv.push_back(partial);
        CommandResult made = run_command(argv);
        if (made.status != 0)
            throw std::runtime_error("cannot make fixture " + name + ": " + made.output);
        fs::rename(partial, path);
    }
    return path;
}

std::map<std::string, std::string> probe_entries(const std::string &file, const std::string &stream,
                                                 const std::string &entries)
{
    std::vector<std::string> argv = {"ffprobe", "-v", "error"};
    if (!stream.empty()) {
        argv.insert(argv.end(), {"-select_streams", stream, "-show_entries", "stream=" + entries});
    } else {
        argv.insert(argv.end(), {"-show_entries", "format=" + entries});
    }
    argv.insert(argv.end(), {"-of", "default=noprint_wrappers=1", file});
    CommandResult probed = run_command(argv);
    std::map<std::string, std::string> values;
    size_t pos = 0;
    while (pos < probed.output.size()) {
        size_t end = probed.output.find('\n', pos);
        if (end == std::string::npos)
            end = probed.output.size();
        std::string line = probed.output.substr(pos, end - pos);
        size_t eq = line.find('=');
        if (eq != std::string::npos && !values.count(line.substr(0, eq)))
            values[line.substr(0, eq)] = line.substr(eq + 1);
        pos = end + 1;
    }
    return values;
}

std::string dvdauthor_problems(const std::string &vob, bool ntsc)
{
    std::string dvd = vob + ".dvd";
    std::string xml = vob + ".xml";
    std::error_code ec;
    fs::remove_all(dvd, ec);
    {
        std::ofstream out(xml);
        const char *format = ntsc ? "ntsc" : "pal";
        out << "<dvdauthor dest=\"" << dvd << "\"><vmgm><menus><video format=\"" << format
            << "\"/></menus></vmgm><titleset><titles><video format=\"" << format << "\"/><pgc><vob file=\"" << vob
            << "\"/></pgc></titles></titleset></dvdauthor>\n";
    }
    CommandResult authored = run_command({"dvdauthor", "-x", xml});
    std::string problems;
    // A discontinuity is a gap in the stamps of the sound, which players
    // may stumble over.
    if (authored.status != 0 || authored.output.find("ERR:") != std::string::npos ||
        authored.output.find("Discontinuity") != std::string::npos)
        problems = authored.output;
    else if (!fs::exists(dvd + "/VIDEO_TS/VTS_01_1.VOB") || !fs::exists(dvd + "/VIDEO_TS/VIDEO_TS.IFO"))
        problems = "no DVD folder was written";
    fs::remove_all(dvd, ec);
    fs::remove(xml, ec);
    return problems;
}

std::string bin_dir()
{
    const char *dir = std::getenv("VANTOREL_BIN_DIR");
    return dir && *dir ? dir : VANTOREL_BIN_DIR;
}

std::string test_lib_dir()
{
    const char *dir = std::getenv("VANTOREL_TEST_LIB_DIR");
    return dir && *dir ? dir : VANTOREL_TEST_LIB_DIR;
}

bool CorvaneLibrary::load(const std::string &path)
{
    return module.open(path) && module.bind("X_GetFileinfo_GetPic", get_file_info) &&
           module.bind("X_Get_Frame", get_frame) && module.bind("X_GetFrame_Init", frame_init) &&
           module.bind("X_Set_NextFrame_Time", next_frame_time) && module.bind("X_GetFrame_UnInit", frame_uninit) &&
           module.bind("X_MpegEnc", mpeg_enc) && module.bind("X_Get_Info", get_info) &&
           module.bind("X_StopConvert", stop_convert) && module.bind("X_SetPar_BMP2VOB", bmp2vob);
}

void MpegEncCall::ntsc()
{
    standard = 1;
    frame_rate = "30000/1001";
    frame_size = "720:480";
    if (picture_size == "720:576")
        picture_size = "720:480";
}

int MpegEncCall::run(CorvaneLibrary &lib, VtMessageTarget *target) const
{
    return lib.mpeg_enc(target, source.c_str(), start.c_str(), "48000", aspect.c_str(), "mpeg2", "dvd",
                        video_kbps.c_str(), audio_kbps.c_str(), picture_size.c_str(), frame_size.c_str(), "MyVideo",
                        "MyVideo", "MyVideo", frame_rate.c_str(), video_stream.c_str(), audio_stream.c_str(), output.c_str(), audio_delay_ms.c_str(), duration.c_str(),
                        0, standard, "ac3", quality, deinterlace, abi);
}

float float_value(int32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::vector<int> key_packet_positions(const std::string &file)
{
    CommandResult packets = run_command(
        {"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries", "packet=flags", "-of", "csv=p=0", file});
    std::vector<int> positions;
    int index = 0;
    size_t pos = 0;
    while (pos < packets.output.size()) {
        size_t end = packets.output.find('\n', pos);
        if (end == std::string::npos)
            end = packets.output.size();
        if (end > pos) {
            if (packets.output[pos] == 'K')
                positions.push_back(index);
            ++index;
        }
        pos = end + 1;
    }
    return positions;
}

VideoBufferCheck check_video_buffer(const std::string &file)
{
    constexpr double kPeakRate = 9000000.0;
    constexpr double kBufferBits = 1835008.0;
    CommandResult packets = run_command({"ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                                         "packet=dts_time,size", "-of", "csv=p=0", file});
    VideoBufferCheck check;
    std::istringstream lines(packets.output);
    std::string line;
    double occupancy = kBufferBits;
    double previous = NAN, first = NAN;
    double total_bits = 0;
    while (std::getline(lines, line)) {
        double dts = 0, bytes = 0;
        if (std::sscanf(line.c_str(), "%lf,%lf", &dts, &bytes) != 2)
            continue;
        if (std::isnan(first))
            first = previous = dts;
        occupancy = std::min(kBufferBits, occupancy + (dts - previous) * kPeakRate);
        previous = dts;
        occupancy -= bytes * 8;
        if (occupancy < 0) {
            ++check.underflows;
            occupancy = 0;
        }
        total_bits += bytes * 8;
        ++check.pictures;
    }
    if (check.pictures > 1 && previous > first)
        check.average_kbps = total_bits / (previous - first) * (check.pictures - 1) / check.pictures / 1000.0;
    return check;
}

SoundLevels sound_levels(const std::string &file)
{
    CommandResult stats = run_command({"ffmpeg", "-nostdin", "-i", file, "-map", "0:a:0", "-af",
                                       "astats=measure_perchannel=none:measure_overall=Peak_level+RMS_level",
                                       "-f", "null", "-"});
    SoundLevels levels;
    auto value_after = [&](const char *label) {
        size_t at = stats.output.rfind(label);
        return at == std::string::npos ? NAN : std::atof(stats.output.c_str() + at + std::strlen(label));
    };
    levels.peak_db = value_after("Peak level dB: ");
    levels.rms_db = value_after("RMS level dB: ");
    return levels;
}

double flash_seconds(const std::string &file)
{
    constexpr int kPixels = 16 * 12;
    CommandResult frames = run_command({"ffmpeg", "-nostdin", "-v", "error", "-i", file, "-map", "0:v:0", "-vf",
                                        "scale=16:12", "-f", "rawvideo", "-pix_fmt", "gray", "-"});
    auto rate = probe_entries(file, "v:0", "r_frame_rate")["r_frame_rate"];
    int num = 0, den = 1;
    if (std::sscanf(rate.c_str(), "%d/%d", &num, &den) != 2 || num <= 0)
        return NAN;
    size_t count = frames.output.size() / kPixels;
    long best = -1;
    size_t brightest = 0;
    for (size_t i = 0; i < count; ++i) {
        long sum = 0;
        for (int p = 0; p < kPixels; ++p)
            sum += static_cast<uint8_t>(frames.output[i * kPixels + p]);
        if (sum > best) {
            best = sum;
            brightest = i;
        }
    }
    return count ? static_cast<double>(brightest) * den / num : NAN;
}

double beep_seconds(const std::string &file)
{
    CommandResult samples = run_command({"ffmpeg", "-nostdin", "-v", "error", "-i", file, "-map", "0:a:0", "-ac",
                                         "1", "-ar", "48000", "-f", "s16le", "-"});
    for (size_t i = 0; i + 1 < samples.output.size(); i += 2) {
        int16_t value = static_cast<int16_t>(static_cast<uint8_t>(samples.output[i]) |
                                             (static_cast<uint8_t>(samples.output[i + 1]) << 8));
        if (std::abs(value) > 3000)
            return static_cast<double>(i / 2) / 48000.0;
    }
    return NAN;
}

} // namespace corvane_test
