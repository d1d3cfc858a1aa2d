// SubRip (.srt) subtitle files: reading and checking the cues, moving them
// to a trimmed clip's time line, and writing them back for spumux.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vt::production {

struct SrtCue {
    int64_t startMs = 0, endMs = 0;
    std::vector<std::string> lines;  // the text, one entry per line
    bool operator==(const SrtCue &) const = default;
};

struct SrtReadResult {
    std::vector<SrtCue> cues;
    bool utf8 = false;       // the text is UTF-8 (a byte-order mark, or valid UTF-8)
    std::string error;       // "" when the file can be used
    int errorLine = 0;       // 1-based line of the first problem; 0 for the whole file
    bool ok() const { return error.empty(); }
};

// Parses the bytes of an SRT file. A UTF-8 byte-order mark is dropped; text
// with a UTF-16 byte-order mark is converted to UTF-8. Lines may end in CRLF
// or LF; cue numbers may be missing; times take ',' or '.' before the
// milliseconds and may be followed by position hints. A file without any cue
// is an error.
SrtReadResult ParseSrt(std::string_view bytes);

// Reads and parses a file; the error names the file and the first bad line.
SrtReadResult ReadSrtFile(const std::string &path);

// The cues seen in the kept part [startMs, endMs) of a clip, on the kept
// part's time line: shifted by startMs, cut to the range, cues wholly outside
// dropped. endMs < 0 keeps everything after startMs.
std::vector<SrtCue> CuesInRange(const std::vector<SrtCue> &cues, int64_t startMs, int64_t endMs);

// The cues as an SRT file, numbered from 1.
std::string FormatSrt(const std::vector<SrtCue> &cues);

} // namespace vt::production
