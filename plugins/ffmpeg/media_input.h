// One open instance of a media file for libavformat: the file is read
// through our own AVIOContext over its UTF-8 path, so only local files are
// ever opened (nested opens are limited to the "file" protocol).
#pragma once

#include <string>

struct AVFormatContext;
struct AVInputFormat;

namespace ffplug {

class MediaInput {
public:
    MediaInput() = default;
    MediaInput(const MediaInput &) = delete;
    MediaInput &operator=(const MediaInput &) = delete;
    ~MediaInput();

    // Opens path and reads the stream information; format, when given,
    // skips probing. False when the file cannot be opened as media.
    bool open(const std::string &path, const AVInputFormat *format);
    void close();

    AVFormatContext *format() const { return format_; }

private:
    AVFormatContext *format_ = nullptr;
    int fd_ = -1;
};

}  // namespace ffplug
