#include "plugins/smde/utf16_text.h"

namespace smde {

namespace {

void appendUtf8(std::string *out, char32_t c)
{
    if (c < 0x80) {
        *out += static_cast<char>(c);
    } else if (c < 0x800) {
        *out += static_cast<char>(0xC0 | (c >> 6));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out += static_cast<char>(0xE0 | (c >> 12));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (c >> 18));
        *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

bool utf16ToUtf8(const char16_t *s, size_t maxUnits, std::string *out, size_t *unitsRead)
{
    out->clear();
    if (!s)
        return false;
    for (size_t i = 0; i < maxUnits; ++i) {
        char16_t u = s[i];
        if (u == 0) {
            if (unitsRead)
                *unitsRead = i + 1;
            return true;
        }
        char32_t c = u;
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < maxUnits && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            c = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (static_cast<char32_t>(s[i + 1]) - 0xDC00);
            ++i;
        } else if (u >= 0xD800 && u < 0xE000) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return false;
}

bool utf16ListToUtf8(const char16_t *list, size_t maxUnits, std::vector<std::string> *out)
{
    out->clear();
    if (!list)
        return false;
    for (size_t at = 0; at < maxUnits;) {
        if (list[at] == 0)
            return true;
        std::string text;
        size_t used = 0;
        if (!utf16ToUtf8(list + at, maxUnits - at, &text, &used))
            break;
        out->push_back(text);
        at += used;
    }
    out->clear();
    return false;
}

}  // namespace smde
