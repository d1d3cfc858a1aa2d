#include "platform/ini_file.h"

#include "platform/text_case.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vt {

namespace {

std::string trim(const std::string &text)
{
    const char *space = " \t\r\n\f\v";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(space);
    return text.substr(first, last - first + 1);
}

std::string unquote(const std::string &value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A value that would not read back as written gets a pair of quotes.
std::string quoteForStorage(const std::string &value)
{
    if (value.empty())
        return value;
    const bool padded = value != trim(value);
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front();
    return (padded || quoted) ? "\"" + value + "\"" : value;
}

bool hasLineBreak(const std::string &text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

} // namespace

IniFile::IniFile(std::string path)
    : path_(std::move(path))
{
}

bool IniFile::exists() const
{
    refresh();
    return present_;
}

void IniFile::refresh() const
{
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        lines_.clear();
        present_ = false;
        loaded_ = true;
        size_ = -1;
        return;
    }
    if (loaded_ && present_ && st.st_size == size_ && st.st_ino == inode_
        && st.st_mtim.tv_sec == mtime_.tv_sec && st.st_mtim.tv_nsec == mtime_.tv_nsec)
        return;

    lines_.clear();
    crlf_ = false;
    std::ifstream in(path_, std::ios::binary);
    present_ = static_cast<bool>(in);
    loaded_ = true;
    size_ = st.st_size;
    inode_ = st.st_ino;
    mtime_ = st.st_mtim;
    if (!present_)
        return;

    std::string raw;
    std::string section;
    bool first = true;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
            if (first)
                crlf_ = true;
        }
        if (first && raw.compare(0, 3, "\xEF\xBB\xBF") == 0)
            raw.erase(0, 3);
        first = false;

        Line line;
        line.text = raw;
        const std::string t = trim(raw);
        if (!t.empty() && t.front() == '[') {
            const size_t close = t.find(']');
            section = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            line.isSectionHeader = true;
        } else if (!t.empty() && t.front() != ';') {
            const size_t eq = t.find('=');
            if (eq != std::string::npos) {
                line.key = trim(t.substr(0, eq));
                line.value = unquote(trim(t.substr(eq + 1)));
            }
        }
        line.section = section;
        lines_.push_back(std::move(line));
    }
}

const IniFile::Line *IniFile::find(const std::string &section, const std::string &key) const
{
    refresh();
    const std::string wantSection = trim(section), wantKey = trim(key);
    bool inFirstMatch = false, seenMatch = false;
    for (const Line &line : lines_) {
        if (line.isSectionHeader) {
            const bool match = equalsIgnoreCase(line.section, wantSection);
            // Only the first section of a name counts.
            inFirstMatch = match && !seenMatch;
            seenMatch = seenMatch || match;
            continue;
        }
        if (inFirstMatch && !line.key.empty() && equalsIgnoreCase(line.key, wantKey))
            return &line;
    }
    return nullptr;
}

std::string IniFile::readString(const std::string &section, const std::string &key,
                                const std::string &defaultValue) const
{
    const Line *line = find(section, key);
    return line ? line->value : defaultValue;
}

int64_t IniFile::readInt(const std::string &section, const std::string &key, int64_t defaultValue) const
{
    const Line *line = find(section, key);
    if (!line || line->value.empty())
        return defaultValue;
    const std::string &v = line->value;
    size_t pos = (v[0] == '-' || v[0] == '+') ? 1 : 0;
    if (pos == v.size())
        return defaultValue;
    for (size_t i = pos; i < v.size(); ++i)
        if (v[i] < '0' || v[i] > '9')
            return defaultValue;
    errno = 0;
    char *end = nullptr;
    const long long n = std::strtoll(v.c_str(), &end, 10);
    if (errno == ERANGE)
        return defaultValue;
    return n;
}

bool IniFile::readBool(const std::string &section, const std::string &key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::hasKey(const std::string &section, const std::string &key) const
{
    return find(section, key) != nullptr;
}

std::vector<std::string> IniFile::sections() const
{
    refresh();
    std::vector<std::string> out;
    for (const Line &line : lines_) {
        if (!line.isSectionHeader)
            continue;
        bool seen = false;
        for (const std::string &s : out)
            seen = seen || equalsIgnoreCase(s, line.section);
        if (!seen)
            out.push_back(line.section);
    }
    return out;
}

std::vector<std::string> IniFile::keys(const std::string &section) const
{
    refresh();
    std::vector<std::string> out;
    bool inFirstMatch = false, seenMatch = false;
    for (const Line &line : lines_) {
        if (line.isSectionHeader) {
            const bool match = equalsIgnoreCase(line.section, trim(section));
            inFirstMatch = match && !seenMatch;
            seenMatch = seenMatch || match;
            continue;
        }
        if (!inFirstMatch || line.key.empty())
            continue;
        bool seen = false;
        for (const std::string &k : out)
            seen = seen || equalsIgnoreCase(k, line.key);
        if (!seen)
            out.push_back(line.key);
    }
    return out;
}

std::string IniFile::nameProblem(const std::string &name)
{
    if (trim(name).empty())
        return "the name is empty";
    if (hasLineBreak(name))
        return "the name contains a line break";
    if (name.find_first_of("=[]") != std::string::npos)
        return "the name contains '=', '[' or ']'";
    if (trim(name).front() == ';')
        return "the name starts with ';'";
    return {};
}

bool IniFile::writeString(const std::string &section, const std::string &key, const std::string &value)
{
    error_.clear();
    if (std::string p = nameProblem(section); !p.empty()) {
        error_ = "Cannot write section \"" + section + "\" to " + path_ + ": " + p;
        return false;
    }
    if (std::string p = nameProblem(key); !p.empty()) {
        error_ = "Cannot write key \"" + key + "\" to " + path_ + ": " + p;
        return false;
    }
    if (hasLineBreak(value)) {
        error_ = "Cannot write the value of \"" + key + "\" to " + path_ + ": it contains a line break";
        return false;
    }

    refresh();
    std::vector<Line> lines = lines_;
    const std::string wantSection = trim(section), wantKey = trim(key);
    const std::string stored = quoteForStorage(value);

    // Where the first section of this name starts and its last non-blank line.
    ptrdiff_t header = -1, lastInSection = -1;
    bool inFirstMatch = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        Line &line = lines[i];
        if (line.isSectionHeader) {
            if (header >= 0 && inFirstMatch)
                break;
            inFirstMatch = equalsIgnoreCase(line.section, wantSection);
            if (inFirstMatch) {
                header = static_cast<ptrdiff_t>(i);
                lastInSection = header;
            }
            continue;
        }
        if (!inFirstMatch)
            continue;
        if (!line.key.empty() && equalsIgnoreCase(line.key, wantKey)) {
            line.text = line.key + "=" + stored;
            line.value = value;
            return save(lines);
        }
        if (!trim(line.text).empty())
            lastInSection = static_cast<ptrdiff_t>(i);
    }

    Line added;
    added.text = wantKey + "=" + stored;
    added.key = wantKey;
    added.value = value;
    if (header >= 0) {
        added.section = lines[header].section;
        lines.insert(lines.begin() + lastInSection + 1, added);
    } else {
        if (!lines.empty() && !trim(lines.back().text).empty())
            lines.push_back(Line {});
        Line head;
        head.text = "[" + wantSection + "]";
        head.section = wantSection;
        head.isSectionHeader = true;
        lines.push_back(head);
        added.section = wantSection;
        lines.push_back(added);
    }
    return save(lines);
}

bool IniFile::writeInt(const std::string &section, const std::string &key, int64_t value)
{
    return writeString(section, key, std::to_string(value));
}

bool IniFile::writeBool(const std::string &section, const std::string &key, bool value)
{
    return writeString(section, key, value ? "1" : "0");
}

bool IniFile::save(const std::vector<Line> &lines)
{
    const std::string eol = crlf_ ? "\r\n" : "\n";
    std::string text;
    for (const Line &line : lines)
        text += line.text + eol;

    // A settings file linked from elsewhere stays a link: the file it
    // points to is the one replaced.
    std::string target = path_;
    struct stat link {};
    if (::lstat(path_.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char *resolved = ::realpath(path_.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    std::string tmp = target + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        error_ = "Cannot write " + path_ + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    const mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);

    size_t done = 0;
    bool ok = true;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    const int savedErrno = errno;
    ::close(fd);
    if (!ok || ::rename(tmp.c_str(), target.c_str()) != 0) {
        error_ = "Cannot write " + path_ + ": " + std::strerror(ok ? errno : savedErrno);
        ::unlink(tmp.c_str());
        return false;
    }
    lines_ = lines;
    loaded_ = false; // stat again on the next read
    return true;
}

} // namespace vt
