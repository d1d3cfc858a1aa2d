#include "platform/single_instance.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using vt::SingleInstanceLock;

// Whether a second process gets the lock (its exit status says).
bool otherProcessAcquires(const std::string &file)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(SingleInstanceLock::atPath(file).acquire() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(SingleInstanceLockTest, SecondProcessIsRefusedWhileTheFirstRuns)
{
    vt::test::TempFolder tmp;
    const std::string file = tmp.path() + "vantorel.lock";
    {
        SingleInstanceLock first = SingleInstanceLock::atPath(file);
        ASSERT_TRUE(first.acquire());
        EXPECT_TRUE(first.acquire());
        EXPECT_FALSE(otherProcessAcquires(file));
    }
    EXPECT_TRUE(otherProcessAcquires(file));
}

TEST(SingleInstanceLockTest, LockOfADeadProcessIsTakenOver)
{
    vt::test::TempFolder tmp;
    const std::string file = tmp.path() + "vantorel.lock";
    const pid_t child = ::fork();
    if (child == 0) {
        SingleInstanceLock lock = SingleInstanceLock::atPath(file);
        lock.acquire();
        ::_exit(0);  // dies holding it: no destructor runs
    }
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(SingleInstanceLock::atPath(file).acquire());
}

TEST(SingleInstanceLockTest, PerUserFileInTheRuntimeFolder)
{
    vt::test::TempFolder tmp;
    ::setenv("XDG_RUNTIME_DIR", tmp.path().c_str(), 1);
    SingleInstanceLock lock("vantorel");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(lock.file(), tmp.path() + "vantorel-" + std::to_string(::getuid()) + ".lock");
}

} // namespace
