// A test SMDE library: its decoder types "decode" a small text script that
// states what the file holds and where the decoder should fail. Lines:
//   picture WIDTH HEIGHT RATE ASPECT   a picture stream
//   frames N                           number of pictures (default 10)
//   linelength N                       bytes per line (default WIDTH * 3)
//   nullpicture N                      picture N locks to a null pointer
//   sound RATE CHANNELS BITS           a sound stream
//   blocks N BYTES                     sound blocks and their size
//   blockformat N RATE CHANNELS BITS   blocks from N on report this format
//   duration SECONDS
//   pixelformat N                      what pixel format() returns
//   fail OPERATION [INDEX [RESULT]]    OPERATION (open, info, videoformat,
//                                      audioformat, nextpicture, lockpicture,
//                                      releasepicture, nextsound, locksound)
//                                      fails at unit INDEX with RESULT (-1)
// Pixel bytes of picture n are (n + byte position in the line + line) & 0xFF;
// line padding is 0xEE; every byte of sound block n is n.
// Built in variants: SMDE_TEST_NO_INIT leaves SMDE_Init out,
// SMDE_TEST_INIT_FAILS makes it fail, SMDE_TEST_TYPE_LOOKUP_FAILS makes the
// lookup of type 1 fail.
#include "plugins/smde/smde_interface.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Failure {
    int index = -1;  // -1: every unit
    int result = -1;
};

struct Script {
    bool picture = false, sound = false;
    int width = 0, height = 0;
    double rate = 25, aspect = 1;
    int frames = 10, lineLength = 0, nullPicture = -1;
    int sampleRate = 0, channels = 0, bits = 0;
    int blocks = 0, blockBytes = 0;
    int formatFrom = -1, formatRate = 0, formatChannels = 0, formatBits = 0;
    double duration = 0;
    int pixelFormat = kSmdePixelRgb24;
    std::map<std::string, Failure> failures;

    int failing(const std::string &op, int index) const
    {
        auto it = failures.find(op);
        if (it == failures.end() || (it->second.index >= 0 && it->second.index != index))
            return 0;
        return it->second.result;
    }
};

bool readScript(const std::string &path, Script *s)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "picture")
            s->picture = true, words >> s->width >> s->height >> s->rate >> s->aspect;
        else if (key == "frames")
            words >> s->frames;
        else if (key == "linelength")
            words >> s->lineLength;
        else if (key == "nullpicture")
            words >> s->nullPicture;
        else if (key == "sound")
            s->sound = true, words >> s->sampleRate >> s->channels >> s->bits;
        else if (key == "blocks")
            words >> s->blocks >> s->blockBytes;
        else if (key == "blockformat")
            words >> s->formatFrom >> s->formatRate >> s->formatChannels >> s->formatBits;
        else if (key == "duration")
            words >> s->duration;
        else if (key == "pixelformat")
            words >> s->pixelFormat;
        else if (key == "fail") {
            std::string op;
            Failure f;
            words >> op;
            if (!(words >> f.index))
                f.index = -1;
            if (!(words >> f.result))
                f.result = -1;
            s->failures[op] = f;
        }
    }
    if (s->lineLength == 0)
        s->lineLength = s->width * 3;
    return true;
}

std::string narrow(const char16_t *p)
{
    std::string out;
    for (; p && *p; ++p)
        out += static_cast<char>(*p < 0x80 ? *p : '?');
    return out;
}

struct ScriptDecoder {
    SmdeDecoder table;  // first: the instance pointer is this object
    Script script;
    int picture = -1, block = -1;
    std::vector<uint8_t> bytes;
};

ScriptDecoder *self(SmdeDecoder *d) { return reinterpret_cast<ScriptDecoder *>(d); }

void destroy(SmdeDecoder *d) { delete self(d); }

int32_t info(SmdeDecoder *d, SmdeInfo *i)
{
    const Script &s = self(d)->script;
    if (int r = s.failing("info", -1))
        return r;
    i->flags = (s.picture ? kSmdeHasPicture : 0) | (s.sound ? kSmdeHasSound : 0);
    i->reserved = 0x5A5A5A5A;
    i->duration = s.duration;
    return 0;
}

int32_t videoFormat(SmdeDecoder *d, int32_t *w, int32_t *h, double *rate, double *aspect)
{
    const Script &s = self(d)->script;
    if (int r = s.failing("videoformat", -1))
        return r;
    *w = s.width, *h = s.height, *rate = s.rate, *aspect = s.aspect;
    return 0;
}

int32_t pixelFormat(SmdeDecoder *d) { return self(d)->script.pixelFormat; }

int32_t audioFormat(SmdeDecoder *d, int32_t *rate, int32_t *channels, int32_t *bits)
{
    const Script &s = self(d)->script;
    if (int r = s.failing("audioformat", -1))
        return r;
    *rate = s.sampleRate, *channels = s.channels, *bits = s.bits;
    return 0;
}

int32_t nextPicture(SmdeDecoder *d)
{
    ScriptDecoder *x = self(d);
    if (x->picture + 1 >= x->script.frames)
        return kSmdeEndOfStream;
    ++x->picture;
    return x->script.failing("nextpicture", x->picture);
}

double pictureTime(SmdeDecoder *d) { return self(d)->picture / self(d)->script.rate; }

int32_t lockPicture(SmdeDecoder *d, const uint8_t **data, int32_t *lineLength)
{
    ScriptDecoder *x = self(d);
    const Script &s = x->script;
    if (int r = s.failing("lockpicture", x->picture))
        return r;
    x->bytes.assign(static_cast<size_t>(s.lineLength) * static_cast<size_t>(s.height), 0xEE);
    for (int y = 0; y < s.height; ++y)
        for (int b = 0; b < s.width * 3 && b < s.lineLength; ++b)
            x->bytes[static_cast<size_t>(y * s.lineLength + b)] = static_cast<uint8_t>(x->picture + b + y);
    *data = x->picture == s.nullPicture ? nullptr : x->bytes.data();
    *lineLength = s.lineLength;
    return 0;
}

int32_t releasePicture(SmdeDecoder *d) { return self(d)->script.failing("releasepicture", self(d)->picture); }

int32_t nextSoundBlock(SmdeDecoder *d)
{
    ScriptDecoder *x = self(d);
    if (x->block + 1 >= x->script.blocks)
        return kSmdeEndOfStream;
    ++x->block;
    return x->script.failing("nextsound", x->block);
}

double soundBlockTime(SmdeDecoder *d)
{
    const Script &s = self(d)->script;
    double bytesPerSecond = static_cast<double>(s.sampleRate) * s.channels * s.bits / 8;
    return bytesPerSecond > 0 ? self(d)->block * s.blockBytes / bytesPerSecond : 0;
}

int32_t lockSoundBlock(SmdeDecoder *d, const uint8_t **data, int32_t *size)
{
    ScriptDecoder *x = self(d);
    if (int r = x->script.failing("locksound", x->block))
        return r;
    x->bytes.assign(static_cast<size_t>(x->script.blockBytes), static_cast<uint8_t>(x->block));
    *data = x->bytes.data();
    *size = x->script.blockBytes;
    return 0;
}

int32_t releaseSoundBlock(SmdeDecoder *) { return 0; }

int32_t soundBlockFormat(SmdeDecoder *d, int32_t *rate, int32_t *channels, int32_t *bits)
{
    const Script &s = self(d)->script;
    bool changed = s.formatFrom >= 0 && self(d)->block >= s.formatFrom;
    *rate = changed ? s.formatRate : s.sampleRate;
    *channels = changed ? s.formatChannels : s.channels;
    *bits = changed ? s.formatBits : s.bits;
    return 0;
}

// Decoder types.

struct TestType {
    SmdeDecoderType table;
    const char16_t *name;
    const char16_t *extensions;
};

const char16_t *typeName(SmdeDecoderType *t) { return reinterpret_cast<TestType *>(t)->name; }
const char16_t *typeExtensions(SmdeDecoderType *t) { return reinterpret_cast<TestType *>(t)->extensions; }
int32_t typePrepare(SmdeDecoderType *) { return 7; }  // the result is not read

int32_t typeOpen(SmdeDecoderType *, SmdeDecoder **instance, const char16_t *path, int32_t mode, double start)
{
    auto *x = new ScriptDecoder{};
    if (mode != 1 || !readScript(narrow(path), &x->script) || x->script.failing("open", -1)) {
        delete x;
        return -1;
    }
    x->table = SmdeDecoder{{nullptr}, destroy, info, videoFormat, pixelFormat, audioFormat, {nullptr, nullptr},
                           nextPicture, pictureTime, lockPicture, releasePicture, nextSoundBlock, soundBlockTime,
                           lockSoundBlock, releaseSoundBlock, soundBlockFormat};
    // Start: the first picture at or after the start time.
    if (start > 0 && x->script.picture)
        x->picture = static_cast<int>(std::ceil(start * x->script.rate - 1e-9)) - 1;
    *instance = &x->table;
    return 0;
}

// An extension list that never ends within what a reader may scan.
char16_t unterminated[8192];

TestType types[] = {
    {{{nullptr, nullptr}, typeName, typeExtensions, typePrepare, typeOpen}, u"script", u".smds\0.smdt\0"},
    {{{nullptr, nullptr}, typeName, nullptr, typePrepare, typeOpen}, u"plain", nullptr},
    {{{nullptr, nullptr}, typeName, typeExtensions, typePrepare, typeOpen}, nullptr, u".none\0"},
    {{{nullptr, nullptr}, typeName, typeExtensions, typePrepare, typeOpen}, u"loose", unterminated},
};

}  // namespace

#define SMDE_EXPORT extern "C" __attribute__((visibility("default")))

#if !defined(SMDE_TEST_NO_INIT)
SMDE_EXPORT int32_t SMDE_Init(void)
{
    for (char16_t &c : unterminated)
        c = u'x';
#if defined(SMDE_TEST_INIT_FAILS)
    return 5;
#else
    return 0;
#endif
}
#endif

SMDE_EXPORT int32_t SMDE_Deinit(void) { return 0; }

SMDE_EXPORT int32_t SMDE_GetDecoderTypeCount(void) { return static_cast<int32_t>(sizeof types / sizeof types[0]); }

SMDE_EXPORT int32_t SMDE_GetDecoderType(SmdeDecoderType **type, int32_t index)
{
#if defined(SMDE_TEST_TYPE_LOOKUP_FAILS)
    if (index == 1)
        return -1;
#endif
    if (index < 0 || index >= SMDE_GetDecoderTypeCount())
        return -1;
    // Without SMDE_Init nothing filled the list yet.
    if (unterminated[0] == 0)
        for (char16_t &c : unterminated)
            c = u'x';
    *type = &types[index].table;
    return 0;
}
