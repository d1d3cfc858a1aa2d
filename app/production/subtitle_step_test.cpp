#include "app/production/subtitle_step.h"

#include "app/production/production_test_view.h"
#include "app/project/clip_record.h"
#include "app/common/region_list.h"
#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vt::production {
namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class SubtitleStepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetExePath(corvane_test::bin_dir());
        regions = common::RegionList::program();  // the program folder's language tables
        root = corvane_test::scratch_dir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(root);
        folders = {corvane_test::bin_dir(), root + "/work/", root + "/out/"};
        // A one-second PAL DVD stream, as the converter would have written it.
        const std::string made = corvane_test::fixture(
            "subtitle_step_pal.vob", {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25", "-t", "1", "-target",
                                      "pal-dvd", "-an"});
        vob = root + "/OutputVOB_0.vob";
        fs::copy_file(made, vob);
        srt = root + "/Tom & Jerry.srt";
        std::ofstream(srt) << "1\n00:00:00,200 --> 00:00:00,900\nHello\n";
        auto clip = std::make_unique<project::ClipRecord>();
        clip->vobFile = vob;
        clip->subtitleFile = srt;
        clip->subtitleFontSize = 22;
        clips.append(std::move(clip));
    }

    int streams(const std::string &file, const std::string &codec)
    {
        const auto result = corvane_test::run_command(
            {"ffprobe", "-v", "error", "-show_entries", "stream=codec_name", "-of", "csv=p=0", file});
        int count = 0;
        std::istringstream lines(result.output);
        for (std::string line; std::getline(lines, line);)
            count += line == codec;
        return count;
    }

    std::string root, vob, srt;
    RunFolders folders;
    RecordingView view;
    project::ClipRecordList clips;
    common::RegionList regions = common::RegionList::program();
};

TEST_F(SubtitleStepTest, ScriptResults)
{
    ProductionRun run(view, folders);
    ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
    SubtitleStep step(run, clips, regions);

    project::ClipRecord none;
    EXPECT_EQ(step.WriteSubtitleScript(none), 0);
    project::ClipRecord missing;
    missing.subtitleFile = root + "/gone.srt";
    EXPECT_EQ(step.WriteSubtitleScript(missing), -1);

    ASSERT_EQ(step.WriteSubtitleScript(clips[0]), 1);
    EXPECT_EQ(step.muxPaths().input, vob);
    EXPECT_EQ(step.muxPaths().output, root + "/OutputVOB_0_srt.vob");
    EXPECT_EQ(step.muxPaths().control, run.folders().workFolder + "subtitle.xml");
    EXPECT_EQ(readFile(run.folders().workFolder + "subtitle.srt"), "1\n00:00:00,200 --> 00:00:00,900\nHello\n\n");
    const std::string xml = readFile(run.folders().workFolder + "subtitle.xml");
    EXPECT_NE(xml.find("<subpictures format=\"PAL\">\r\n"), std::string::npos);
    EXPECT_NE(xml.find("fontsize=\"22\" font=\"/"), std::string::npos);  // a real font file
    EXPECT_TRUE(view.logged("OutputVOB_0.vob <<<< Tom & Jerry.srt"));
}

TEST_F(SubtitleStepTest, CuesMoveWithTheTrim)
{
    std::ofstream(srt) << "1\n00:00:00,500 --> 00:00:01,500\nbefore\n\n"
                          "2\n00:00:01,500 --> 00:00:02,500\nacross the start\n\n"
                          "3\n00:00:04,000 --> 00:00:05,000\ninside\n\n"
                          "4\n00:00:07,500 --> 00:00:08,500\nacross the end\n\n"
                          "5\n00:00:09,000 --> 00:00:09,800\nlast\n";
    struct Case {
        int32_t start, end;
        const char *srt;
    } const cases[] = {
        {0, 10, nullptr},  // untrimmed: the cues as they are
        {2, 8,
         "1\n00:00:00,000 --> 00:00:00,500\nacross the start\n\n2\n00:00:02,000 --> 00:00:03,000\ninside\n\n"
         "3\n00:00:05,500 --> 00:00:06,000\nacross the end\n\n"},
        {2, 10,
         "1\n00:00:00,000 --> 00:00:00,500\nacross the start\n\n2\n00:00:02,000 --> 00:00:03,000\ninside\n\n"
         "3\n00:00:05,500 --> 00:00:06,500\nacross the end\n\n4\n00:00:07,000 --> 00:00:07,800\nlast\n\n"},
    };
    for (const Case &c : cases) {
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
        SubtitleStep step(run, clips, regions);
        clips[0].duration = 10;
        clips[0].setTimes(c.start, c.end);
        ASSERT_EQ(step.WriteSubtitleScript(clips[0]), 1) << c.start;
        const std::string written = readFile(run.folders().workFolder + "subtitle.srt");
        if (c.srt)
            EXPECT_EQ(written, c.srt) << c.start << "-" << c.end;
        else
            EXPECT_EQ(written.substr(0, 42), "1\n00:00:00,500 --> 00:00:01,500\nbefore\n\n2\n");
    }

    // Nothing left in the kept part: no mux, and the run goes on.
    ProductionRun run(view, folders);
    ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
    SubtitleStep step(run, clips, regions);
    std::ofstream(srt) << "1\n00:00:09,000 --> 00:00:09,800\nlast\n";
    clips[0].setTimes(2, 8);
    EXPECT_EQ(step.WriteSubtitleScript(clips[0]), 0);
    EXPECT_TRUE(view.logged("No subtitle of Tom & Jerry.srt falls within the kept part of the clip; the title gets no "
                            "subtitles."));
}

TEST_F(SubtitleStepTest, CharacterSetFollowsTheFile)
{
    const std::string cue = "1\n00:00:00,200 --> 00:00:00,900\n";
    struct Case {
        const char *name;
        std::string bytes;
        int region;
        const char *characterSet;
    } const cases[] = {
        {"UTF-8", cue + "Caf\xC3\xA9 cr\xC3\xA8me\n", 0, "UTF-8"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + cue + "\xE4\xBD\xA0\xE5\xA5\xBD\n", 6, "UTF-8"},
        {"Latin-1 in an English region", cue + "Caf\xE9 cr\xE8me\n", 0, "ISO-8859-1"},
        {"GB18030 in a Chinese region", cue + "\xC4\xE3\xBA\xC3\n", 4, "GB18030"},
    };
    for (const Case &c : cases) {
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
        SubtitleStep step(run, clips, regions);
        std::ofstream(srt, std::ios::binary) << c.bytes;
        clips[0].subtitleLanguageIndex = c.region;
        ASSERT_EQ(step.WriteSubtitleScript(clips[0]), 1) << c.name;
        const std::string xml = readFile(run.folders().workFolder + "subtitle.xml");
        EXPECT_NE(xml.find(std::string("characterset=\"") + c.characterSet + "\""), std::string::npos)
            << c.name << "\n" << xml;
        // spumux gets the text without a byte-order mark.
        EXPECT_EQ(readFile(run.folders().workFolder + "subtitle.srt").substr(0, 2), "1\n") << c.name;
    }
}

TEST_F(SubtitleStepTest, UnicodeTextGetsAFontThatHasItsCharacters)
{
    ProductionRun run(view, folders);
    ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
    SubtitleStep step(run, clips, regions);
    std::ofstream(srt) << "1\n00:00:00,200 --> 00:00:00,900\nCaf\xC3\xA9\n\xE4\xBD\xA0\xE5\xA5\xBD\n";
    clips[0].subtitleLanguageIndex = 0;  // English: DejaVu Sans, which has no Chinese
    ASSERT_EQ(step.WriteSubtitleScript(clips[0]), 1);
    const std::string xml = readFile(run.folders().workFolder + "subtitle.xml");
    EXPECT_EQ(xml.find("DejaVuSans.ttf"), std::string::npos) << xml;
    EXPECT_TRUE(std::any_of(view.log.begin(), view.log.end(), [](const std::string &line) {
        return line.rfind("Subtitle font DejaVuSans.ttf lacks characters of Tom & Jerry.srt; using ", 0) == 0;
    }));
}

TEST_F(SubtitleStepTest, MalformedFilesAreNamedBeforeSpumuxRuns)
{
    struct Case {
        const char *content;
        std::string says;
    } const cases[] = {
        {"", "Subtitle file " + srt + ": it holds no subtitles."},
        {"1\n00:00:00,200 --> 00:00:00,900\nHello\n\n2\n00:00:01,200 - 00:00:01,900\nWorld\n",
         "Subtitle file " + srt + ", line 6: expected a time line"},
    };
    const std::string before = readFile(vob);
    for (const Case &c : cases) {
        std::ofstream(srt) << c.content;
        {
            ProductionRun run(view, folders);
            ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
            SubtitleStep step(run, clips, regions);
            EXPECT_FALSE(step.check());
            EXPECT_EQ(run.outcome(), kMuxParameterWrong);
            ASSERT_GE(view.log.size(), 2u);
            EXPECT_EQ(view.log[view.log.size() - 2].rfind(c.says, 0), 0u) << view.log[view.log.size() - 2];
        }
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
        SubtitleStep step(run, clips, regions);
        EXPECT_FALSE(step.run());
        EXPECT_EQ(run.outcome(), kMuxParameterWrong);
        EXPECT_EQ(view.log[view.log.size() - 2].rfind(c.says, 0), 0u) << view.log[view.log.size() - 2];
        EXPECT_FALSE(view.logged("OutputVOB_0.vob <<<< Tom & Jerry.srt"));
        EXPECT_EQ(readFile(vob), before);
    }
}

// The subtitle pictures spumux draws for an SRT file in the given region,
// extracted again with spuunmux: the control file and the first picture.
struct Extracted {
    std::string xml, picture;
};

TEST_F(SubtitleStepTest, Utf8TextLooksLikeTheSameTextInTheRegionsCharacterSet)
{
    const std::string original = root + "/original.vob";
    fs::copy_file(vob, original);
    auto muxAndExtract = [&](const std::string &bytes, int region, int32_t start) {
        fs::copy_file(original, vob, fs::copy_options::overwrite_existing);
        std::ofstream(srt, std::ios::binary | std::ios::trunc) << bytes;
        clips[0].subtitleLanguageIndex = region;
        clips[0].duration = 10;
        clips[0].setTimes(start, 10);
        ProductionRun run(view, folders);
        EXPECT_TRUE(run.PrepareRun(RunChoices{false}));
        SubtitleStep step(run, clips, regions);
        EXPECT_TRUE(step.run()) << view.log.back();
        const std::string prefix = root + "/spu" + std::to_string(region) + "_" + std::to_string(start);
        const auto result = corvane_test::run_command({"spuunmux", "-o", prefix, vob});
        EXPECT_EQ(result.status, 0) << result.output;
        return Extracted{readFile(prefix + ".xml"), readFile(prefix + "00000.png")};
    };
    struct Case {
        const char *name;
        std::string utf8, legacy;
        int region;
    } const cases[] = {
        {"French", "Caf\xC3\xA9 cr\xC3\xA8me", "Caf\xE9 cr\xE8me", 3},
        {"Chinese", "\xE4\xBD\xA0\xE5\xA5\xBD", "\xC4\xE3\xBA\xC3", 4},
    };
    for (const Case &c : cases) {
        // The UTF-8 file's cue lies 2 s into the source; the clip starts there.
        const Extracted utf8 =
            muxAndExtract("\xEF\xBB\xBF" "1\r\n00:00:02,200 --> 00:00:02,900\r\n" + c.utf8 + "\r\n", c.region, 2);
        const Extracted legacy = muxAndExtract("1\n00:00:00,200 --> 00:00:00,900\n" + c.legacy + "\n", c.region, 0);
        ASSERT_FALSE(utf8.picture.empty()) << c.name << "\n" << utf8.xml;
        EXPECT_EQ(utf8.picture, legacy.picture) << c.name;
        EXPECT_NE(utf8.xml.find("start=\"00:00:00.20\""), std::string::npos) << c.name << "\n" << utf8.xml;
    }
}

TEST_F(SubtitleStepTest, MuxAddsASubpictureStream)
{
    ProductionRun run(view, folders);
    ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
    SubtitleStep step(run, clips, regions);
    ASSERT_TRUE(step.run()) << view.log.back();
    EXPECT_TRUE(view.logged("Start to mux subtitle to VOB file >>>"));
    EXPECT_EQ(streams(vob, "dvd_subtitle"), 1);
    EXPECT_TRUE(step.muxed(0));
    EXPECT_FALSE(fs::exists(root + "/OutputVOB_0_srt.vob"));
    EXPECT_EQ(clips[0].vobFile, vob);
}

TEST_F(SubtitleStepTest, FailedMuxKeepsTheVob)
{
    const std::string before = readFile(vob);
    MuxPaths paths{vob, root + "/OutputVOB_0_srt.vob", root + "/no_such_control.xml"};
    EXPECT_EQ(RunSpumux(folders.programFolder, paths), 0);
    EXPECT_EQ(readFile(vob), before);
    EXPECT_FALSE(fs::exists(paths.output));

    const std::string empty = root + "/nolib/";
    fs::create_directories(empty);
    EXPECT_EQ(RunSpumux(empty, paths), 2);
    EXPECT_EQ(readFile(vob), before);
}

TEST_F(SubtitleStepTest, StepOutcomes)
{
    {
        // An empty VOB: spumux writes nothing, and the log says which files it failed on.
        std::ofstream(vob, std::ios::trunc);
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
        SubtitleStep step(run, clips, regions);
        EXPECT_FALSE(step.run());
        EXPECT_EQ(run.outcome(), kMuxProcessWrong);
        EXPECT_TRUE(view.logged("spumux could not mux Tom & Jerry.srt into OutputVOB_0.vob."));
    }
    {
        folders.programFolder = root + "/nolib/";
        fs::create_directories(folders.programFolder);
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
        SubtitleStep step(run, clips, regions);
        EXPECT_FALSE(step.run());
        EXPECT_EQ(run.outcome(), kMuxProcessWrong);
        EXPECT_TRUE(view.logged("The authoring library libdvdauthor.so is missing or incomplete."));
    }
    {
        clips[0].subtitleFile = root + "/gone.srt";
        ProductionRun run(view, folders);
        ASSERT_TRUE(run.PrepareRun(RunChoices{false}));
        SubtitleStep step(run, clips, regions);
        EXPECT_FALSE(step.run());
        EXPECT_EQ(run.outcome(), kMuxParameterWrong);
        EXPECT_EQ(view.log.back(), "<<< Mux parameter wrong");
        EXPECT_TRUE(view.logged("Subtitle file " + root + "/gone.srt does not exist."));
    }
}

} // namespace
} // namespace vt::production
