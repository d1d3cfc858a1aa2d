#include "plugins/ffmpeg/media_input.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ffplug {

namespace {

constexpr int kBufferSize = 64 * 1024;

int readPacket(void *opaque, uint8_t *buffer, int size)
{
    int fd = *static_cast<int *>(opaque);
    ssize_t n;
    do
        n = read(fd, buffer, static_cast<size_t>(size));
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return AVERROR(errno);
    return n == 0 ? AVERROR_EOF : static_cast<int>(n);
}

int64_t seekTo(void *opaque, int64_t offset, int whence)
{
    int fd = *static_cast<int *>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat st;
        return fstat(fd, &st) == 0 ? st.st_size : AVERROR(errno);
    }
    off_t at = lseek(fd, offset, whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : at;
}

}  // namespace

MediaInput::~MediaInput() { close(); }

void MediaInput::close()
{
    if (format_) {
        AVIOContext *io = format_->pb;
        avformat_close_input(&format_);
        if (io)
            av_freep(&io->buffer);
        avio_context_free(&io);
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool MediaInput::open(const std::string &path, const AVInputFormat *format)
{
    close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return false;
    auto *buffer = static_cast<unsigned char *>(av_malloc(kBufferSize));
    AVIOContext *io = buffer ? avio_alloc_context(buffer, kBufferSize, 0, &fd_, readPacket, nullptr, seekTo) : nullptr;
    format_ = io ? avformat_alloc_context() : nullptr;
    if (!format_) {
        if (io)
            av_freep(&io->buffer);
        else
            av_free(buffer);
        avio_context_free(&io);
        close();
        return false;
    }
    format_->pb = io;
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    // Defaults for raw inputs that carry no header.
    AVDictionary *options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "sample_rate", "44100", 0);
    av_dict_set(&options, "ch_layout", "mono", 0);
    av_dict_set(&options, "video_size", "160x128", 0);
    av_dict_set(&options, "pixel_format", "yuv420p", 0);
    // The file name only helps probing by extension; the data comes from io.
    int result = avformat_open_input(&format_, path.c_str(), format, &options);
    av_dict_free(&options);
    if (result < 0) {
        // avformat_open_input frees the context on failure, not the io.
        format_ = nullptr;
        av_freep(&io->buffer);
        avio_context_free(&io);
        close();
        return false;
    }
    if (avformat_find_stream_info(format_, nullptr) < 0) {
        close();
        return false;
    }
    return true;
}

}  // namespace ffplug
