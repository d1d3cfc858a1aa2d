#include "plugins/ffmpeg/plugin_test_support.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

using fftest::Sink;

class AudioConverter : public fftest::PluginTest {
protected:
    zif_object *ids(std::initializer_list<const char *> names)
    {
        zif_object *list = zif_newList(ctx);
        for (const char *n : names) {
            zif_object *s = zif_newString(ctx, n);
            zif_listAdd(list, s);
            zif_release(s);
        }
        return list;
    }
    // A 16-bit signed sound description (or block, with samples).
    zif_object *sound(int rate, zif_object *channelIds, const std::vector<int16_t> *samples = nullptr)
    {
        zif_object *t = zif_newTable(ctx);
        zif_tableSetString(t, "mediatype", "audio");
        zif_tableSetString(t, "portclass", "data");
        zif_tableSetString(t, "format", "pcm.interleaved");
        zif_tableSetDouble(t, "samplerate", rate);
        zif_tableSetInt(t, "channels", zif_listGetEntryCount(channelIds));
        zif_tableSetInt(t, "pcm.bitspervalue", 16);
        zif_tableSetInt(t, "pcm.signed", 1);
        zif_tableSet(t, "channelids", channelIds);
        if (samples)
            zif_tableSetData(t, "data", samples->data(), static_cast<int32_t>(samples->size() * 2));
        return t;
    }
    // source -> direct-created converter -> sink asking for wanted.
    Sink *convert(zif_object *description, std::vector<zif_object *> blocks, zif_object *wanted, bool *worked)
    {
        uint64_t out = 0, in = 0;
        addSource(description, std::move(blocks), &out);
        Sink *s = addSink(wanted, &in);
        uint64_t node = zif_graphDirectCreateNode(graph, "ffmpeg.audioconvert", nullptr);
        EXPECT_NE(node, 0u);
        EXPECT_EQ(zif_graphCreateConnection(graph, zif_graphFindNodePort(graph, node, "ffmpeg.audioconvert.out"), in), 1);
        EXPECT_EQ(zif_graphCreateConnection(graph, out, zif_graphFindNodePort(graph, node, "ffmpeg.audioconvert.in")), 1);
        *worked = runToEnd();
        return s;
    }
    static std::string allBytes(const Sink *s)
    {
        std::string all;
        for (zif_object *sample : s->samples)
            all += fftest::bytesOf(sample, "data");
        return all;
    }
};

TEST_F(AudioConverter, StereoToMono8BitResamplesToTheExactCountAfterFlushing)
{
    zif_object *stereo = ids({"left", "right"});
    std::vector<int16_t> silence(static_cast<size_t>(24000) * 2, 0);
    // Two half-second blocks: a second at 48 kHz; the second block ends the stream.
    std::vector<zif_object *> blocks = {sound(48000, stereo, &silence), sound(48000, stereo, &silence)};
    zif_tableSetInt(blocks[1], "endofstream", 1);
    zif_object *desc = sound(48000, stereo);
    zif_object *wanted = table({{"channels", 1}, {"samplerate", 44100}, {"pcm.bitspervalue", 8}, {"pcm.signed", 0}});
    zif_tableSetString(wanted, "mediatype", "audio");
    zif_tableSetString(wanted, "format", "pcm.interleaved");
    bool worked = false;
    Sink *s = convert(desc, blocks, wanted, &worked);
    ASSERT_TRUE(worked) << zif_getLastError(ctx);
    ASSERT_TRUE(s->ended);
    std::string bytes = allBytes(s);
    EXPECT_EQ(bytes.size(), 44100u);
    EXPECT_EQ(bytes.find_first_not_of('\x80'), std::string::npos);
    zif_object *last = s->samples.back();
    EXPECT_EQ(zif_tableGetInt(last, "endofstream", 0), 1);
    EXPECT_DOUBLE_EQ(zif_tableGetDouble(last, "samplerate", 0), 44100);
    EXPECT_EQ(zif_tableGetInt(last, "pcm.bitspervalue", 0), 8);
    zif_object *center = ids({"center"});
    zif_object *got = zif_tableGet(last, "channelids");
    EXPECT_TRUE(zif_valueEquals(got, center));
    for (zif_object *o : {stereo, desc, wanted, center, got})
        zif_release(o);
}

TEST_F(AudioConverter, SurroundToStereoKeepsEveryChannel)
{
    const char *names[] = {"left", "center", "right", "leftsurround", "rightsurround", "lowfreq"};
    for (int loud = 0; loud < 6; ++loud) {
        TearDown();
        SetUp();
        zif_object *surround = ids({"left", "center", "right", "leftsurround", "rightsurround", "lowfreq"});
        std::vector<int16_t> block(static_cast<size_t>(4800) * 6, 0);
        for (size_t f = 0; f < 4800; ++f)
            block[f * 6 + static_cast<size_t>(loud)] = static_cast<int16_t>(8000 * std::sin(f * 2 * M_PI * 100 / 48000));
        zif_object *desc = sound(48000, surround);
        zif_object *wanted = table({{"channels", 2}});
        zif_tableSetString(wanted, "mediatype", "audio");
        zif_object *sample = sound(48000, surround, &block);
        zif_tableSetInt(sample, "endofstream", 1);
        bool worked = false;
        Sink *s = convert(desc, {sample}, wanted, &worked);
        ASSERT_TRUE(worked) << names[loud] << " error " << zif_getLastError(ctx);
        std::string bytes = allBytes(s);
        ASSERT_GE(bytes.size(), 4800u * 4 - 64) << names[loud];
        double energy = 0;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            double v = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
            energy += v * v;
        }
        double input = 4800.0 * 8000 * 8000 / 2;
        EXPECT_GT(energy, input * 0.4) << names[loud];
        for (zif_object *o : {surround, desc, wanted})
            zif_release(o);
    }
}

TEST_F(AudioConverter, MatchingFormatPassesTheSampleItself)
{
    zif_object *stereo = ids({"left", "right"});
    std::vector<int16_t> block(960, 7);
    zif_object *sample = sound(48000, stereo, &block);
    zif_object *desc = sound(48000, stereo);
    zif_object *wanted = sound(48000, stereo);
    zif_object *rates = zif_newList(ctx);
    for (int r : {44100, 48000}) {
        zif_object *n = zif_newInt(ctx, r);
        zif_listAdd(rates, n);
        zif_release(n);
    }
    zif_tableSet(wanted, "samplerate", rates);
    zif_tableSetInt(sample, "endofstream", 1);
    bool worked = false;
    Sink *s = convert(desc, {zif_addRef(sample)}, wanted, &worked);
    ASSERT_TRUE(worked);
    ASSERT_EQ(s->samples.size(), 1u);
    EXPECT_EQ(s->samples[0], sample);
    for (zif_object *o : {stereo, sample, desc, wanted, rates})
        zif_release(o);
}

TEST_F(AudioConverter, MoreThanSixteenOutputChannelsFail)
{
    zif_object *mono = ids({"center"});
    zif_object *many = zif_newList(ctx);
    for (int i = 0; i < 17; ++i) {
        zif_object *n = zif_newString(ctx, ("aux" + std::to_string(i)).c_str());
        zif_listAdd(many, n);
        zif_release(n);
    }
    zif_object *wanted = zif_newTable(ctx);
    zif_tableSetString(wanted, "mediatype", "audio");
    zif_tableSet(wanted, "channelids", many);
    std::vector<int16_t> block(480, 0);
    zif_object *desc = sound(48000, mono);
    bool worked = true;
    convert(desc, {sound(48000, mono, &block)}, wanted, &worked);
    EXPECT_FALSE(worked);
    EXPECT_EQ(zif_getLastError(ctx), 14);
    for (zif_object *o : {mono, many, wanted, desc})
        zif_release(o);
}

}  // namespace
