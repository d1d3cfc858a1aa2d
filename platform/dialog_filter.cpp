#include "platform/dialog_filter.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace vt {

namespace {

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::stringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

std::string trim(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string caseInsensitivePattern(const std::string &pattern)
{
    std::string out;
    for (const char c : pattern) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalpha(u) && u < 0x80) {
            out += '[';
            out += static_cast<char>(std::tolower(u));
            out += static_cast<char>(std::toupper(u));
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::vector<std::string> qtFileDialogFilters(const std::string &profileFilter)
{
    const std::vector<std::string> parts = split(profileFilter, '|');
    std::vector<std::string> out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::vector<std::string> patterns;
        for (const std::string &raw : split(parts[i + 1], ';')) {
            const std::string pattern = trim(raw);
            if (pattern.empty())
                continue;
            const std::string converted = caseInsensitivePattern(pattern);
            bool seen = false;
            for (const std::string &p : patterns)
                seen = seen || p == converted;
            if (!seen)
                patterns.push_back(converted);
        }
        if (patterns.empty())
            continue;
        std::string entry = trim(parts[i]) + " (";
        for (size_t p = 0; p < patterns.size(); ++p)
            entry += (p ? " " : "") + patterns[p];
        entry += ")";
        out.push_back(entry);
    }
    return out;
}

std::string qtFileDialogFilter(const std::string &profileFilter)
{
    std::string out;
    for (const std::string &entry : qtFileDialogFilters(profileFilter))
        out += (out.empty() ? "" : ";;") + entry;
    return out;
}

} // namespace vt
