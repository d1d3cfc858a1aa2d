// Pipe files: semaphore-gated reads that watch the partner process, bounded
// waits, and writes to a vanished peer that fail instead of raising SIGPIPE.
#include "framework/core/file.h"
#include "framework/core/test_context.h"

#include <chrono>
#include <fcntl.h>
#include <semaphore.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

class PipeFileTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
    }

    void TearDown() override
    {
        ContextTest::TearDown();
        for (sem_t *s : handles)
            sem_close(s);
        if (fds[1] >= 0)
            close(fds[1]);
    }

    // A fresh unnamed-after-creation semaphore; each call to handle() gives
    // one more handle of it, for a file to own and close.
    void makeSemaphore()
    {
        name = "/zifpipetest" + std::to_string(getpid());
        sem_t *s = sem_open(name.c_str(), O_CREAT | O_EXCL, 0600, 0);
        ASSERT_NE(s, SEM_FAILED);
        handles.push_back(s);
    }
    intptr_t handle()
    {
        sem_t *s = sem_open(name.c_str(), 0);
        EXPECT_NE(s, SEM_FAILED);
        return reinterpret_cast<intptr_t>(s);
    }
    void forgetName() { sem_unlink(name.c_str()); }

    // A partner process that lives for ms milliseconds: its pidfd.
    int partner(int ms)
    {
        child = fork();
        if (child == 0) {
            usleep(static_cast<useconds_t>(ms) * 1000);
            _exit(0);
        }
        return static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    }

    void reapPartner()
    {
        if (child > 0)
            waitpid(child, nullptr, 0);
        child = -1;
    }

    int fds[2] = {-1, -1};
    pid_t child = -1;
    std::string name;
    std::vector<sem_t *> handles;  // closed by the test
};

TEST_F(PipeFileTest, AReadWaitsForTheWritersSemaphoreRelease)
{
    makeSemaphore();
    zif_object *reader = own(zif_newFileFromPipeHandles(ctx, fds[0], fds[0], -1, 0, handle(), 0));
    int writerFd = fds[1];
    zif_object *writer = own(zif_newFileFromPipeHandles(ctx, fds[1], fds[1], -1, 0, 0, handle()));
    forgetName();
    fds[1] = -1;
    zif::fileSetTimeout(reader, 300);
    ASSERT_TRUE(zif_fileWrite(writer, "abcd", 4));
    char out[4];
    ASSERT_TRUE(zif_fileRead(reader, out, 4));
    EXPECT_EQ(std::string(out, 4), "abcd");
    // Bytes that come without a release are not read.
    ASSERT_EQ(send(writerFd, "x", 1, MSG_NOSIGNAL), 1);
    EXPECT_FALSE(zif_fileRead(reader, out, 1));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WAIT);
}

TEST_F(PipeFileTest, ReadsAreBoundedByTheTimeout)
{
    zif_object *file = own(zif_newFileFromPipeHandles(ctx, fds[0], fds[0], 0, 0, 0, 0));
    zif::fileSetTimeout(file, 300);
    char c;
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(zif_fileRead(file, &c, 1));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WAIT);
    EXPECT_GE(secondsSince(start), 0.25);
    // Sticky: the next read fails at once.
    start = Clock::now();
    EXPECT_FALSE(zif_fileRead(file, &c, 1));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WAIT);
    EXPECT_LT(secondsSince(start), 0.1);
}

TEST_F(PipeFileTest, APartnerThatEndsWhileAwaitedGives33)
{
    int pidfd = partner(200);
    ASSERT_GE(pidfd, 0);
    makeSemaphore();
    zif_object *file = own(zif_newFileFromPipeHandles(ctx, fds[0], fds[0], pidfd, 0, handle(), 0));
    forgetName();
    zif::fileSetTimeout(file, 10000);
    char c;
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(zif_fileRead(file, &c, 1));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_PARTNER_ENDED);
    EXPECT_LT(secondsSince(start), 5);
    reapPartner();
}

TEST_F(PipeFileTest, WritingToAVanishedPeerFailsWith25AndRaisesNoSignal)
{
    zif_object *file = own(zif_newFileFromPipeHandles(ctx, fds[0], fds[0], 0, 0, 0, 0));
    close(fds[1]);
    fds[1] = -1;
    std::string big(1 << 20, 'z');
    EXPECT_FALSE(zif_fileWrite(file, big.data(), static_cast<int32_t>(big.size())));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WRITE);
    zif_clearLastError(ctx);
    EXPECT_FALSE(zif_fileWrite(file, "a", 1));
    EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_WRITE);
}

TEST_F(PipeFileTest, AWriterReleasesItsSemaphoreOncePerWrite)
{
    makeSemaphore();
    zif_object *writer = own(zif_newFileFromPipeHandles(ctx, fds[0], fds[0], -1, 0, 0, handle()));
    forgetName();
    ASSERT_TRUE(zif_fileWrite(writer, "ab", 2));
    ASSERT_TRUE(zif_fileWrite(writer, "", 0));
    ASSERT_TRUE(zif_fileWriteString(writer, "xyz"));
    int value = -1;
    sem_getvalue(handles[0], &value);
    EXPECT_EQ(value, 4);  // two writes, and a string's length and bytes
}

}  // namespace
