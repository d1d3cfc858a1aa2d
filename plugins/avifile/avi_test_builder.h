// Builds small AVI files byte by byte for tests: one raw 24-bit video
// stream and optionally one sound stream with a given format block, a
// 'movi' list and an 'idx1' index, with hooks to damage any header field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace avitest {

struct Bytes {
    std::string b;
    void u16(uint32_t v) { b += static_cast<char>(v & 0xFF), b += static_cast<char>((v >> 8) & 0xFF); }
    void u32(uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); }
    void tag(const char *t) { b.append(t, 4); }
    void chunk(const char *id, const std::string &data, uint32_t sizeOverride = 0)
    {
        tag(id);
        u32(sizeOverride ? sizeOverride : static_cast<uint32_t>(data.size()));
        b += data;
        if (data.size() & 1)
            b += '\0';
    }
    void list(const char *type, const std::string &data, const char *id = "LIST")
    {
        tag(id);
        u32(static_cast<uint32_t>(data.size() + 4));
        tag(type);
        b += data;
    }
};

struct AviSpec {
    int width = 4, height = 4;
    int frames = 3;
    uint32_t videoRate = 25, videoScale = 1;
    int32_t frameRectWidth = -1;          // -1: width
    int32_t bitmapWidth = -1;             // -1: width
    std::string soundFormat;              // empty: no sound stream
    uint32_t soundRate = 8000, soundScale = 1, soundSampleSize = 0;
    std::vector<std::string> soundChunks;
    uint32_t strfSizeOverride = 0;        // of the video 'strf'
    uint32_t idx1SizeOfFirstFrame = 0;    // 0: the real size
};

// A PCM wave format block: tag 1, channels, rate, block alignment; 14
// bytes leaves out bits per sample and extra size.
inline std::string pcmFormat(int channels, uint32_t rate, int bits, size_t size = 18)
{
    Bytes f;
    f.u16(1), f.u16(static_cast<uint32_t>(channels)), f.u32(rate);
    f.u32(rate * static_cast<uint32_t>(channels * bits / 8)), f.u16(static_cast<uint32_t>(channels * bits / 8));
    f.u16(static_cast<uint32_t>(bits)), f.u16(0);
    return f.b.substr(0, size);
}

// The picture of frame n: every byte is n * 16 + its position in the line.
inline std::string rawFrame(const AviSpec &s, int n)
{
    std::string f;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width * 3; ++x)
            f += static_cast<char>(n * 16 + x + y);
    return f;
}

inline std::string streamHeader(const char *type, const char *handler, uint32_t scale, uint32_t rate, uint32_t length,
                                uint32_t sampleSize, int32_t w, int32_t h)
{
    Bytes h0;
    h0.tag(type), h0.tag(handler), h0.u32(0), h0.u32(0), h0.u32(0);
    h0.u32(scale), h0.u32(rate), h0.u32(0), h0.u32(length), h0.u32(0), h0.u32(0xFFFFFFFF), h0.u32(sampleSize);
    h0.u16(0), h0.u16(0), h0.u16(static_cast<uint32_t>(w)), h0.u16(static_cast<uint32_t>(h));
    return h0.b;
}

inline std::string buildAvi(const AviSpec &s)
{
    int32_t rectW = s.frameRectWidth >= 0 ? s.frameRectWidth : s.width;
    Bytes bih;
    bih.u32(40), bih.u32(static_cast<uint32_t>(s.bitmapWidth >= 0 ? s.bitmapWidth : s.width));
    bih.u32(static_cast<uint32_t>(s.height)), bih.u16(1), bih.u16(24), bih.u32(0);
    bih.u32(static_cast<uint32_t>(s.width * 3 * s.height)), bih.u32(0), bih.u32(0), bih.u32(0), bih.u32(0);
    Bytes avih;
    avih.u32(40000);
    for (int i = 0; i < 13; ++i)
        avih.u32(0);
    Bytes vstrl;
    vstrl.chunk("strh", streamHeader("vids", "\0\0\0\0", s.videoScale, s.videoRate, static_cast<uint32_t>(s.frames), 0,
                                     rectW, s.height));
    vstrl.chunk("strf", bih.b, s.strfSizeOverride);
    Bytes hdrl;
    hdrl.chunk("avih", avih.b);
    hdrl.list("strl", vstrl.b);
    if (!s.soundFormat.empty()) {
        uint32_t length = 0;
        for (const std::string &c : s.soundChunks)
            length += s.soundSampleSize ? static_cast<uint32_t>(c.size()) / s.soundSampleSize : 1;
        Bytes astrl;
        astrl.chunk("strh", streamHeader("auds", "\0\0\0\0", s.soundScale, s.soundRate, length, s.soundSampleSize, 0, 0));
        astrl.chunk("strf", s.soundFormat);
        hdrl.list("strl", astrl.b);
    }
    Bytes movi, idx1;
    uint32_t at = 4;
    auto add = [&](const char *id, const std::string &data, uint32_t indexSize) {
        movi.chunk(id, data);
        idx1.tag(id), idx1.u32(0x10), idx1.u32(at), idx1.u32(indexSize);
        at += 8 + static_cast<uint32_t>((data.size() + 1) & ~size_t{1});
    };
    size_t sound = 0;
    for (int n = 0; n < s.frames; ++n) {
        std::string f = rawFrame(s, n);
        add("00db", f, n == 0 && s.idx1SizeOfFirstFrame ? s.idx1SizeOfFirstFrame : static_cast<uint32_t>(f.size()));
        if (sound < s.soundChunks.size())
            add("01wb", s.soundChunks[sound], static_cast<uint32_t>(s.soundChunks[sound].size())), ++sound;
    }
    for (; sound < s.soundChunks.size(); ++sound)
        add("01wb", s.soundChunks[sound], static_cast<uint32_t>(s.soundChunks[sound].size()));
    Bytes body;
    body.list("hdrl", hdrl.b);
    body.list("movi", movi.b);
    body.chunk("idx1", idx1.b);
    Bytes file;
    file.list("AVI ", body.b, "RIFF");
    return file.b;
}

}  // namespace avitest
