#include "platform/text_case.h"

#include <algorithm>

namespace vt {

namespace {

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string asciiLower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), foldAscii);
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

bool lessIgnoreCase(std::string_view a, std::string_view b)
{
    const std::string la = asciiLower(a), lb = asciiLower(b);
    if (la != lb)
        return la < lb;
    return a < b;
}

} // namespace vt
