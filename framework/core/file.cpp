// File objects: exact-length reads and writes with a sticky error, strings
// as an int32 length and bytes, and opening local files by URI.
#include "framework/core/file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct File {
    zif_object header;
    int readFd;
    int writeFd;
    int32_t error;  // once set, every later transfer fails with it
};

File *fileRecord(zif_object *o) { return reinterpret_cast<File *>(o); }

void fileDestroy(zif_object *o)
{
    File *f = fileRecord(o);
    if (f->readFd >= 0)
        close(f->readFd);
    if (f->writeFd >= 0 && f->writeFd != f->readFd)
        close(f->writeFd);
}

// A usable file for a transfer of n bytes, or false with the error recorded.
bool checkTransfer(zif_object *file, int32_t n, const void *buffer)
{
    if (!zif::cast(file, ZIF_TYPE_FILE))
        return false;
    if (fileRecord(file)->error) {
        zif::fail(file->context, fileRecord(file)->error);
        return false;
    }
    if (n < 0 || (n > 0 && !buffer)) {
        zif::fail(file->context, ZIF_ERR_INVALID_ARGUMENT);
        return false;
    }
    return true;
}

bool stick(zif_object *file, int32_t code)
{
    fileRecord(file)->error = code;
    zif::fail(file->context, code);
    return false;
}

// Bytes left between the read position and the end, or -1 for a stream.
int64_t remainingBytes(int fd)
{
    struct stat st;
    off_t position = lseek(fd, 0, SEEK_CUR);
    if (position < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return static_cast<int64_t>(st.st_size) - static_cast<int64_t>(position);
}

}  // namespace

namespace zif {

zif_object *fileNew(zif_context *context, int readFd, int writeFd)
{
    auto *f = objectNew<File>(context, ZIF_TYPE_FILE, fileDestroy);
    if (!f) {
        if (readFd >= 0)
            close(readFd);
        if (writeFd >= 0 && writeFd != readFd)
            close(writeFd);
        return nullptr;
    }
    f->readFd = readFd;
    f->writeFd = writeFd;
    return reinterpret_cast<zif_object *>(f);
}

}  // namespace zif

extern "C" {

zif_object *zif_openFile(zif_context *context, const char *uri, int32_t forWriting)
{
    zif_object *path = zif_uriToFilePath(context, uri);
    if (!path) {
        zif::fail(context, ZIF_ERR_FILE_OPEN);
        return nullptr;
    }
    int flags = forWriting ? (O_WRONLY | O_CREAT | O_TRUNC) : O_RDONLY;
    int fd = open(zif_stringGetValue(path), flags | O_CLOEXEC, 0666);
    zif_release(path);
    if (fd < 0) {
        zif::fail(context, ZIF_ERR_FILE_OPEN);
        return nullptr;
    }
    return zif::fileNew(context, fd, fd);
}

int32_t zif_fileRead(zif_object *file, void *buffer, int32_t n)
{
    if (!checkTransfer(file, n, buffer))
        return 0;
    auto *out = static_cast<char *>(buffer);
    for (int32_t done = 0; done < n;) {
        ssize_t got = read(fileRecord(file)->readFd, out + done, static_cast<size_t>(n - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return stick(file, ZIF_ERR_READ);
        done += static_cast<int32_t>(got);
    }
    return 1;
}

int32_t zif_fileWrite(zif_object *file, const void *bytes, int32_t n)
{
    if (!checkTransfer(file, n, bytes))
        return 0;
    const auto *in = static_cast<const char *>(bytes);
    for (int32_t done = 0; done < n;) {
        ssize_t put = write(fileRecord(file)->writeFd, in + done, static_cast<size_t>(n - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return stick(file, ZIF_ERR_WRITE);
        done += static_cast<int32_t>(put);
    }
    return 1;
}

char *zif_fileReadString(zif_object *file)
{
    int32_t length = 0;
    if (!zif_fileRead(file, &length, sizeof length))
        return nullptr;
    int64_t remaining = remainingBytes(fileRecord(file)->readFd);
    bool tooLong = remaining >= 0 ? length > remaining : length > zif::kMaxFileStringLength;
    if (length < 0 || tooLong) {
        zif::fail(file->context, ZIF_ERR_BAD_BINARY);
        return nullptr;
    }
    auto *text = static_cast<char *>(zif_alloc(file->context, length + 1));
    if (!text)
        return nullptr;
    if (!zif_fileRead(file, text, length)) {
        zif_free(file->context, text);
        return nullptr;
    }
    text[length] = '\0';
    return text;
}

int32_t zif_fileWriteString(zif_object *file, const char *text)
{
    if (!zif::cast(file, ZIF_TYPE_FILE))
        return 0;
    if (!text) {
        zif::fail(file->context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    size_t size = 0;
    while (text[size])
        ++size;
    if (size > INT32_MAX) {
        zif::fail(file->context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    int32_t length = static_cast<int32_t>(size);
    return zif_fileWrite(file, &length, sizeof length) && zif_fileWrite(file, text, length);
}

int64_t zif_fileGetLength(zif_object *file)
{
    if (!zif::cast(file, ZIF_TYPE_FILE))
        return -1;
    struct stat st;
    int fd = fileRecord(file)->readFd >= 0 ? fileRecord(file)->readFd : fileRecord(file)->writeFd;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        zif::fail(file->context, ZIF_ERR_FILE_LENGTH);
        return -1;
    }
    return static_cast<int64_t>(st.st_size);
}

}  // extern "C"
