// UTF-8 to UTF-16 and UTF-32. Only well-formed UTF-8 sequences decode; any
// other byte (stray continuation bytes, overlong forms, surrogates, code
// points above U+10FFFF, cut-short sequences) stands alone and is emitted as
// its value sign-extended from 8 bits (0xE9 -> 0xFFE9 / 0xFFFFFFE9).
#include "framework/core/context.h"

#include <cstring>

namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes the code point at text[i], advancing i. An invalid lead byte
// gives its sign-extended value (as uint32_t) and advances by one.
uint32_t decodeNext(const unsigned char *text, size_t length, size_t &i)
{
    unsigned char lead = text[i];
    auto invalid = [&] {
        ++i;
        return static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(lead)));
    };
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int extra;
    uint32_t cp;
    uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, cp = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, cp = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, cp = lead & 0x07u, minimum = 0x10000;
    } else {
        return invalid();
    }
    if (length - i <= static_cast<size_t>(extra))
        return invalid();
    for (int k = 1; k <= extra; ++k) {
        if (!isContinuation(text[i + k]))
            return invalid();
        cp = (cp << 6) | (text[i + k] & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return invalid();
    i += static_cast<size_t>(extra) + 1;
    return cp;
}

template <typename Unit, typename Emit>
Unit *convert(zif_context *context, const char *text, size_t unitsPerByte, Emit emit)
{
    if (!context)
        return nullptr;
    if (!text) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    size_t length = std::strlen(text);
    size_t bytes = (length * unitsPerByte + 1) * sizeof(Unit);
    if (bytes > INT32_MAX) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return nullptr;
    }
    auto *out = static_cast<Unit *>(zif_alloc(context, static_cast<int32_t>(bytes)));
    if (!out)
        return nullptr;
    const auto *in = reinterpret_cast<const unsigned char *>(text);
    size_t o = 0;
    for (size_t i = 0; i < length;)
        emit(out, o, decodeNext(in, length, i));
    out[o] = 0;
    return out;
}

}  // namespace

extern "C" {

zif_char16 *zif_utf8ToUTF16(zif_context *context, const char *text)
{
    // A code point takes one or two units and at least as many bytes.
    return convert<zif_char16>(context, text, 1, [](zif_char16 *out, size_t &o, uint32_t cp) {
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            out[o++] = static_cast<zif_char16>(0xD800 + ((cp - 0x10000) >> 10));
            out[o++] = static_cast<zif_char16>(0xDC00 + (cp & 0x3FF));
        } else {
            out[o++] = static_cast<zif_char16>(cp);
        }
    });
}

uint32_t *zif_utf8ToUTF32(zif_context *context, const char *text)
{
    return convert<uint32_t>(context, text, 1, [](uint32_t *out, size_t &o, uint32_t cp) { out[o++] = cp; });
}

}  // extern "C"
