#include "plugins/ffmpeg/system_audio_decoder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ffplug::Ac3Header;

TEST(Ac3HeaderTest, ReadsRateAndBitRateFromTheFrameHeader)
{
    struct Case {
        const char *what;
        std::vector<uint8_t> block;
        bool found;
        int sampleRate, bitRate;
    };
    const Case cases[] = {
        {"48 kHz, 192 kbit/s at the start", {0x0B, 0x77, 0x12, 0x34, 0x14, 0x40}, true, 48000, 192000},
        {"44.1 kHz after zero bytes", {0x00, 0x00, 0x0B, 0x77, 0x00, 0x00, 0x40 | 0x1E}, true, 44100, 448000},
        {"32 kHz, 640 kbit/s", {0x0B, 0x77, 0, 0, 0x80 | 37}, true, 32000, 640000},
        {"frame-size code out of range: no bit rate", {0x0B, 0x77, 0, 0, 0x26}, true, 48000, 0},
        {"reserved sample-rate code", {0x0B, 0x77, 0, 0, 0xC0 | 0x10}, false, 0, 0},
        {"sync word without its three bytes", {0x0B, 0x77, 0, 0}, false, 0, 0},
        {"no sync word", {0x0B, 0x00, 0x77, 0x00, 0x14, 0, 0}, false, 0, 0},
        {"empty block", {}, false, 0, 0},
    };
    for (const Case &c : cases) {
        Ac3Header h;
        EXPECT_EQ(ffplug::ac3HeaderRead(c.block.data(), c.block.size(), &h), c.found) << c.what;
        if (c.found) {
            EXPECT_EQ(h.sampleRate, c.sampleRate) << c.what;
            EXPECT_EQ(h.bitRate, c.bitRate) << c.what;
        }
    }
}

TEST(SystemAudioCapsTest, MapsTheCodecsThatHaveASystemRoute)
{
    struct Case {
        AVCodecID codec;
        int rate, channels, blockAlign;
        const char *caps;
    };
    const Case cases[] = {
        {AV_CODEC_ID_MP2, 0, 0, 0, "audio/mpeg,mpegversion=1,layer=2"},
        {AV_CODEC_ID_MP3, 44100, 2, 0, "audio/mpeg,mpegversion=1,layer=3,rate=44100,channels=2"},
        {AV_CODEC_ID_AC3, 48000, 6, 0, "audio/x-ac3,rate=48000,channels=6"},
        {AV_CODEC_ID_PCM_MULAW, 8000, 1, 0, "audio/x-mulaw,rate=8000,channels=1"},
        {AV_CODEC_ID_PCM_ALAW, 8000, 1, 0, "audio/x-alaw,rate=8000,channels=1"},
        {AV_CODEC_ID_PCM_S16LE, 0, 0, 0, ""},
        {AV_CODEC_ID_ADPCM_MS, 22050, 1, 1024, "audio/x-adpcm,layout=microsoft,rate=22050,channels=1,block_align=1024"},
        {AV_CODEC_ID_VORBIS, 44100, 2, 0, ""},
    };
    for (const Case &c : cases) {
        AVCodecParameters *par = avcodec_parameters_alloc();
        par->codec_type = AVMEDIA_TYPE_AUDIO;
        par->codec_id = c.codec;
        par->sample_rate = c.rate;
        par->block_align = c.blockAlign;
        if (c.channels)
            av_channel_layout_default(&par->ch_layout, c.channels);
        EXPECT_EQ(ffplug::systemAudioCaps(par), c.caps) << avcodec_get_name(c.codec);
        avcodec_parameters_free(&par);
    }
}

}  // namespace
