// vantorel-cli run as a user runs it, with the real engines on generated
// clips; the DVD folders are checked with lsdvd.
#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include <fcntl.h>
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
                                     "--work-folder", folder + "/work", corvane_test::clip_pal_4_3(), "--chapters",
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
    const std::regex summary(R"(1: damaged\.mp4, 00:00:0([3-6]) \(source ended early\))");
    EXPECT_TRUE(std::regex_search(result.output, summary)) << result.output;
    EXPECT_NE(result.output.find("Warning: damaged.mp4 ended early; converted 00:00:0"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find(" of 00:00:10"), std::string::npos) << result.output;

    // A whole clip is summarised by its length, without a warning.
    const auto good = run_command({cli(), "build", "-o", freshFolder("undamaged"), "--work-folder", folder + "/work2", whole});
    ASSERT_EQ(good.status, 0) << good.output;
    EXPECT_NE(good.output.find("1: cli_ten_seconds.mp4, 00:00:10, "), std::string::npos) << good.output;
    EXPECT_EQ(good.output.find("ended early"), std::string::npos) << good.output;
}

TEST(CliBuild, CtrlCStopsTheConversion)
{
    const std::string folder = freshFolder("interrupted");
    const std::string log = folder + "/log.txt";
    const std::vector<std::string> args{cli(), "build", "-o", folder, "--work-folder", folder + "/work",
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
    const std::string vob = folder + "/OutputVOB_0.vob";
    for (int i = 0; i < 500; ++i) {
        std::error_code error;
        if (fs::file_size(vob, error) > 100000 && !error)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    std::ifstream in(log);
    std::stringstream output;
    output << in.rdbuf();
    ASSERT_TRUE(WIFEXITED(status)) << output.str();
    EXPECT_EQ(WEXITSTATUS(status), 1) << output.str();
    EXPECT_NE(output.str().find("<<< User abort"), std::string::npos) << output.str();
    EXPECT_FALSE(fs::exists(folder + "/DVD_DISC"));
    // The stopped conversion leaves a shorter, playable file.
    const auto probe = corvane_test::probe_entries(vob, "", "duration");
    ASSERT_TRUE(probe.count("duration")) << output.str();
    EXPECT_LT(std::stod(probe.at("duration")), 19.0);
}

TEST(CliBuild, RefusesWhatCannotBeBuilt)
{
    const std::string folder = freshFolder("refused");
    std::ofstream(folder + "/text.avi") << "not a video";
    struct Case {
        std::vector<std::string> args;
        const char *says;
    } const cases[] = {
        {{"build", "-o", folder, folder + "/text.avi"}, "unsupported or unreadable file"},
        {{"build", "-o", folder, corvane_test::clip_pal_4_3(), "--trim", "5-8"}, "outside the clip"},
        {{"build", "-o", folder, corvane_test::clip_pal_4_3(), "--subtitle", folder + "/none.srt"}, "does not exist"},
        {{"build", "-o", folder + "/work/out", "--work-folder", folder + "/work", corvane_test::clip_pal_4_3()},
         "lies in the work folder"},
        {{"build", "--quality", "5", "a.avi"}, "--quality takes 0, 1 or 2"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> argv{cli()};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const auto result = run_command(argv);
        EXPECT_NE(result.status, 0) << c.says;
        EXPECT_NE(result.output.find(c.says), std::string::npos) << result.output;
    }
    EXPECT_FALSE(fs::exists(folder + "/DVD_DISC"));
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
    EXPECT_NE(bad.output.find("/no/such/file.avi: unsupported or unreadable file"), std::string::npos);
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
                             "--letterbox", "--quality 0|1|2", "exit status is 0 only"})
        EXPECT_NE(help.output.find(text), std::string::npos) << text;
}

} // namespace
