// File objects: exact-length reads and writes with a sticky error, strings
// as an int32 length and bytes, opening local files by URI, and the pipe
// ends that connect a master with its slave process.
#include "framework/core/file.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <semaphore.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// How long the master gives an ending slave, and how long it then waits
// for a terminated one.
constexpr int kCloseGraceMs = 5000;
constexpr int kTerminateWaitMs = 20000;
// How often a semaphore wait looks at the partner process.
constexpr int kSemaphoreSliceMs = 20;

struct File {
    zif_object header;
    int readFd;
    int writeFd;
    int32_t error;  // once set, every later transfer fails with it
    bool pipe;
    int partnerFd;   // pidfd of the other process, or -1
    bool terminateOnClose;
    sem_t *readSemaphore;   // waited for before every read
    sem_t *writeSemaphore;  // released before every write
    int32_t timeoutMs;      // longest wait of one read or write; -1 none
};

File *fileRecord(zif_object *o) { return reinterpret_cast<File *>(o); }

int64_t nowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Milliseconds left until deadline (-1: none) for poll, at least 0.
int leftMs(int64_t deadline)
{
    if (deadline < 0)
        return -1;
    int64_t left = deadline - nowMs();
    return left <= 0 ? 0 : static_cast<int>(left > INT32_MAX ? INT32_MAX : left);
}

// Waits up to ms for the process behind pidfd to end; true when it has.
bool processEnded(int pidfd, int ms)
{
    if (pidfd < 0)
        return false;
    pollfd p{pidfd, POLLIN, 0};
    int r;
    while ((r = poll(&p, 1, ms)) < 0 && errno == EINTR) {
    }
    return r > 0;
}

// The master's end of a slave: a grace period to end by itself (none once
// a transfer has failed), then SIGKILL, then the exit status is collected.
void endPartner(File *f)
{
    bool ended = processEnded(f->partnerFd, f->error ? 0 : kCloseGraceMs);
    if (!ended) {
        syscall(SYS_pidfd_send_signal, f->partnerFd, SIGKILL, nullptr, 0);
        ended = processEnded(f->partnerFd, kTerminateWaitMs);
    }
    siginfo_t info{};
    while (waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(f->partnerFd), &info,
                  WEXITED | (ended ? 0 : WNOHANG)) < 0 && errno == EINTR) {
    }
}

void fileDestroy(zif_object *o)
{
    File *f = fileRecord(o);
    if (f->readFd >= 0)
        close(f->readFd);
    if (f->writeFd >= 0 && f->writeFd != f->readFd)
        close(f->writeFd);
    if (f->readSemaphore)
        sem_close(f->readSemaphore);
    if (f->writeSemaphore && f->writeSemaphore != f->readSemaphore)
        sem_close(f->writeSemaphore);
    if (f->partnerFd >= 0) {
        if (f->terminateOnClose)
            endPartner(f);
        close(f->partnerFd);
    }
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

// The partner's release of the read semaphore, watching the partner: 0,
// or 33 when the partner ended first, 31 when the wait ran out or failed.
int32_t awaitSemaphore(File *f, int64_t deadline)
{
    for (;;) {
        if (sem_trywait(f->readSemaphore) == 0)
            return 0;
        if (errno != EAGAIN && errno != EINTR)
            return ZIF_ERR_WAIT;
        int left = leftMs(deadline);
        if (left == 0)
            return ZIF_ERR_WAIT;
        int slice = left < 0 || left > kSemaphoreSliceMs ? kSemaphoreSliceMs : left;
        timespec until;
        clock_gettime(CLOCK_MONOTONIC, &until);
        until.tv_nsec += static_cast<long>(slice) * 1000000;
        until.tv_sec += until.tv_nsec / 1000000000;
        until.tv_nsec %= 1000000000;
        if (sem_clockwait(f->readSemaphore, CLOCK_MONOTONIC, &until) == 0)
            return 0;
        if (errno != ETIMEDOUT && errno != EINTR)
            return ZIF_ERR_WAIT;
        if (processEnded(f->partnerFd, 0))
            return sem_trywait(f->readSemaphore) == 0 ? 0 : ZIF_ERR_PARTNER_ENDED;
    }
}

// Waits until fd is ready for events (or the partner ended): 0, 31 or 33.
int32_t awaitReady(File *f, int fd, short events, int64_t deadline)
{
    for (;;) {
        pollfd p[2] = {{fd, events, 0}, {f->partnerFd, POLLIN, 0}};
        int r = poll(p, f->partnerFd >= 0 ? 2 : 1, leftMs(deadline));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return ZIF_ERR_WAIT;
        if (r == 0)
            return ZIF_ERR_WAIT;
        if (p[0].revents)
            return 0;  // readable, writable, or at its end: the transfer tells
        return ZIF_ERR_PARTNER_ENDED;
    }
}

// The error of a read that found the stream's end: the partner's end when
// it is gone, else a short read.
int32_t brokenRead(File *f)
{
    return processEnded(f->partnerFd, 0) ? ZIF_ERR_PARTNER_ENDED : ZIF_ERR_READ;
}

bool pipeRead(zif_object *file, char *out, int32_t n)
{
    File *f = fileRecord(file);
    int64_t deadline = f->timeoutMs < 0 ? -1 : nowMs() + f->timeoutMs;
    if (f->readSemaphore)
        if (int32_t code = awaitSemaphore(f, deadline))
            return stick(file, code);
    for (int32_t done = 0; done < n;) {
        ssize_t got = recv(f->readFd, out + done, static_cast<size_t>(n - done), MSG_DONTWAIT);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN) {
            if (int32_t code = awaitReady(f, f->readFd, POLLIN, deadline))
                return stick(file, code);
            continue;
        }
        if (got <= 0)
            return stick(file, brokenRead(f));
        done += static_cast<int32_t>(got);
    }
    return true;
}

bool pipeWrite(zif_object *file, const char *in, int32_t n)
{
    File *f = fileRecord(file);
    int64_t deadline = f->timeoutMs < 0 ? -1 : nowMs() + f->timeoutMs;
    if (f->writeSemaphore && sem_post(f->writeSemaphore) != 0)
        return stick(file, ZIF_ERR_WRITE);
    for (int32_t done = 0; done < n;) {
        // A peer that has gone is a failed write (25), never a SIGPIPE.
        ssize_t put = send(f->writeFd, in + done, static_cast<size_t>(n - done), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno == EAGAIN) {
            if (int32_t code = awaitReady(f, f->writeFd, POLLOUT, deadline))
                return stick(file, code == ZIF_ERR_PARTNER_ENDED ? ZIF_ERR_WRITE : code);
            continue;
        }
        if (put <= 0)
            return stick(file, ZIF_ERR_WRITE);
        done += static_cast<int32_t>(put);
    }
    return true;
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
    f->partnerFd = -1;
    f->timeoutMs = kPipeTimeoutMs;
    return reinterpret_cast<zif_object *>(f);
}

void fileSetTimeout(zif_object *file, int32_t ms)
{
    if (cast(file, ZIF_TYPE_FILE))
        fileRecord(file)->timeoutMs = ms;
}

void fileFail(zif_object *file, int32_t code)
{
    if (cast(file, ZIF_TYPE_FILE) && !fileRecord(file)->error)
        fileRecord(file)->error = code;
}

int64_t fileBytesLeft(zif_object *file)
{
    File *f = fileRecord(file);
    return f->pipe ? -1 : remainingBytes(f->readFd);
}

}  // namespace zif

extern "C" {

zif_object *zif_newFileFromPipeHandles(zif_context *context, intptr_t readHandle, intptr_t writeHandle,
                                       intptr_t partnerProcess, int32_t terminateOnClose, intptr_t readSemaphore,
                                       intptr_t writeSemaphore)
{
    if (!context)
        return nullptr;
    zif_object *file = zif::fileNew(context, static_cast<int>(readHandle), static_cast<int>(writeHandle));
    if (!file)
        return nullptr;
    File *f = fileRecord(file);
    f->pipe = true;
    // A null handle (0) is no partner: a pidfd is never standard input.
    f->partnerFd = partnerProcess > 0 ? static_cast<int>(partnerProcess) : -1;
    f->terminateOnClose = terminateOnClose != 0 && f->partnerFd >= 0;
    f->readSemaphore = reinterpret_cast<sem_t *>(readSemaphore);
    f->writeSemaphore = reinterpret_cast<sem_t *>(writeSemaphore);
    return file;
}

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
    if (fileRecord(file)->pipe)
        return pipeRead(file, out, n) ? 1 : 0;
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
    if (fileRecord(file)->pipe)
        return pipeWrite(file, in, n) ? 1 : 0;
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
    int64_t remaining = zif::fileBytesLeft(file);
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
