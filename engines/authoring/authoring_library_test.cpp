// The authoring library loaded by path, running the real spumux and dvdauthor.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engines/authoring/dvdauthor_library.h"
#include "platform/module_loader.h"

namespace fs = std::filesystem;
extern char **environ;

namespace {

int run(std::vector<std::string> argv)
{
    std::vector<char *> args;
    for (std::string &arg : argv)
        args.push_back(arg.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 01, 0);
    pid_t pid;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void write_text(const std::string &path, const std::string &text)
{
    std::ofstream(path) << text;
}

class AuthoringLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new std::string(fs::temp_directory_path() / ("authoring-test-" + std::to_string(getpid())));
        fs::create_directories(*dir);
        ASSERT_EQ(run({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                       "testsrc=size=720x576:rate=25:duration=3,noise=alls=80:allf=t", "-f", "lavfi", "-i",
                       "sine=duration=3", "-target", "pal-dvd", "-b:v", "8000k", *dir + "/title.vob"}),
                  0);
        ASSERT_EQ(run({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                       "color=c=black@0.0:size=720x576,format=rgba,drawbox=x=100:y=100:w=200:h=60:color=red:t=fill",
                       "-frames:v", "1", *dir + "/button.png"}),
                  0);
    }
    static void TearDownTestSuite()
    {
        fs::remove_all(*dir);
        delete dir;
    }

    void SetUp() override
    {
        ASSERT_TRUE(library.open(std::string(std::getenv("VANTOREL_BIN_DIR") ? std::getenv("VANTOREL_BIN_DIR")
                                                                             : VANTOREL_BIN_DIR) +
                                 "/libdvdauthor.so"))
            << library.error();
        ASSERT_TRUE(library.bind("setreg", setreg_fn) && library.bind("spumux_main", spumux_fn) &&
                    library.bind("getSubtitleMuxPercent", percent_fn) && library.bind("author_main", author_fn) &&
                    library.bind("getVOBsMB", megabytes_fn));
    }

    std::string control_file(const std::string &name, const std::string &text)
    {
        std::string path = *dir + "/" + name;
        write_text(path, text);
        return path;
    }

    std::string good_control()
    {
        return control_file("buttons.xml", "<subpictures><stream><spu start=\"00:00:00.00\" end=\"00:00:01.00\" "
                                           "image=\"" + *dir + "/button.png\"/></stream></subpictures>\n");
    }

    std::string project(const std::string &name, const std::string &vob)
    {
        return control_file(name, "<dvdauthor dest=\"" + *dir + "/" + name + ".dvd\"><vmgm><menus>"
                                  "<video format=\"pal\"/></menus></vmgm><titleset><titles><video format=\"pal\"/>"
                                  "<pgc><vob file=\"" + vob + "\"/></pgc></titles></titleset></dvdauthor>\n");
    }

    static std::string *dir;
    vt::Module library;
    void (*setreg_fn)(int) = nullptr;
    int (*spumux_fn)(const char *, const char *, const char *) = nullptr;
    int *(*percent_fn)() = nullptr;
    int (*author_fn)(const char *) = nullptr;
    int *(*megabytes_fn)() = nullptr;
};

std::string *AuthoringLibraryTest::dir = nullptr;

} // namespace

TEST_F(AuthoringLibraryTest, MuxesButtonsAndAuthorsTheResult)
{
    std::string muxed = *dir + "/muxed.vob";
    setreg_fn(DVDAUTHOR_LIBRARY_INIT);
    EXPECT_EQ(*percent_fn(), 0);
    ASSERT_EQ(spumux_fn(good_control().c_str(), (*dir + "/title.vob").c_str(), muxed.c_str()), 0);
    EXPECT_EQ(*percent_fn(), 100);
    EXPECT_GT(fs::file_size(muxed), fs::file_size(*dir + "/title.vob"));

    setreg_fn(DVDAUTHOR_LIBRARY_INIT);
    std::string xml = project("good", muxed);
    ASSERT_EQ(author_fn(xml.c_str()), 0);
    EXPECT_TRUE(fs::exists(*dir + "/good.dvd/VIDEO_TS/VIDEO_TS.IFO"));
    EXPECT_TRUE(fs::exists(*dir + "/good.dvd/VIDEO_TS/VTS_01_1.VOB"));
    EXPECT_GE(*megabytes_fn(), 2); // a noisy 3 s title of about 3 MB
}

TEST_F(AuthoringLibraryTest, MuxPercentOnlyGrowsWhilePolledFromAnotherThread)
{
    std::string muxed = *dir + "/polled.vob";
    setreg_fn(DVDAUTHOR_LIBRARY_INIT);
    std::atomic<bool> done{false};
    int result = -1;
    std::thread worker([&] {
        result = spumux_fn(good_control().c_str(), (*dir + "/title.vob").c_str(), muxed.c_str());
        done = true;
    });
    std::vector<int> seen;
    while (!done) {
        seen.push_back(std::atomic_ref<int>(*percent_fn()).load());
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    worker.join();
    ASSERT_EQ(result, 0);
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_LE(seen[i - 1], seen[i]);
    for (int percent : seen)
        EXPECT_LE(percent, 100);
    EXPECT_EQ(*percent_fn(), 100);
}

TEST_F(AuthoringLibraryTest, FailedMuxLeavesNoOutput)
{
    struct {
        const char *name;
        std::string control;
        std::string input;
    } cases[] = {
        {"bad_control_file", control_file("bad.xml", "<subpictures><stream><spu start=\"garbage"),
         *dir + "/title.vob"},
        {"missing_picture", control_file("nopic.xml", "<subpictures><stream><spu start=\"00:00:00.00\" "
                                                      "image=\"/nonexistent/x.png\"/></stream></subpictures>"),
         *dir + "/title.vob"},
        {"missing_input", good_control(), *dir + "/none.vob"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = *dir + "/" + c.name + ".vob";
        setreg_fn(DVDAUTHOR_LIBRARY_INIT);
        EXPECT_NE(spumux_fn(c.control.c_str(), c.input.c_str(), out.c_str()), 0);
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(AuthoringLibraryTest, BadProjectFails)
{
    setreg_fn(DVDAUTHOR_LIBRARY_INIT);
    std::string missing_vob = project("missing", *dir + "/none.vob");
    EXPECT_NE(author_fn(missing_vob.c_str()), 0);
    EXPECT_FALSE(fs::exists(*dir + "/missing.dvd/VIDEO_TS/VIDEO_TS.IFO"));
    std::string broken = control_file("broken.xml", "<dvdauthor dest=");
    EXPECT_NE(author_fn(broken.c_str()), 0);
}

TEST_F(AuthoringLibraryTest, RunsWithoutTheInitialisationValueAreRefused)
{
    setreg_fn(7);
    std::string out = *dir + "/uninitialised.vob";
    EXPECT_NE(spumux_fn(good_control().c_str(), (*dir + "/title.vob").c_str(), out.c_str()), 0);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_NE(author_fn(project("uninitialised", *dir + "/title.vob").c_str()), 0);
    EXPECT_FALSE(fs::exists(*dir + "/uninitialised.dvd"));
}
