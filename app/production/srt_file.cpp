#include "app/production/srt_file.h"

#include "app/production/utf8_text.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace vt::production {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr size_t kQuotedLength = 60;

void appendUtf8(std::string &out, uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 after its byte-order mark; unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    auto unit = [&](size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<uint32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        appendUtf8(out, code);
    }
    return out;
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(begin, end - begin));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        begin = end + 1;
    }
    return lines;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

bool isBlank(const std::string &line)
{
    return std::all_of(line.begin(), line.end(), isSpace);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isCueNumber(const std::string &line)
{
    size_t first = 0, last = line.size();
    while (first < last && isSpace(line[first]))
        ++first;
    while (last > first && isSpace(line[last - 1]))
        --last;
    return first < last && std::all_of(line.begin() + first, line.begin() + last, isDigit);
}

// Reads up to maxDigits digits (at least one) at pos.
bool readNumber(std::string_view text, size_t &pos, size_t maxDigits, int64_t &value, size_t *count = nullptr)
{
    size_t digits = 0;
    value = 0;
    while (pos < text.size() && isDigit(text[pos]) && digits < maxDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (count)
        *count = digits;
    return digits > 0;
}

// "H:MM:SS,mmm" (or '.' before the milliseconds) at pos.
bool readTimestamp(std::string_view text, size_t &pos, int64_t &ms)
{
    int64_t hours = 0, minutes = 0, seconds = 0, fraction = 0;
    size_t fractionDigits = 0;
    if (!readNumber(text, pos, 6, hours) || pos >= text.size() || text[pos++] != ':')
        return false;
    const size_t minutesAt = pos;
    if (!readNumber(text, pos, 2, minutes) || pos - minutesAt != 2 || minutes > 59 || pos >= text.size() ||
        text[pos++] != ':')
        return false;
    const size_t secondsAt = pos;
    if (!readNumber(text, pos, 2, seconds) || pos - secondsAt != 2 || seconds > 59 || pos >= text.size() ||
        (text[pos] != ',' && text[pos] != '.'))
        return false;
    ++pos;
    if (!readNumber(text, pos, 3, fraction, &fractionDigits))
        return false;
    for (size_t d = fractionDigits; d < 3; ++d)
        fraction *= 10;
    ms = ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction;
    return true;
}

bool readTimingLine(const std::string &line, int64_t &startMs, int64_t &endMs)
{
    size_t pos = 0;
    auto skipSpaces = [&] {
        while (pos < line.size() && isSpace(line[pos]))
            ++pos;
    };
    skipSpaces();
    if (!readTimestamp(line, pos, startMs))
        return false;
    skipSpaces();
    if (line.compare(pos, 3, "-->") != 0)
        return false;
    pos += 3;
    skipSpaces();
    if (!readTimestamp(line, pos, endMs))
        return false;
    // Position hints ("X1:…") may follow after a space.
    return pos == line.size() || isSpace(line[pos]);
}

bool isTimingLine(const std::string &line)
{
    int64_t start = 0, end = 0;
    return readTimingLine(line, start, end);
}

std::string quoted(const std::string &line)
{
    if (line.size() <= kQuotedLength)
        return "\"" + line + "\"";
    return "\"" + line.substr(0, kQuotedLength) + "...\"";
}

std::string formatTime(int64_t ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000));
    return text;
}

} // namespace

SrtReadResult ParseSrt(std::string_view bytes)
{
    SrtReadResult result;
    std::string text;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        text = bytes.substr(kUtf8Bom.size());
        result.utf8 = true;
    } else if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                     (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        text = utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
        result.utf8 = true;
    } else {
        text = bytes;
        result.utf8 = IsValidUtf8(text);
    }

    const std::vector<std::string> lines = splitLines(text);
    auto fail = [&](size_t index, const std::string &problem) {
        result.cues.clear();
        result.errorLine = static_cast<int>(index + 1);
        result.error = problem;
        return result;
    };
    size_t i = 0;
    while (i < lines.size()) {
        if (isBlank(lines[i])) {
            ++i;
            continue;
        }
        if (isCueNumber(lines[i])) {
            if (i + 1 >= lines.size() || !isTimingLine(lines[i + 1]))
                return fail(i + 1 < lines.size() ? i + 1 : i,
                            i + 1 < lines.size() ? "expected a time line such as \"00:00:01,000 --> 00:00:04,000\", found " +
                                                       quoted(lines[i + 1])
                                                 : std::string("the file ends after a cue number"));
            ++i;
        }
        SrtCue cue;
        if (!readTimingLine(lines[i], cue.startMs, cue.endMs))
            return fail(i, "expected a cue number or a time line such as \"00:00:01,000 --> 00:00:04,000\", found " +
                               quoted(lines[i]));
        if (cue.endMs < cue.startMs)
            return fail(i, "the cue ends before it starts: " + quoted(lines[i]));
        ++i;
        // The text runs to a blank line, or to the next cue when the blank
        // line is missing.
        while (i < lines.size() && !isBlank(lines[i]) && !isTimingLine(lines[i]) &&
               !(isCueNumber(lines[i]) && i + 1 < lines.size() && isTimingLine(lines[i + 1])))
            cue.lines.push_back(lines[i++]);
        result.cues.push_back(std::move(cue));
    }
    if (result.cues.empty()) {
        result.errorLine = 0;
        result.error = "it holds no subtitles";
    }
    return result;
}

SrtReadResult ReadSrtFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    SrtReadResult result;
    if (!in.is_open()) {
        result.error = "Subtitle file " + path + " can not be read.";
        return result;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    result = ParseSrt(bytes.str());
    if (!result.ok())
        result.error = "Subtitle file " + path +
                       (result.errorLine > 0 ? ", line " + std::to_string(result.errorLine) + ": " : ": ") +
                       result.error + ".";
    return result;
}

std::vector<SrtCue> CuesInRange(const std::vector<SrtCue> &cues, int64_t startMs, int64_t endMs)
{
    std::vector<SrtCue> kept;
    for (const SrtCue &cue : cues) {
        if (cue.endMs <= startMs || (endMs >= 0 && cue.startMs >= endMs))
            continue;
        SrtCue moved = cue;
        moved.startMs = std::max(cue.startMs, startMs) - startMs;
        moved.endMs = (endMs >= 0 ? std::min(cue.endMs, endMs) : cue.endMs) - startMs;
        kept.push_back(std::move(moved));
    }
    return kept;
}

std::string FormatSrt(const std::vector<SrtCue> &cues)
{
    std::string text;
    for (size_t i = 0; i < cues.size(); ++i) {
        text += std::to_string(i + 1) + "\n" + formatTime(cues[i].startMs) + " --> " + formatTime(cues[i].endMs) + "\n";
        for (const std::string &line : cues[i].lines)
            text += line + "\n";
        text += "\n";
    }
    return text;
}

} // namespace vt::production
