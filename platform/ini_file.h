// An ini file with the semantics of the Windows profile functions.
//
// Section and key names compare without regard to case; the first of
// duplicate sections or keys wins; values are trimmed and lose one pair of
// surrounding quotes; lines may end in CRLF or LF; lines starting with ';'
// are comments. Reads give the default for a missing file, section or key
// and "" for a key that is present with an empty value. Every write replaces
// the key in place (keeping all other lines) or appends it, and replaces the
// file through a temporary file and a rename, so a crash never leaves half a
// file behind.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace vt {

class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string &path() const { return path_; }
    bool exists() const;

    std::string readString(const std::string &section, const std::string &key,
                           const std::string &defaultValue) const;
    // Decimal integer with an optional sign; anything else gives the default.
    int64_t readInt(const std::string &section, const std::string &key, int64_t defaultValue) const;
    // Stored as "1" / "0"; any non-zero integer reads as true.
    bool readBool(const std::string &section, const std::string &key, bool defaultValue) const;

    bool hasKey(const std::string &section, const std::string &key) const;
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(const std::string &section) const;

    // False (file unchanged, error() set) when a name or value would break
    // the file's structure or the file cannot be written.
    bool writeString(const std::string &section, const std::string &key, const std::string &value);
    bool writeInt(const std::string &section, const std::string &key, int64_t value);
    bool writeBool(const std::string &section, const std::string &key, bool value);

    const std::string &error() const { return error_; }

    // Why a section or key name cannot be stored ("" when it can).
    static std::string nameProblem(const std::string &name);

private:
    struct Line {
        std::string text;     // the line as stored, without its line end
        std::string section;  // section it belongs to ("" before the first)
        std::string key;      // key of a key line, "" otherwise
        std::string value;    // value of a key line, trimmed and unquoted
        bool isSectionHeader = false;
    };

    // Re-reads the file when it changed on disk since the last read.
    void refresh() const;
    const Line *find(const std::string &section, const std::string &key) const;
    bool save(const std::vector<Line> &lines);

    std::string path_;
    std::string error_;
    mutable std::vector<Line> lines_;
    mutable bool loaded_ = false;
    mutable bool present_ = false;
    mutable timespec mtime_ {};
    mutable int64_t size_ = -1;
    mutable uint64_t inode_ = 0;
    mutable bool crlf_ = false;
};

} // namespace vt
