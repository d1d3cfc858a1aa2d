#include "plugins/avifile/codec_lookup.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace avifile {

namespace {

uint16_t le16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t *p) { return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24; }

constexpr uint32_t kBitmapRgb = 0, kBitmapBitfields = 3;
constexpr uint16_t kWavePcm = 1, kWaveFloat = 3, kWaveExtensible = 0xFFFE;

AVCodecID lookUp(const AVCodecTag *table, uint32_t tag)
{
    const AVCodecTag *tables[] = {table, nullptr};
    return av_codec_get_id(tables, tag);
}

}  // namespace

BitmapHeader bitmapHeaderOf(const std::vector<uint8_t> &f)
{
    BitmapHeader h;
    if (f.size() >= 40) {
        h.width = static_cast<int32_t>(le32(&f[4]));
        h.height = static_cast<int32_t>(le32(&f[8]));
        h.bitCount = le16(&f[14]);
        h.compression = le32(&f[16]);
        h.size = le32(&f[0]);
        h.colorsUsed = le32(&f[32]);
    }
    return h;
}

AVCodecID videoCodecOf(const BitmapHeader &header, uint32_t handler)
{
    if (header.compression == kBitmapRgb || header.compression == kBitmapBitfields)
        return AV_CODEC_ID_RAWVIDEO;
    AVCodecID id = lookUp(avformat_get_riff_video_tags(), header.compression);
    return id != AV_CODEC_ID_NONE ? id : lookUp(avformat_get_riff_video_tags(), handler);
}

WaveFormat waveFormatOf(const std::vector<uint8_t> &f)
{
    WaveFormat w;
    if (f.size() >= 18) {
        w.tag = le16(&f[0]);
        w.channels = le16(&f[2]);
        w.samplesPerSecond = le32(&f[4]);
        w.bytesPerSecond = le32(&f[8]);
        w.blockAlign = le16(&f[12]);
        w.bitsPerSample = le16(&f[14]);
        w.extraSize = le16(&f[16]);
    }
    return w;
}

AVCodecID soundCodecOf(const std::vector<uint8_t> &f)
{
    WaveFormat w = waveFormatOf(f);
    uint16_t tag = w.tag;
    // WAVEFORMATEXTENSIBLE: the sub-format GUID starts with the plain tag.
    if (tag == kWaveExtensible && w.extraSize >= 22 && f.size() >= 18 + 22)
        tag = le16(&f[24]);
    if (tag == kWavePcm) {
        switch (w.bitsPerSample) {
        case 8: return AV_CODEC_ID_PCM_U8;
        case 16: return AV_CODEC_ID_PCM_S16LE;
        case 24: return AV_CODEC_ID_PCM_S24LE;
        case 32: return AV_CODEC_ID_PCM_S32LE;
        default: return AV_CODEC_ID_NONE;
        }
    }
    if (tag == kWaveFloat)
        return w.bitsPerSample == 64 ? AV_CODEC_ID_PCM_F64LE : AV_CODEC_ID_PCM_F32LE;
    return lookUp(avformat_get_riff_audio_tags(), tag);
}

std::vector<uint8_t> waveFormatCompleted(const std::vector<uint8_t> &format)
{
    std::vector<uint8_t> f = format;
    size_t given = f.size();
    if (f.size() < 18)
        f.resize(18, 0);
    if (given < 16 && le16(&f[0]) == kWavePcm) {
        // A WAVEFORMAT without bits per sample: a block holds one sample of
        // every channel, so each sample is block alignment / channels bytes.
        uint16_t channels = le16(&f[2]), blockAlign = le16(&f[12]);
        uint16_t bits = channels > 0 ? static_cast<uint16_t>(blockAlign / channels * 8) : 0;
        f[14] = static_cast<uint8_t>(bits & 0xFF);
        f[15] = static_cast<uint8_t>(bits >> 8);
    }
    if (given < 18)
        f[16] = f[17] = 0;
    return f;
}

}  // namespace avifile
