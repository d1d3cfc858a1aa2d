#include "plugins/avifile/avi_file.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace avifile {

namespace {

uint16_t le16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t *p) { return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint64_t le64(const uint8_t *p) { return le32(p) | static_cast<uint64_t>(le32(p + 4)) << 32; }

constexpr uint32_t kRiff = fourcc("RIFF"), kList = fourcc("LIST");
constexpr uint32_t kIdx1KeyFrame = 0x10, kIdx1List = 0x01;
constexpr uint8_t kIndexOfIndexes = 0, kIndexOfChunks = 1;

// The stream number of a data chunk id "##xx", or -1.
int streamNumberOf(uint32_t id)
{
    int hi = static_cast<int>(id & 0xFF) - '0', lo = static_cast<int>((id >> 8) & 0xFF) - '0';
    return hi >= 0 && hi <= 9 && lo >= 0 && lo <= 9 ? hi * 10 + lo : -1;
}

}  // namespace

AviFile::~AviFile() { close(); }

void AviFile::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    size_ = 0;
    streams_.clear();
    superIndexes_.clear();
    movi_.clear();
}

bool AviFile::readAt(uint64_t at, void *into, uint64_t bytes) const
{
    if (at > size_ || bytes > size_ - at)
        return false;
    auto *p = static_cast<uint8_t *>(into);
    while (bytes > 0) {
        ssize_t got = ::pread(fd_, p, bytes, static_cast<off_t>(at));
        if (got <= 0)
            return false;
        p += got, at += static_cast<uint64_t>(got), bytes -= static_cast<uint64_t>(got);
    }
    return true;
}

bool AviFile::read(const AviChunk &chunk, uint32_t offset, std::vector<uint8_t> *out) const
{
    if (offset > chunk.size)
        return false;
    uint64_t bytes = chunk.size - offset;
    if (chunk.offset > size_ || chunk.offset + offset > size_ || bytes > size_ - chunk.offset - offset)
        return false;
    out->resize(bytes);
    return bytes == 0 || readAt(chunk.offset + offset, out->data(), bytes);
}

bool AviFile::open(const std::string &path, std::string *error)
{
    close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        *error = "cannot open " + path;
        close();
        return false;
    }
    size_ = static_cast<uint64_t>(st.st_size);
    uint8_t head[12];
    if (!readAt(0, head, 12) || le32(head) != kRiff || le32(head + 8) != fourcc("AVI ")) {
        *error = "not an AVI file";
        close();
        return false;
    }
    // The parts: the first 'RIFF' 'AVI ', then any number of 'RIFF' 'AVIX'.
    // A part that runs past the end of a cut file ends with the file.
    Range idx1{0, 0};
    bool haveHeaders = false;
    for (uint64_t at = 0; at + 12 <= size_;) {
        if (!readAt(at, head, 12) || le32(head) != kRiff)
            break;
        uint32_t form = le32(head + 8);
        if ((at == 0) != (form == fourcc("AVI ")) || (at > 0 && form != fourcc("AVIX")))
            break;
        uint64_t end = std::min<uint64_t>(at + 8 + le32(head + 4), size_);
        for (uint64_t p = at + 12; p + 8 <= end;) {
            uint8_t ck[12];
            if (!readAt(p, ck, 8))
                break;
            uint32_t id = le32(ck);
            uint64_t data = p + 8, dataEnd = std::min<uint64_t>(data + le32(ck + 4), end);
            uint32_t listType = id == kList && data + 4 <= dataEnd && readAt(data, ck + 8, 4) ? le32(ck + 8) : 0;
            if (listType == fourcc("hdrl") && at == 0 && !haveHeaders) {
                if (data + le32(ck + 4) > end) {
                    *error = "the header list runs past its part";
                    close();
                    return false;
                }
                if (!parseHeaderList({data + 4, dataEnd}, error)) {
                    close();
                    return false;
                }
                haveHeaders = true;
            } else if (listType == fourcc("movi")) {
                movi_.push_back({data + 4, dataEnd});
            } else if (id == fourcc("idx1") && at == 0) {
                idx1 = {data, dataEnd};
            }
            p = data + le32(ck + 4) + (le32(ck + 4) & 1);
        }
        at += 8 + static_cast<uint64_t>(le32(head + 4)) + (le32(head + 4) & 1);
    }
    if (!haveHeaders || streams_.empty()) {
        *error = "the file has no stream headers";
        close();
        return false;
    }
    indexFromOpenDml();
    auto anyChunks = [this] {
        for (const AviStream &s : streams_)
            if (!s.chunks.empty())
                return true;
        return false;
    };
    auto clearChunks = [this] {
        for (AviStream &s : streams_)
            s.chunks.clear();
    };
    if (!anyChunks() && idx1.end > idx1.begin && !movi_.empty()) {
        clearChunks();
        indexFromIdx1(idx1);
        // 'idx1' covers the first part only; the 'AVIX' parts are walked.
        for (size_t part = 1; part < movi_.size(); ++part)
            walkList(movi_[part], 0);
    }
    if (!anyChunks()) {
        clearChunks();
        indexByWalking();
    }
    return true;
}

bool AviFile::parseHeaderList(Range list, std::string *error)
{
    for (uint64_t p = list.begin; p + 8 <= list.end;) {
        uint8_t ck[12];
        if (!readAt(p, ck, 8))
            break;
        uint32_t id = le32(ck), size = le32(ck + 4);
        uint64_t data = p + 8;
        if (size > list.end - data) {
            *error = "a header chunk runs past its list";
            return false;
        }
        if (id == fourcc("avih") && size >= 4) {
            uint8_t v[4];
            if (readAt(data, v, 4))
                microSecondsPerFrame_ = le32(v);
        } else if (id == kList && size >= 4 && readAt(data, ck + 8, 4) && le32(ck + 8) == fourcc("strl")) {
            if (!parseStreamList({data + 4, data + size}, error))
                return false;
        }
        p = data + size + (size & 1);
    }
    return true;
}

bool AviFile::parseStreamList(Range list, std::string *error)
{
    AviStream s;
    Range superIndex{0, 0};
    bool haveHeader = false;
    for (uint64_t p = list.begin; p + 8 <= list.end;) {
        uint8_t ck[8];
        if (!readAt(p, ck, 8))
            break;
        uint32_t id = le32(ck), size = le32(ck + 4);
        uint64_t data = p + 8;
        if (size > list.end - data) {
            *error = "a stream header chunk runs past its list";
            return false;
        }
        if (id == fourcc("strh")) {
            uint8_t h[56] = {};
            if (size < 48 || !readAt(data, h, std::min<uint32_t>(size, 56))) {
                *error = "short stream header";
                return false;
            }
            s.type = le32(h), s.handler = le32(h + 4);
            s.scale = le32(h + 20), s.rate = le32(h + 24), s.start = le32(h + 28), s.length = le32(h + 32);
            s.sampleSize = le32(h + 44);
            if (size >= 56) {
                auto side = [&](int o) { return static_cast<int16_t>(le16(h + o)); };
                s.frameWidth = side(52) - side(48), s.frameHeight = side(54) - side(50);
            }
            haveHeader = true;
        } else if (id == fourcc("strf")) {
            s.format.resize(size);
            if (size > 0 && !readAt(data, s.format.data(), size)) {
                *error = "unreadable stream format";
                return false;
            }
        } else if (id == fourcc("indx")) {
            superIndex = {data, data + size};
        }
        p = data + size + (size & 1);
    }
    if (!haveHeader) {
        *error = "a stream list without header";
        return false;
    }
    streams_.push_back(std::move(s));
    superIndexes_.push_back(superIndex);
    return true;
}

void AviFile::addChunk(uint32_t id, uint64_t offset, uint32_t size, bool keyFrame)
{
    int n = streamNumberOf(id);
    if (n >= 0 && n < static_cast<int>(streams_.size()))
        streams_[static_cast<size_t>(n)].chunks.push_back({offset, size, keyFrame});
}

// 'indx' of every stream: a super index pointing to 'ix##' standard
// indexes, whose entries give the data offset from a base and the size, the
// top bit of the size marking a frame that is not a key frame.
void AviFile::indexFromOpenDml()
{
    for (size_t i = 0; i < streams_.size(); ++i) {
        Range r = superIndexes_[i];
        uint8_t h[24];
        if (r.end - r.begin < 24 || !readAt(r.begin, h, 24) || h[3] != kIndexOfIndexes || le16(h) != 4)
            continue;
        uint64_t entries = std::min<uint64_t>(le32(h + 4), (r.end - r.begin - 24) / 16);
        for (uint64_t e = 0; e < entries; ++e) {
            uint8_t entry[16], ix[32];
            if (!readAt(r.begin + 24 + e * 16, entry, 16))
                break;
            uint64_t at = le64(entry);
            if (!readAt(at, ix, 32) || ix[8 + 3] != kIndexOfChunks || le16(ix + 8) != 2)
                continue;
            uint64_t ixEnd = std::min<uint64_t>(at + 8 + le32(ix + 4), size_);
            uint32_t id = le32(ix + 16);
            uint64_t base = le64(ix + 20);
            uint64_t count = std::min<uint64_t>(le32(ix + 12), ixEnd > at + 32 ? (ixEnd - at - 32) / 8 : 0);
            std::vector<uint8_t> table(count * 8);
            if (count == 0 || !readAt(at + 32, table.data(), table.size()))
                continue;
            for (uint64_t k = 0; k < count; ++k) {
                uint32_t size = le32(&table[k * 8 + 4]);
                addChunk(id, base + le32(&table[k * 8]), size & 0x7FFFFFFFu, (size & 0x80000000u) == 0);
            }
        }
    }
}

// 'idx1': entries of id, flags, offset of the chunk header and size; the
// offsets count from the 'movi' form type or from the start of the file.
void AviFile::indexFromIdx1(Range idx1)
{
    uint64_t count = (idx1.end - idx1.begin) / 16;
    std::vector<uint8_t> table(count * 16);
    if (count == 0 || !readAt(idx1.begin, table.data(), table.size()))
        return;
    uint64_t moviType = movi_.front().begin - 4;
    uint64_t base = 0;
    for (uint64_t k = 0; k < count; ++k) {
        if (le32(&table[k * 16 + 4]) & kIdx1List)
            continue;
        base = le32(&table[k * 16 + 8]) < moviType ? moviType : 0;
        break;
    }
    for (uint64_t k = 0; k < count; ++k) {
        const uint8_t *e = &table[k * 16];
        if (le32(e + 4) & kIdx1List)
            continue;
        addChunk(le32(e), base + le32(e + 8) + 8, le32(e + 12), (le32(e + 4) & kIdx1KeyFrame) != 0);
    }
}

// Without a usable index: the data chunks as they lie in the 'movi' lists
// (and their 'rec ' groups); a chunk cut off by the end of the file is left
// out, and only the first chunk of a stream is known to be a key frame.
void AviFile::indexByWalking()
{
    for (Range r : movi_)
        walkList(r, 0);
    for (AviStream &s : streams_)
        if (!s.chunks.empty())
            s.chunks.front().keyFrame = true;
}

void AviFile::walkList(Range list, int depth)
{
    for (uint64_t p = list.begin; p + 8 <= list.end;) {
        uint8_t ck[12];
        if (!readAt(p, ck, 8))
            return;
        uint32_t id = le32(ck), size = le32(ck + 4);
        uint64_t data = p + 8;
        if (size > list.end - data)
            return;
        if (id == kList && depth < 4 && size >= 4 && readAt(data, ck + 8, 4))
            walkList({data + 4, data + size}, depth + 1);
        else
            addChunk(id, data, size, false);
        p = data + size + (size & 1);
    }
}

}  // namespace avifile
