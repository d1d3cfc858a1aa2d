// vantorel-cli run as a user runs it, with the real engines on generated
// clips; the DVD folders are checked with lsdvd.
#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using corvane_test::run_command;

struct DiscTitle {
    double seconds = 0;
    int chapters = 0;
    int audioStreams = 0;
    int subpictures = 0;
};

// The titles lsdvd reads from a DVD folder.
std::vector<DiscTitle> lsdvdTitles(const std::string &folder)
{
    const auto result = run_command({"lsdvd", folder});
    const std::regex title(R"(Title: \d+, Length: (\d+):(\d+):(\d+\.\d+) Chapters: (\d+), Cells: \d+, )"
                           R"(Audio streams: (\d+), Subpictures: (\d+))");
    std::vector<DiscTitle> titles;
    for (std::sregex_iterator it(result.output.begin(), result.output.end(), title), end; it != end; ++it) {
        const std::smatch &m = *it;
        titles.push_back({std::stoi(m[1]) * 3600 + std::stoi(m[2]) * 60 + std::stod(m[3]), std::stoi(m[4]),
                          std::stoi(m[5]), std::stoi(m[6])});
    }
    return titles;
}

std::string cli()
{
    return corvane_test::bin_dir() + "/vantorel-cli";
}

std::string freshFolder(const std::string &name)
{
    const std::string folder = corvane_test::scratch_dir() + "/" + name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string wideClip()
{
    return corvane_test::fixture("cli_wide_3s.mp4", {"-f", "lavfi", "-i", "testsrc=size=640x360:rate=25", "-f",
                                                     "lavfi", "-i", "sine=frequency=330:sample_rate=44100", "-t",
                                                     "3", "-c:v", "mpeg4", "-c:a", "aac", "-shortest"});
}

TEST(CliBuild, PalTwoClipsWithTrimChaptersSubtitleAndLetterbox)
{
    const std::string folder = freshFolder("pal");
    const std::string srt = folder + "/l'été & co.srt";
    std::ofstream(srt) << "1\n00:00:00,500 --> 00:00:02,000\nBonjour <tout> le monde\n";
    const auto result = run_command({cli(), "build", "-o", folder + "/out dir", "--label", "holiday trip", "--pal",
                                     "--keep-vobs", "--work-folder", folder + "/work", corvane_test::clip_pal_4_3(), "--chapters",
                                     "2,1,1,3,9", "--subtitle", srt, wideClip(), "--trim", "0-2", "--letterbox"});
    ASSERT_EQ(result.status, 0) << result.output;
    const std::string dvd = folder + "/out dir/HOLIDAY_TRIP";
    EXPECT_NE(result.output.find("DVD folder: " + dvd), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("Titles: 2"), std::string::npos);
    EXPECT_NE(result.output.find("<<< Process finish"), std::string::npos);
    ASSERT_TRUE(fs::exists(dvd + "/VIDEO_TS/VIDEO_TS.IFO"));

    const std::vector<DiscTitle> titles = lsdvdTitles(dvd);
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_NEAR(titles[0].seconds, 3, 1);
    EXPECT_EQ(titles[0].chapters, 3);  // the start, 1 and 2; 3 and 9 lie past the end
    EXPECT_EQ(titles[0].subpictures, 1);
    EXPECT_EQ(titles[0].audioStreams, 1);
    EXPECT_NEAR(titles[1].seconds, 2, 1);
    EXPECT_EQ(titles[1].chapters, 1);
    EXPECT_EQ(titles[1].subpictures, 0);

    // The letterboxed 16:9 clip keeps its shape on the 4:3 disc: black bars.
    const auto crop = run_command({"ffmpeg", "-v", "info", "-i", folder + "/out dir/OutputVOB_1.vob", "-vf",
                                   "cropdetect=24:2:0", "-frames:v", "10", "-f", "null", "-"});
    EXPECT_NE(crop.output.find("crop=720:432:"), std::string::npos) << crop.output;
}

TEST(CliBuild, NtscOneClip)
{
    const std::string folder = freshFolder("ntsc");
    const auto result = run_command({cli(), "build", "-o", folder, "--ntsc", "--16:9", "--quality", "2",
                                     "--work-folder", folder + "/work", corvane_test::clip_pal_4_3()});
    ASSERT_EQ(result.status, 0) << result.output;
    const std::vector<DiscTitle> titles = lsdvdTitles(folder + "/DVD_DISC");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_NEAR(titles[0].seconds, 3, 1);
    EXPECT_EQ(titles[0].chapters, 1);
    const auto lsdvd = run_command({"lsdvd", "-v", folder + "/DVD_DISC"});
    EXPECT_NE(lsdvd.output.find("Format: NTSC"), std::string::npos) << lsdvd.output;
    EXPECT_NE(lsdvd.output.find("Aspect ratio: 16/9"), std::string::npos) << lsdvd.output;
    // The converted clip was an intermediate file: gone once the DVD folder is made.
    EXPECT_FALSE(fs::exists(folder + "/OutputVOB_0.vob"));

    // A second build beside it takes the next free folder name.
    const auto again = run_command({cli(), "build", "-o", folder, "--ntsc", "--work-folder", folder + "/work",
                                    corvane_test::clip_pal_4_3(), "--trim", "0:00-0:01"});
    ASSERT_EQ(again.status, 0) << again.output;
    EXPECT_NE(again.output.find("DVD folder: " + folder + "/DVD_DISC_1"), std::string::npos) << again.output;
}

TEST(CliBuild, DamagedSourceIsSummarisedAsWhatWasConverted)
{
    // A 10-second MP4 with its index in front, cut off after half its bytes:
    // the index still promises 10 seconds.
    const std::string whole = corvane_test::fixture(
        "cli_ten_seconds.mp4", {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=10", "-f", "lavfi", "-i",
                                "sine=frequency=330:sample_rate=44100:duration=10", "-c:v", "mpeg4", "-c:a", "aac",
                                "-movflags", "+faststart"});
    const std::string folder = freshFolder("damaged");
    const std::string damaged = folder + "/damaged.mp4";
    {
        std::ifstream in(whole, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(damaged, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));
    }
    const auto result = run_command({cli(), "build", "-o", folder, "--work-folder", folder + "/work", damaged});
    ASSERT_EQ(result.status, 0) << result.output;
    const std::vector<DiscTitle> titles = lsdvdTitles(folder + "/DVD_DISC");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_LT(titles[0].seconds, 7.0);
    const std::regex summary(R"(1: damaged\.mp4, 00:00:0([3-6]) \(part of the source\))");
    EXPECT_TRUE(std::regex_search(result.output, summary)) << result.output;
    const std::regex warning(R"(Warning: damaged\.mp4: only 00:00:0[3-6] of 00:00:10 could be converted)");
    EXPECT_TRUE(std::regex_search(result.output, warning)) << result.output;

    // A whole clip is summarised by its length, without a warning.
    const auto good = run_command({cli(), "build", "-o", freshFolder("undamaged"), "--work-folder", folder + "/work2", whole});
    ASSERT_EQ(good.status, 0) << good.output;
    EXPECT_NE(good.output.find("1: cli_ten_seconds.mp4, 00:00:10, "), std::string::npos) << good.output;
    EXPECT_EQ(good.output.find("Warning"), std::string::npos) << good.output;
    EXPECT_EQ(good.output.find("part of the source"), std::string::npos) << good.output;
}

TEST(CliBuild, LetterboxedUnlessStretchedLikeTheDesktopProgram)
{
    const std::string folder = freshFolder("letterbox");
    const auto result = run_command({cli(), "build", "-o", folder, "--pal", "--keep-vobs", "--label",
                                     "\xC3\x89t\xC3\xA9 \xC3\xA0 Paris", "--work-folder", folder + "/work",
                                     wideClip(), wideClip(), "--stretch"});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("DVD folder: " + folder + "/ETE_A_PARIS"), std::string::npos) << result.output;
    auto picture = [&](const std::string &vob) {
        const auto crop = run_command({"ffmpeg", "-v", "info", "-i", folder + "/" + vob, "-vf", "cropdetect=24:2:0",
                                       "-frames:v", "10", "-f", "null", "-"});
        const size_t at = crop.output.rfind("crop=");
        return at == std::string::npos ? crop.output : crop.output.substr(at, crop.output.find(':', at + 9) - at);
    };
    EXPECT_EQ(picture("OutputVOB_0.vob"), "crop=720:432");  // black bars above and below
    EXPECT_EQ(picture("OutputVOB_1.vob"), "crop=720:576");  // stretched over the whole frame
}

TEST(CliBuild, SubtitlesFollowTheTrim)
{
    const std::string folder = freshFolder("subtitles");
    const std::string srt = folder + "/caf\xC3\xA9.srt";
    std::ofstream(srt) << "\xEF\xBB\xBF" "1\r\n00:00:01,500 --> 00:00:02,500\r\nCaf\xC3\xA9 cr\xC3\xA8me\r\n";
    const auto result = run_command({cli(), "build", "-o", folder, "--pal", "--keep-vobs", "--work-folder",
                                     folder + "/work", wideClip(), "--trim", "1-3", "--subtitle", srt, wideClip(),
                                     "--trim", "0-1", "--subtitle", srt});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("1: cli_wide_3s.mp4, 00:00:02, 1 chapter, subtitles\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("2: cli_wide_3s.mp4, 00:00:01, 1 chapter\n"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("No subtitle of caf\xC3\xA9.srt falls within the kept part of the clip"),
              std::string::npos);

    // The cue 1.5 s into the source shows 0.5 s into the title.
    const auto spu = run_command({"spuunmux", "-o", folder + "/spu", folder + "/OutputVOB_0.vob"});
    ASSERT_EQ(spu.status, 0) << spu.output;
    std::ifstream in(folder + "/spu.xml");
    std::stringstream xml;
    xml << in.rdbuf();
    EXPECT_NE(xml.str().find("start=\"00:00:00.50\" end=\"00:00:01.50\""), std::string::npos) << xml.str();
}

// Ctrl-C or SIGTERM stops the run, which leaves nothing of its own in the
// output folder: no OutputVOB_* (not even a partial one) and no DVD folder.
TEST(CliBuild, InterruptStopsTheRunAndRemovesItsFiles)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        const std::string folder = freshFolder("interrupted-" + std::to_string(signal));
        const std::string log = folder + "/log.txt";
        const std::vector<std::string> args{cli(), "build", "-o", folder + "/out", "--work-folder", folder + "/work",
                                            corvane_test::clip_long()};
        std::vector<char *> argv;
        for (const std::string &arg : args)
            argv.push_back(const_cast<char *>(arg.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);

        // Interrupt once the converter has written part of the clip.
        const std::string partial = folder + "/out/OutputVOB_0.vob.part";
        bool written = false;
        for (int i = 0; i < 500 && !written; ++i) {
            std::error_code error;
            written = fs::file_size(partial, error) > 100000 && !error;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(written) << "the conversion wrote no partial VOB";
        kill(pid, signal);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        std::ifstream in(log);
        std::stringstream output;
        output << in.rdbuf();
        ASSERT_TRUE(WIFEXITED(status)) << output.str();
        EXPECT_EQ(WEXITSTATUS(status), 1) << output.str();
        EXPECT_NE(output.str().find("<<< User abort"), std::string::npos) << output.str();
        std::vector<std::string> left;
        for (const auto &entry : fs::directory_iterator(folder + "/out"))
            left.push_back(entry.path().filename().string());
        EXPECT_TRUE(left.empty()) << signal << ": " << left.front();
    }
}

// A small file system of its own, mounted for one test (root only).
class SmallDisk {
public:
    SmallDisk(const std::string &folder, uint64_t bytes) : folder_(folder)
    {
        fs::create_directories(folder);
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

private:
    std::string folder_;
    bool mounted_ = false;
};

// A full disk is named in the log, and the run removes what it wrote there,
// whether the conversion or the authoring ran out of space.
TEST(CliBuild, FullDiskIsNamedAndCleanedUp)
{
    const std::string folder = freshFolder("full-disk");
    const std::string clip = corvane_test::clip_pal_4_3();
    const auto good = run_command({cli(), "build", "-o", folder + "/good", "--work-folder", folder + "/work", clip});
    ASSERT_EQ(good.status, 0) << good.output;
    const uint64_t vobBytes = fs::file_size(folder + "/good/DVD_DISC/VIDEO_TS/VTS_01_1.VOB");

    struct Case {
        const char *what;
        uint64_t diskBytes;
    } const cases[] = {
        {"no room for the conversion", vobBytes / 3},
        {"room for the VOB but not the DVD", vobBytes + vobBytes / 4},
    };
    for (const Case &c : cases) {
        const std::string disk = folder + "/disk";
        SmallDisk small(disk, c.diskBytes);
        if (!small.mounted())
            GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
        const auto result = run_command({cli(), "build", "-o", disk + "/out", "--work-folder", folder + "/work", clip});
        EXPECT_EQ(result.status, 1) << c.what << "\n" << result.output;
        EXPECT_NE(result.output.find("No space left on the disk of " + disk + "/out/"), std::string::npos)
            << c.what << "\n" << result.output;
        std::vector<std::string> left;
        for (const auto &entry : fs::directory_iterator(disk + "/out"))
            left.push_back(entry.path().filename().string());
        EXPECT_TRUE(left.empty()) << c.what << ": " << left.front();
    }
}

TEST(CliBuild, FitToDiscFillsTheGivenSize)
{
    // A minute of grain: content that takes whatever bitrate it is given.
    const std::string clip = corvane_test::fixture(
        "cli_grain_60s.mkv", {"-f", "lavfi", "-i", "testsrc2=size=352x288:rate=25:duration=60,noise=alls=30:allf=t",
                              "-f", "lavfi", "-i", "sine=frequency=330:sample_rate=48000:duration=60", "-c:v",
                              "mpeg4", "-q:v", "6", "-c:a", "mp2"});
    const std::string folder = freshFolder("fit");
    const auto result = run_command({cli(), "build", "-o", folder, "--pal", "--fit", "--disc-size", "40",
                                     "--work-folder", folder + "/work", clip});
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("Fit to disc: video at "), std::string::npos) << result.output;
    uint64_t bytes = 0;
    for (const auto &entry : fs::directory_iterator(folder + "/DVD_DISC/VIDEO_TS"))
        bytes += entry.file_size();
    EXPECT_GE(bytes, 34u * 1048576) << bytes;
    EXPECT_LE(bytes, 40u * 1048576) << bytes;
    const std::vector<DiscTitle> titles = lsdvdTitles(folder + "/DVD_DISC");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_NEAR(titles[0].seconds, 60, 1);
}

TEST(CliBuild, RefusesWhatCannotBeBuilt)
{
    const std::string folder = freshFolder("refused");
    std::ofstream(folder + "/text.avi") << "not a video";
    struct Case {
        std::vector<std::string> args;
        std::string says;
    } const cases[] = {
        {{"build", "-o", folder, folder + "/text.avi"}, "unsupported or unreadable file"},
        {{"build", "-o", folder, corvane_test::clip_pal_4_3(), "--trim", "5-8"}, "outside the clip"},
        {{"build", "-o", folder, corvane_test::clip_pal_4_3(), "--subtitle", folder + "/none.srt"}, "does not exist"},
        {{"build", "-o", folder + "/work/out", "--work-folder", folder + "/work", corvane_test::clip_pal_4_3()},
         "lies in the work folder"},
        {{"build", "--quality", "5", "a.avi"}, "--quality takes 0, 1 or 2"},
        {{"build", "-o", folder, corvane_test::clip_pal_4_3(), folder + "/gone.mp4"}, folder + "/gone.mp4: no such file"},
        {{"build", "-o", folder, corvane_test::clip_pal_4_3(), "--trim", "20-30"},
         "trim 00:00:20-00:00:30 is outside the clip, which is 3 s long (00:00:03)"},
        {{"build", "-o", folder + "/new\nline", corvane_test::clip_pal_4_3()},
         "The output folder name holds a line break or another control character"},
        {{"build", "-o", folder, corvane_test::clip_pal_4_3(), "--subtitle", folder + "/bad.srt"},
         "Subtitle file " + folder + "/bad.srt, line 5: expected a cue number or a time line"},
        {{"build", "-o", folder, corvane_test::clip_pal_4_3(), "--subtitle", folder + "/empty.srt"},
         "Subtitle file " + folder + "/empty.srt: it holds no subtitles."},
        {{"build", "-o", folder, "--fit", "--disc-size", "1", corvane_test::clip_long()},
         "The project does not fit the disc: 00:00:20 of video needs 4 MB at the lowest bitrate of 1500 kbit/s, "
         "and the disc holds 1 MB."},
    };
    std::ofstream(folder + "/bad.srt") << "1\n00:00:00,500 --> 00:00:02,000\nHello\n\nWorld\n";
    std::ofstream(folder + "/empty.srt");
    for (const Case &c : cases) {
        std::vector<std::string> argv{cli()};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const auto result = run_command(argv);
        EXPECT_NE(result.status, 0) << c.says;
        EXPECT_NE(result.output.find(c.says), std::string::npos) << result.output;
    }
    EXPECT_FALSE(fs::exists(folder + "/DVD_DISC"));
    EXPECT_FALSE(fs::exists(folder + "/OutputVOB_0.vob"));  // refused before converting
    EXPECT_FALSE(fs::exists(folder + "/new\nline"));
}

// A work folder the user names is never emptied: one that holds the clip or
// the output, or that is a file, is refused; in any other the run works in a
// marked subfolder of its own and leaves the user's files alone.
TEST(CliBuild, NeverEmptiesAWorkFolderTheUserNames)
{
    const std::string folder = freshFolder("named-work");
    const std::string clip = folder + "/media/clip.mp4";
    fs::create_directories(folder + "/media");
    fs::copy_file(corvane_test::clip_pal_4_3(), clip);
    std::ofstream(folder + "/media/notes.txt") << "keep me";
    std::ofstream(folder + "/plain") << "a file";
    struct Case {
        std::string workFolder;
        std::string says;
    } const cases[] = {
        {folder + "/media", "holds the source " + clip},
        {folder, "lies in the work folder"},
        {folder + "/plain", "is a file, not a folder"},
    };
    for (const Case &c : cases) {
        const auto result = run_command({cli(), "build", "-o", folder + "/out", "--work-folder", c.workFolder, clip});
        EXPECT_EQ(result.status, 2) << result.output;
        EXPECT_NE(result.output.find(c.says), std::string::npos) << result.output;
    }
    EXPECT_TRUE(fs::exists(clip));
    EXPECT_TRUE(fs::exists(folder + "/media/notes.txt"));
    EXPECT_FALSE(fs::exists(folder + "/out"));

    const std::string scratch = folder + "/scratch";
    fs::create_directories(scratch + "/old");
    std::ofstream(scratch + "/old/report.txt") << "the user's own file";
    const auto good = run_command({cli(), "build", "-o", folder + "/out", "--work-folder", scratch, clip});
    ASSERT_EQ(good.status, 0) << good.output;
    EXPECT_TRUE(fs::exists(scratch + "/old/report.txt"));
    EXPECT_TRUE(fs::exists(scratch + "/vantorel-work/.vantorel-work-folder"));
    EXPECT_TRUE(fs::exists(folder + "/out/DVD_DISC/VIDEO_TS/VIDEO_TS.IFO"));
}

TEST(CliProbe, PrintsFactsAndFailsForUnreadableFiles)
{
    const auto good = run_command({cli(), "probe", corvane_test::clip_pal_4_3()});
    ASSERT_EQ(good.status, 0) << good.output;
    EXPECT_NE(good.output.find("duration       3 s (00:00:03)"), std::string::npos) << good.output;
    EXPECT_NE(good.output.find("picture        320x240"), std::string::npos);
    EXPECT_NE(good.output.find("frame rate     25.00 fps"), std::string::npos);

    const auto bad = run_command({cli(), "probe", corvane_test::clip_pal_4_3(), "/no/such/file.avi"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find("/no/such/file.avi: no such file"), std::string::npos);
}

TEST(CliProbe, ListsTheSoundTracksOfAClipWithSeveral)
{
    const auto probe = run_command({cli(), "probe", corvane_test::clip_two_sound_tracks()});
    ASSERT_EQ(probe.status, 0) << probe.output;
    EXPECT_NE(probe.output.find("sound          48000 Hz, 1 channels"), std::string::npos) << probe.output;
    EXPECT_NE(probe.output.find("sound tracks   2"), std::string::npos) << probe.output;
    EXPECT_NE(probe.output.find("track 1      stream 1, 48000 Hz, 1 channels, 96.00 kbit/s, eng (converted)"),
              std::string::npos)
        << probe.output;
    EXPECT_NE(probe.output.find("track 2      stream 2, 48000 Hz, 6 channels, 448.00 kbit/s, fra (not used)"),
              std::string::npos)
        << probe.output;

    const auto single = run_command({cli(), "probe", corvane_test::clip_pal_4_3()});
    EXPECT_EQ(single.output.find("sound tracks"), std::string::npos) << single.output;
}

TEST(CliHelp, DocumentsTheCommands)
{
    const auto help = run_command({cli(), "--help"});
    EXPECT_EQ(help.status, 0);
    for (const char *text : {"vantorel-cli probe FILE...", "--trim START-END", "--chapters", "--subtitle FILE",
                             "--letterbox", "--stretch", "--keep-vobs", "--quality 0|1|2", "exit status is 0 only"})
        EXPECT_NE(help.output.find(text), std::string::npos) << text;
}

TEST(CliHelp, AMistakeTakesOneLine)
{
    for (const std::vector<std::string> &args : {std::vector<std::string>{"build", "a.avi", "--bogus"},
                                                 std::vector<std::string>{"make"}}) {
        std::vector<std::string> argv{cli()};
        argv.insert(argv.end(), args.begin(), args.end());
        const auto result = run_command(argv);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1) << result.output;
        EXPECT_NE(result.output.find("see vantorel-cli --help"), std::string::npos) << result.output;
    }
}

} // namespace
