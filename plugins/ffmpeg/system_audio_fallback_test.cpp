// Sound through the system decoders instead of libavcodec, forced with the
// test switch: the same number of samples must come out either way.
#include "plugins/ffmpeg/plugin_test_support.h"

#include <cstdlib>
#include <string>

namespace {

class SystemAudioFallback : public fftest::PluginTest {
protected:
    void TearDown() override
    {
        unsetenv("VANTOREL_SYSTEM_AUDIO");
        PluginTest::TearDown();
    }

    // Bytes of sound decoded from name, and its sample rate and channels.
    size_t soundBytes(const std::string &name, int64_t *rate, int64_t *channels)
    {
        zif_release(graph);
        graph = zif_newGraph(ctx, 1);
        uint64_t decoder = 0;
        zif_object *extra = table({{"wantvideo", 0}});
        EXPECT_EQ(connectDecoder(addCommand("file://" + file(name), extra), &decoder), 1)
            << name << ": error " << zif_getLastError(ctx);
        zif_release(extra);
        std::vector<uint64_t> ports = decoderPorts(decoder, "audio");
        if (ports.empty())
            return 0;
        uint64_t in = 0;
        fftest::Sink *sink = addSink(nullptr, &in);
        EXPECT_EQ(zif_graphCreateConnection(graph, ports[0], in), 1) << name << ": error " << zif_getLastError(ctx);
        EXPECT_TRUE(runToEnd()) << name << ": error " << zif_getLastError(ctx);
        size_t bytes = 0;
        for (zif_object *s : sink->data()) {
            bytes += fftest::bytesOf(s, "data").size();
            *rate = zif_tableGetInt(s, "samplerate", 0);
            *channels = zif_tableGetInt(s, "channels", 0);
        }
        return bytes;
    }
};

TEST_F(SystemAudioFallback, GivesAsManySamplesAsLibavcodec)
{
    struct Case {
        const char *codec;
        const char *file;
    };
    const Case cases[] = {
        {"-c:a mp2 -ac 2", "mp2.mkv"},
        {"-c:a libmp3lame -ar 44100", "mp3.mkv"},
        {"-c:a ac3 -ac 2 -ar 48000", "ac3.mkv"},
        {"-c:a pcm_s16le -ac 2", "s16.wav"},
        {"-c:a pcm_mulaw -ar 8000", "mulaw.wav"},
        {"-c:a pcm_alaw -ar 8000", "alaw.wav"},
        {"-c:a adpcm_ima_wav -ar 22050", "ima.wav"},
        {"-c:a adpcm_ms -ar 22050", "ms.wav"},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(clip("-f lavfi -i sine=duration=1 " + std::string(c.codec) + " " + c.file)) << c.file;
        unsetenv("VANTOREL_SYSTEM_AUDIO");
        int64_t rate = 0, channels = 0, systemRate = 0, systemChannels = 0;
        size_t expected = soundBytes(c.file, &rate, &channels);
        setenv("VANTOREL_SYSTEM_AUDIO", "1", 1);
        size_t got = soundBytes(c.file, &systemRate, &systemChannels);
        EXPECT_GT(expected, 0u) << c.file;
        EXPECT_EQ(got, expected) << c.file;
        EXPECT_EQ(systemRate, rate) << c.file;
        EXPECT_EQ(systemChannels, channels) << c.file;
    }
}

TEST_F(SystemAudioFallback, ABlockLargerThanAFeedBufferIsDecoded)
{
    // One PCM packet of 120 000 bytes: 30 000 stereo samples.
    ASSERT_TRUE(clip("-f lavfi -i sine=duration=1:sample_rate=48000 -ac 2 -c:a pcm_s16le -f s16le block.raw"));
    ASSERT_TRUE(clip("-f s16le -ar 48000 -ac 2 -i block.raw -c:a pcm_s16le -frame_size 30000 -f nut block.nut"));
    setenv("VANTOREL_SYSTEM_AUDIO", "1", 1);
    int64_t rate = 0, channels = 0;
    EXPECT_EQ(soundBytes("block.nut", &rate, &channels), 192000u);
    EXPECT_EQ(rate, 48000);
}

}  // namespace
