#include "app/production/clip_conversion.h"

#include "app/common/settings.h"
#include "app/production/conversion_chain.h"
#include "platform/ini_file.h"

#include "app/production/production_test_view.h"
#include "app/project/clip_record.h"
#include "engines/converter/test_support/test_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace vt::production {
namespace {

namespace fs = std::filesystem;

// Conversions through the scripted converter library: each clip is a file
// with a ".facts" sidecar, and the "VOB" it writes lists the arguments.
class ClipConversionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = corvane_test::scratch_dir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(root);
        folders = {corvane_test::test_lib_dir(), root + "/work/", root + "/out/"};
    }

    project::ClipRecord &addClip(const std::string &name, int duration, const std::string &extraFacts = "")
    {
        const std::string path = root + "/" + name;
        std::ofstream(path) << "clip";
        std::ofstream(path + ".facts") << "[facts]\nduration=" << duration
                                       << "\nwidth=720\nheight=404\naspect=0\nprogressive=1\nencode_pace=50\n"
                                       << extraFacts;
        auto clip = std::make_unique<project::ClipRecord>();
        clip->fileName = path;
        project::StreamFacts facts;
        facts.duration = duration;
        facts.width = 720;
        facts.height = 404;
        facts.progressive = 1;
        clip->setStreamFacts(facts);
        return clips.append(std::move(clip));
    }

    // The arguments the fake library was called with, one per line.
    std::vector<std::string> arguments(const std::string &vob)
    {
        std::ifstream in(vob);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    int convert(RunChoices choices = RunChoices(), ClipConversion::VobRole role = ClipConversion::VobsAreResults)
    {
        ProductionRun run(view, folders, builtInTexts());
        ClipConversion conversion(run, clips, role);
        conversion.setWorkerProgram(workerProgram);
        view.onProcessEvents = stopAction ? [&] { stopAction(conversion); } : std::function<void()>();
        if (!run.PrepareRun(choices))
            return -2;
        if (conversion.ConvertAll())
            run.EndRun(kProcessFinish);
        return run.outcome();
    }

    std::string root;
    RunFolders folders;
    std::string workerProgram;  // "" for the one beside the test program
    RecordingView view;
    project::ClipRecordList clips;
    std::function<void(ClipConversion &)> stopAction;
};

TEST_F(ClipConversionTest, ArgumentsAndNaming)
{
    project::ClipRecord &trimmed = addClip("a.avi", 600);
    trimmed.setTimes(20, 500);
    trimmed.letterbox = true;
    project::ClipRecord &nearEnd = addClip("b.avi", 600);
    nearEnd.setTimes(0, 595);  // within the last 10 s: still honoured
    nearEnd.letterbox = false;
    addClip("c.avi", 30);      // untrimmed: to the end
    fs::create_directories(folders.outputFolder);
    std::ofstream(folders.outputFolder + "OutputVOB_0.vob") << "old";
    std::ofstream(folders.outputFolder + "OutputVOB_0_1.vob") << "old";

    RunChoices pal;
    pal.ntsc = false;
    pal.qualityIndex = 0;
    ASSERT_EQ(convert(pal), kProcessFinish);
    EXPECT_EQ(clips[0].vobFile, folders.outputFolder + "OutputVOB_0_2.vob");
    EXPECT_EQ(clips[1].vobFile, folders.outputFolder + "OutputVOB_1.vob");
    EXPECT_EQ(clips[2].vobFile, folders.outputFolder + "OutputVOB_2.vob");

    const std::vector<std::string> a = arguments(clips[0].vobFile);
    ASSERT_EQ(a.size(), 25u);  // "FAKEVOB" and arguments 2 to 25
    EXPECT_EQ(a[1], clips[0].fileName);
    EXPECT_EQ(a[2], "20");        // start
    EXPECT_EQ(a[3], "48000");
    EXPECT_EQ(a[4], "4:3");
    EXPECT_EQ(a[7], "5000");      // quality 0
    EXPECT_EQ(a[9], "720:432");   // letterboxed 16:9 clip on a 4:3 PAL disc
    EXPECT_EQ(a[10], "720:576");
    EXPECT_EQ(a[14], "25");
    EXPECT_EQ(a[19], "480");      // duration: end − start
    EXPECT_EQ(a[21], "2");        // PAL
    EXPECT_EQ(arguments(clips[1].vobFile)[19], "595");
    EXPECT_EQ(arguments(clips[1].vobFile)[9], "720:576");  // stretched
    EXPECT_EQ(arguments(clips[2].vobFile)[19], "0");
    EXPECT_TRUE(view.logged("Start to convert clip to VOB file >>>"));
    EXPECT_TRUE(view.logged("a.avi >>>> OutputVOB_0_2.vob"));
    EXPECT_EQ(view.log.back(), "<<< Process finish");
    EXPECT_EQ(view.durations.front(), "00:08:00");
    EXPECT_FALSE(view.statuses.empty());
}

TEST_F(ClipConversionTest, MissingSourceIsOutcome2)
{
    addClip("a.avi", 30);
    clips[0].fileName = root + "/gone.avi";
    EXPECT_EQ(convert(), kConversionParameterWrong);
    EXPECT_EQ(view.log.back(), "<<< Conversion parameter wrong");
}

TEST_F(ClipConversionTest, MissingSourceInABatchIsNamedBeforeAnyConversion)
{
    addClip("a.avi", 30);
    addClip("b.avi", 30);
    clips[1].fileName = root + "/gone.avi";
    EXPECT_EQ(convert(), kConversionParameterWrong);
    ASSERT_GE(view.log.size(), 2u);
    EXPECT_EQ(view.log[view.log.size() - 2], "Source file not found: " + root + "/gone.avi");
    EXPECT_FALSE(fs::exists(folders.outputFolder + "OutputVOB_0.vob"));
}

TEST_F(ClipConversionTest, AnyConverterFailureIsOutcome3)
{
    for (const char *result : {"-1", "1", "7"}) {
        clips.clear();
        addClip(std::string("x") + result + ".avi", 30, std::string("encode_result=") + result + "\n");
        EXPECT_EQ(convert(), kConversionProcessWrong) << result;
    }
}

TEST_F(ClipConversionTest, MissingLibraryIsOutcome15)
{
    addClip("a.avi", 30);
    folders.programFolder = root + "/nolibrary/";
    fs::create_directories(folders.programFolder);
    EXPECT_EQ(convert(), kConversionCannotStart);
    EXPECT_EQ(view.log.back(), "<<< Can not start conversion process");
}

TEST_F(ClipConversionTest, StopAsksAndAborts)
{
    addClip("a.avi", 3000);
    addClip("b.avi", 30);
    stopAction = [](ClipConversion &conversion) { conversion.Stop(); };
    EXPECT_EQ(convert(), kUserAbort);
    EXPECT_EQ(view.questions, (std::vector<std::string>{"Do you want to stop process?"}));
    EXPECT_TRUE(clips[1].vobFile.empty());  // the second clip was never started
}

// A stopped or failed run leaves no partial file named like a finished one.
// In Converter mode the clips finished before stay and the log names them;
// on the way to a DVD every VOB of the run goes.
TEST_F(ClipConversionTest, StopOrFailureLeavesNoPartialVob)
{
    struct Case {
        const char *what;
        ClipConversion::VobRole role;
        const char *secondClipFacts;
        int outcome;
        bool firstKept;
    } const cases[] = {
        {"converter mode, stopped", ClipConversion::VobsAreResults, "", kUserAbort, true},
        {"converter mode, failed", ClipConversion::VobsAreResults, "encode_result=-1\n", kConversionProcessWrong, true},
        {"towards a DVD, stopped", ClipConversion::VobsAreIntermediate, "", kUserAbort, false},
        {"towards a DVD, failed", ClipConversion::VobsAreIntermediate, "encode_result=-1\n", kConversionProcessWrong, false},
    };
    for (const Case &c : cases) {
        fs::remove_all(folders.outputFolder);
        clips.clear();
        view = RecordingView();
        addClip("a.avi", 30);
        addClip("b.avi", 3000, c.secondClipFacts);
        const std::string out = folders.outputFolder;
        // Stop once the second clip is being converted (the view's action
        // runs once, so it arms itself again until then).
        stopAction = [&](ClipConversion &conversion) {
            if (c.outcome != kUserAbort)
                return;
            if (conversion.converterLoaded() && fs::exists(out + "OutputVOB_0.vob"))
                conversion.Stop();
            else
                view.onProcessEvents = [&] { stopAction(conversion); };
        };
        EXPECT_EQ(convert(RunChoices(), c.role), c.outcome) << c.what;
        EXPECT_EQ(fs::exists(out + "OutputVOB_0.vob"), c.firstKept) << c.what;
        EXPECT_EQ(view.logged("Complete: OutputVOB_0.vob"), c.firstKept) << c.what;
        EXPECT_FALSE(fs::exists(out + "OutputVOB_1.vob")) << c.what;
        EXPECT_FALSE(fs::exists(out + "OutputVOB_1.vob.part")) << c.what;
        EXPECT_EQ(view.log.back(), RunOutcomeText(builtInTexts(), c.outcome)) << c.what;
    }
}

TEST_F(ClipConversionTest, StopAnsweredNoGoesOn)
{
    addClip("a.avi", 300);
    view.answers = {false};
    stopAction = [](ClipConversion &conversion) { conversion.Stop(); };
    EXPECT_EQ(convert(), kProcessFinish);
}

TEST_F(ClipConversionTest, StopOutsideAConversionCannotStop)
{
    ProductionRun run(view, folders, builtInTexts());
    ClipConversion conversion(run, clips);
    conversion.Stop();
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Can not stop process!"}));
    EXPECT_FALSE(run.userAbort());
}

TEST_F(ClipConversionTest, ConverterModeRun)
{
    {
        ProductionRun run(view, folders, builtInTexts());
        ConversionChain chain(run, clips);
        EXPECT_EQ(chain.run(RunChoices()), kOutcomeNone);
        EXPECT_EQ(view.messages, (std::vector<std::string>{"No file to convert."}));
        EXPECT_TRUE(view.busyStates.empty());  // nothing started
    }
    addClip("a.avi", 30);
    EXPECT_FALSE(DeinterlaceByDefault(clips));
    clips[0].interlaced = true;
    EXPECT_TRUE(DeinterlaceByDefault(clips));
    ProductionRun run(view, folders, builtInTexts());
    ConversionChain chain(run, clips);
    EXPECT_EQ(chain.run(RunChoices()), kProcessFinish);
    EXPECT_EQ(view.busyStates, (std::vector<bool>{true, false}));
    EXPECT_TRUE(fs::exists(folders.outputFolder + "OutputVOB_0.vob"));
}

TEST_F(ClipConversionTest, VideoFormatWrittenOnlyWhenChanged)
{
    const std::string ini = root + "/Option.ini";
    common::Settings settings;
    settings.ntsc = true;
    ASSERT_TRUE(StoreVideoFormatChoice(true, settings, ini));
    EXPECT_FALSE(fs::exists(ini));
    ASSERT_TRUE(StoreVideoFormatChoice(false, settings, ini));
    EXPECT_FALSE(settings.ntsc);
    EXPECT_EQ(IniFile(ini).readString("Option", "VideoFormat", ""), "0");
}

// Workers started by the run and not yet reaped (running or exited).
std::vector<pid_t> childProcesses()
{
    std::vector<pid_t> children;
    for (const auto &entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string pid, name, state;
        pid_t parent = 0;
        if (stat >> pid >> name >> state >> parent && parent == getpid())
            children.push_back(std::stoi(pid));
    }
    return children;
}

class ParallelConversionTest : public ClipConversionTest {
protected:
    void SetUp() override
    {
        ClipConversionTest::SetUp();
        workerProgram = VANTOREL_CONVERT_WORKER;
    }

    std::map<std::string, std::string> vobContents()
    {
        std::map<std::string, std::string> contents;
        for (const auto &entry : fs::directory_iterator(folders.outputFolder)) {
            std::ifstream in(entry.path());
            contents[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
        }
        return contents;
    }

    RunChoices jobs(int count)
    {
        RunChoices choices;
        choices.conversionJobs = count;
        return choices;
    }
};

TEST_F(ParallelConversionTest, SameVobsAsOneAfterAnother)
{
    addClip("a.avi", 40).setTimes(5, 25);
    addClip("b.avi", 30).letterbox = true;
    addClip("c.avi", 60, "encode_pace=20\n");
    std::map<std::string, std::string> sequential;
    std::vector<std::string> sequentialLog;
    for (int count : {1, 3}) {
        fs::remove_all(folders.outputFolder);
        view = RecordingView();
        ASSERT_EQ(convert(jobs(count)), kProcessFinish) << count;
        if (count == 1) {
            sequential = vobContents();
            sequentialLog = view.log;
            continue;
        }
        EXPECT_EQ(vobContents(), sequential);
        for (const std::string &line : sequentialLog)
            EXPECT_TRUE(view.logged(line)) << line;
        EXPECT_TRUE(view.logged("Converted: OutputVOB_2.vob"));
        EXPECT_EQ(view.progress.back(), (std::pair<int, int>{1, 100}));
    }
    EXPECT_EQ(sequential.size(), 3u);
    EXPECT_TRUE(childProcesses().empty());
}

// Stop, or a worker that dies, ends every other worker within a second; no
// partial file is left or reported as done; a clip finished before stays in
// Converter mode and goes on the way to a DVD.
TEST_F(ParallelConversionTest, StopOrKilledWorkerEndsTheWholeRun)
{
    struct Case {
        const char *what;
        bool killWorker;
        ClipConversion::VobRole role;
        int outcome;
    } const cases[] = {
        {"stopped", false, ClipConversion::VobsAreResults, kUserAbort},
        {"worker killed", true, ClipConversion::VobsAreResults, kConversionProcessWrong},
        {"towards a DVD, worker killed", true, ClipConversion::VobsAreIntermediate, kConversionProcessWrong},
    };
    for (const Case &c : cases) {
        fs::remove_all(folders.outputFolder);
        clips.clear();
        view = RecordingView();
        // The longest clip starts first and converts in a moment.
        addClip("quick.avi", 200000, "encode_pace=100000\n");
        addClip("slow1.avi", 100000);
        addClip("slow2.avi", 100000);
        const std::string out = folders.outputFolder;
        auto ended = std::chrono::steady_clock::now();
        // Acts once the quick clip is done and both slow ones are converting.
        stopAction = [&](ClipConversion &conversion) {
            if (fs::exists(out + "OutputVOB_0.vob") && childProcesses().size() == 2) {
                if (c.killWorker)
                    kill(childProcesses().front(), SIGKILL);
                else
                    conversion.Stop();
                ended = std::chrono::steady_clock::now();
            } else {
                view.onProcessEvents = [&] { stopAction(conversion); };
            }
        };
        EXPECT_EQ(convert(jobs(2), c.role), c.outcome) << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - ended, std::chrono::seconds(1)) << c.what;
        EXPECT_TRUE(childProcesses().empty()) << c.what;
        const bool firstKept = c.role == ClipConversion::VobsAreResults;
        EXPECT_EQ(fs::exists(out + "OutputVOB_0.vob"), firstKept) << c.what;
        EXPECT_EQ(view.logged("Complete: OutputVOB_0.vob"), firstKept) << c.what;
        for (const char *name : {"OutputVOB_1.vob", "OutputVOB_2.vob", "OutputVOB_1.vob.part", "OutputVOB_2.vob.part"}) {
            EXPECT_FALSE(fs::exists(out + name)) << c.what << " " << name;
            EXPECT_FALSE(view.logged(std::string("Complete: ") + name)) << c.what << " " << name;
        }
        EXPECT_EQ(view.log.back(), RunOutcomeText(builtInTexts(), c.outcome)) << c.what;
        const bool killReported = std::any_of(view.log.begin(), view.log.end(), [](const std::string &line) {
            return line.find("ended unexpectedly (signal 9: Killed)") != std::string::npos;
        });
        EXPECT_EQ(killReported, c.killWorker) << c.what;
    }
}

TEST_F(ParallelConversionTest, MissingWorkerOrLibraryCannotStart)
{
    addClip("a.avi", 30);
    addClip("b.avi", 30);
    workerProgram = root + "/no-worker";
    EXPECT_EQ(convert(jobs(2)), kConversionCannotStart);
    EXPECT_TRUE(view.logged("Converter worker: can not start " + root + "/no-worker: No such file or directory"));

    view = RecordingView();
    workerProgram = VANTOREL_CONVERT_WORKER;
    folders.programFolder = root + "/nolibrary/";
    fs::create_directories(folders.programFolder);
    EXPECT_EQ(convert(jobs(2)), kConversionCannotStart);
    EXPECT_EQ(view.log.back(), "<<< Can not start conversion process");
    EXPECT_TRUE(childProcesses().empty());
}

} // namespace
} // namespace vt::production
