#include "plugins/common/decoder_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using plugintest::bytesOf;
using plugintest::Sink;
using plugintest::secondsOf;

class SmdeTest : public plugintest::DecoderTest {
protected:
    // Puts the plug-in and the test library variant (none: no library)
    // side by side in the scratch folder and loads the plug-in from there.
    int32_t loadWith(const std::string &variant)
    {
        namespace fs = std::filesystem;
        const char *bin = std::getenv("VANTOREL_BIN_DIR");
        const char *libs = std::getenv("VANTOREL_TEST_LIB_DIR");
        fs::copy_file(std::string(bin ? bin : VANTOREL_BIN_DIR) + "/libwyv_smde.so", file("libwyv_smde.so"));
        if (!variant.empty())
            fs::copy_file(std::string(libs ? libs : VANTOREL_TEST_LIB_DIR) + "/libqtde_" + variant + ".so",
                          file("libqtde.so"));
        return loadModule(file("libwyv_smde.so"));
    }
    std::vector<std::string> extensionsOf(const char *plugin)
    {
        std::vector<std::string> out;
        zif_object *p = zif_findPluginWithName(ctx, plugin);
        zif_object *list = p ? zif_pluginGetDecodeFileExtensions(p) : nullptr;
        for (zif_list_link *at = list ? zif_listBegin(list) : nullptr; list && at != zif_listEnd(list);) {
            zif_object *s = zif_listNext(list, &at);
            out.push_back(zif_stringGetValue(s));
            zif_release(s);
        }
        zif_release(list);
        zif_release(p);
        return out;
    }
    bool registered(const char *plugin)
    {
        zif_object *p = zif_findPluginWithName(ctx, plugin);
        zif_release(p);
        return p != nullptr;
    }
    // Writes the script and opens it with the "smde.script" decoder.
    int32_t openScript(const std::string &script, zif_object *extra = nullptr)
    {
        std::ofstream(file("clip.smds")) << script;
        return open("smde.script", fileUri("clip.smds"), extra);
    }
    std::string logText()
    {
        zif_object *log = zif_getLog(ctx);
        zif_object *text = zif_logGetText(log);
        std::string s = text ? zif_stringGetValue(text) : "";
        zif_release(text);
        zif_release(log);
        return s;
    }
};

TEST_F(SmdeTest, EachDecoderTypeBecomesAPlugin)
{
    struct Case {
        const char *variant;
        bool script, plain, loose;
        int32_t error;
    };
    const Case cases[] = {
        {"normal", true, true, true, 0},
        {"no_init", true, true, true, 0},
        {"init_fails", false, false, false, 15},
        {"lookup_fails", true, false, true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variant);
        TearDown();
        SetUp();
        EXPECT_EQ(loadWith(c.variant), 1);
        EXPECT_EQ(zif_getLastError(ctx), c.error);
        EXPECT_EQ(registered("smde.script"), c.script);
        EXPECT_EQ(registered("smde.plain"), c.plain);
        EXPECT_EQ(registered("smde.loose"), c.loose);
        if (c.script) {
            EXPECT_EQ(extensionsOf("smde.script"), (std::vector<std::string>{".smds", ".smdt"}));
        }
        // No extensions offered, and a list that never ends, both leave the
        // plug-in without decode extensions.
        EXPECT_TRUE(extensionsOf("smde.plain").empty());
        EXPECT_TRUE(extensionsOf("smde.loose").empty());
    }
}

TEST_F(SmdeTest, AMissingLibraryIsOnlyLogged)
{
    EXPECT_EQ(loadWith(""), 1);
    EXPECT_NE(logText().find("Error loading SMDE plugin libqtde.so"), std::string::npos) << logText();
    EXPECT_FALSE(registered("smde.script"));
}

TEST_F(SmdeTest, DeliversPicturesAndSoundBlocks)
{
    ASSERT_EQ(loadWith("normal"), 1);
    ASSERT_EQ(openScript("picture 5 2 25 1.5\nlinelength 16\nframes 4\nsound 8000 1 16\nblocks 3 1600\n"
                         "blockformat 2 44100 2 24\nduration 0.16\n"),
              1);
    ASSERT_TRUE(decodeAll());
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(outputs[0]->portName, "smde.script.video.0");
    EXPECT_EQ(outputs[1]->portName, "smde.script.audio.0");

    Sink *video = output("video");
    EXPECT_EQ(zif_tableGetInt(video->description, "rgb.offset.b", 0), 16);
    EXPECT_DOUBLE_EQ(zif_tableGetDouble(video->description, "pixelaspectratio", 0), 1.5);
    EXPECT_DOUBLE_EQ(zif_tableGetDouble(video->description, "framerate", 0), 25);
    EXPECT_DOUBLE_EQ(zif_tableGetDouble(video->description, "duration", 0), 0.16);
    ASSERT_EQ(video->data().size(), 4u);
    std::string picture = bytesOf(video->data()[3]);
    ASSERT_EQ(picture.size(), 32u);  // line length x height, padding included
    EXPECT_EQ(static_cast<uint8_t>(picture[0]), 3);
    EXPECT_EQ(static_cast<uint8_t>(picture[16 + 14]), 3 + 14 + 1);
    EXPECT_EQ(static_cast<uint8_t>(picture[15]), 0xEE);
    EXPECT_DOUBLE_EQ(zif_tableGetDouble(video->data()[3], "linedelta", 0), 16);
    EXPECT_DOUBLE_EQ(secondsOf(video->data()[3], "presentationtime"), 0.12);

    Sink *sound = output("audio");
    ASSERT_EQ(sound->data().size(), 3u);
    EXPECT_EQ(bytesOf(sound->data()[1]), std::string(1600, '\1'));
    EXPECT_DOUBLE_EQ(secondsOf(sound->data()[1], "presentationtime"), 0.1);
    EXPECT_EQ(zif_tableGetInt(sound->data()[0], "samplerate", 0), 8000);
    EXPECT_EQ(zif_tableGetInt(sound->data()[0], "channels", 0), 1);
    // The third block's own format travels with it; 24-bit samples are signed.
    EXPECT_EQ(zif_tableGetInt(sound->data()[2], "samplerate", 0), 44100);
    EXPECT_EQ(zif_tableGetInt(sound->data()[2], "channels", 0), 2);
    EXPECT_EQ(zif_tableGetInt(sound->data()[2], "pcm.bitspervalue", 0), 24);
    EXPECT_EQ(zif_tableGetInt(sound->data()[2], "pcm.signed", 0), 1);
}

TEST_F(SmdeTest, SampleSignednessFollowsTheBits)
{
    for (int bits : {8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        TearDown();
        SetUp();
        ASSERT_EQ(loadWith("normal"), 1);
        ASSERT_EQ(openScript("sound 8000 2 " + std::to_string(bits) + "\nblocks 1 64\n"), 1);
        ASSERT_TRUE(decodeAll());
        EXPECT_EQ(zif_tableGetInt(outputs[0]->description, "pcm.signed", -1), bits == 8 ? 0 : 1);
    }
}

TEST_F(SmdeTest, StartAndEndTimesBoundThePictures)
{
    ASSERT_EQ(loadWith("normal"), 1);
    zif_object *t = zif_newTable(ctx);
    zif_tableSetDouble(t, "decodestarttime", 0.08);
    zif_tableSetDouble(t, "decodeendtime", 0.2);
    ASSERT_EQ(openScript("picture 4 2 25 1\nframes 50\n", t), 1);
    zif_release(t);
    ASSERT_TRUE(decodeAll());
    Sink *video = output("video");
    ASSERT_EQ(video->data().size(), 4u);  // 0.08 ... 0.2; the picture at 0.24 ends the stream
    EXPECT_DOUBLE_EQ(secondsOf(video->data()[0], "presentationtime"), 0.08);
    EXPECT_DOUBLE_EQ(secondsOf(video->data()[3], "presentationtime"), 0.2);
    EXPECT_TRUE(video->ended);
}

TEST_F(SmdeTest, ScriptedFailuresGiveTheirErrors)
{
    struct Case {
        const char *name;
        std::string script;
        bool opens;
        int32_t error;       // 0: decodes to the end
        size_t pictures;     // delivered before the end or the failure
    };
    const std::string picture = "picture 4 2 25 1\nframes 6\n";
    const Case cases[] = {
        {"three channels", "sound 8000 3 16\nblocks 2 96\n", false, 29, 0},
        {"open fails", picture + "fail open\n", false, 15, 0},
        {"info fails", picture + "fail info\n", false, 15, 0},
        {"video format fails", picture + "fail videoformat\n", false, 15, 0},
        {"other pixel format", picture + "pixelformat 2\n", false, 15, 0},
        {"huge picture", "picture 100000 2 25 1\n", false, 15, 0},
        {"short lines", picture + "linelength 11\n", true, 34, 0},
        {"null picture", picture + "nullpicture 2\n", true, 34, 2},
        {"next picture fails", picture + "fail nextpicture 3 -7\n", true, 34, 3},
        {"lock fails", picture + "fail lockpicture 1\n", true, 34, 1},
        {"release fails", picture + "fail releasepicture 4\n", true, 34, 4},
        {"sound lock fails", "sound 8000 1 16\nblocks 3 16\nfail locksound 1\n", true, 34, 0},
        {"end of stream early", picture + "fail nextpicture 3 -3\n", true, 0, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        ASSERT_EQ(loadWith("normal"), 1);
        ASSERT_EQ(openScript(c.script), c.opens ? 1 : 0);
        if (!c.opens) {
            EXPECT_EQ(zif_getLastError(ctx), c.error);
            continue;
        }
        EXPECT_EQ(decodeAll(), c.error == 0);
        if (c.error) {
            EXPECT_EQ(zif_getLastError(ctx), c.error);
        }
        if (Sink *video = output("video")) {
            EXPECT_EQ(video->data().size(), c.pictures);
        }
    }
}

TEST_F(SmdeTest, ACommandWithoutUriIs23)
{
    ASSERT_EQ(loadWith("normal"), 1);
    zif_object *command = nullptr;
    ASSERT_TRUE(zif_graphAddNewStaticCommandNode(graph, "read", nullptr, "input", &command));
    uint64_t out = zif_graphFindNodePort(graph, zif_nodeGetID(command), "input");
    zif_release(command);
    decoder = zif_graphDirectCreateNode(graph, "smde.plain", nullptr);
    EXPECT_EQ(zif_graphCreateConnection(graph, out, zif_graphFindNodePort(graph, decoder, "smde.plain.commandin")), 0);
    EXPECT_EQ(zif_getLastError(ctx), 23);
}

}  // namespace
