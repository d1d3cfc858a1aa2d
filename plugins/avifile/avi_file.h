// A reader of RIFF/AVI files: the stream headers and formats of 'hdrl', and
// where every chunk of every stream lies, from the OpenDML indexes, the
// 'idx1' index (for the first part) or, when neither is usable, a walk over
// the 'movi' lists of the 'AVI ' and 'AVIX' parts. Every chunk is bounded by its parent and by
// the file, so a damaged or cut file never makes it read or allocate more
// than the file holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace avifile {

constexpr uint32_t fourcc(const char (&s)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(s[0])) | static_cast<uint32_t>(static_cast<uint8_t>(s[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[2])) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(s[3])) << 24;
}

// Largest picture side accepted from a header.
constexpr int64_t kMaxPictureSide = 16384;

struct AviChunk {
    uint64_t offset = 0;  // of the data, past the chunk header
    uint32_t size = 0;
    bool keyFrame = false;
};

struct AviStream {
    uint32_t type = 0;     // 'vids', 'auds', ...
    uint32_t handler = 0;  // the codec's four-character code
    uint32_t scale = 0, rate = 0;
    uint32_t start = 0, length = 0;
    uint32_t sampleSize = 0;
    int32_t frameWidth = 0, frameHeight = 0;  // of the frame rectangle
    std::vector<uint8_t> format;              // 'strf': a bitmap header or a wave format
    std::vector<AviChunk> chunks;             // in stream order
};

class AviFile {
public:
    AviFile() = default;
    AviFile(const AviFile &) = delete;
    AviFile &operator=(const AviFile &) = delete;
    ~AviFile();

    // Opens path and reads its headers and index; on failure *error says why.
    bool open(const std::string &path, std::string *error);
    void close();

    uint32_t microSecondsPerFrame() const { return microSecondsPerFrame_; }
    const std::vector<AviStream> &streams() const { return streams_; }
    uint64_t size() const { return size_; }

    // Reads chunk bytes from offset inside it into out; false when the file
    // does not hold them.
    bool read(const AviChunk &chunk, uint32_t offset, std::vector<uint8_t> *out) const;

private:
    struct Range {
        uint64_t begin, end;
    };
    bool readAt(uint64_t at, void *into, uint64_t bytes) const;
    bool parseHeaderList(Range list, std::string *error);
    bool parseStreamList(Range list, std::string *error);
    void indexFromOpenDml();
    void indexFromIdx1(Range idx1);
    void indexByWalking();
    void walkList(Range list, int depth);
    void addChunk(uint32_t id, uint64_t offset, uint32_t size, bool keyFrame);

    int fd_ = -1;
    uint64_t size_ = 0;
    uint32_t microSecondsPerFrame_ = 0;
    std::vector<AviStream> streams_;
    std::vector<Range> superIndexes_;  // per stream; empty range: none
    std::vector<Range> movi_;          // the data of each 'movi' list, past its form type
};

}  // namespace avifile
