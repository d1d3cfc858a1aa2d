#include "framework/core/log.h"
#include "framework/core/test_context.h"

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

// 2008-03-05 14:03:09 UTC
int64_t fixedTime() { return 1204725789; }

class LogTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        log = own(zif_newLog(ctx));
        zif::logSetClock(log, fixedTime);
    }

    std::vector<std::string> messages(zif_object *l)
    {
        std::vector<std::string> out;
        zif_object *it = zif_logGetEntries(l);
        while (zif_object *entry = zif_iteratorNext(it)) {
            zif_object *m = zif_logEntryGetMessage(entry);
            out.push_back(zif_stringGetValue(m));
            zif_release(m);
            zif_release(entry);
        }
        zif_release(it);
        return out;
    }

    zif_object *log = nullptr;
};

TEST_F(LogTest, GoldenTextInUtc)
{
    const char *savedTz = std::getenv("TZ");
    std::string restore = savedTz ? savedTz : "";
    setenv("TZ", "UTC", 1);
    tzset();
    zif_logAddEntry(log, ZIF_LOG_WARNING, "x", "y");
    zif_logAddEntry(log, ZIF_LOG_DEBUG, "ffmpeg.decoder", "opened \"a.avi\"");
    zif_object *text = own(zif_logGetText(log));
    if (savedTz)
        setenv("TZ", restore.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(zif_stringGetValue(text),
                 "2008-03-05 14:03:09 [x] (warning) y\n"
                 "2008-03-05 14:03:09 [ffmpeg.decoder] (debug) opened \"a.avi\"\n");
}

TEST_F(LogTest, EntriesCarryLevelTimeSourceAndMessage)
{
    ASSERT_TRUE(zif_logAddEntry(log, ZIF_LOG_ERROR, "src", "msg"));
    zif_object *it = own(zif_logGetEntries(log));
    zif_object *entry = own(zif_iteratorNext(it));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(zif_objectGetType(entry), ZIF_TYPE_LOG_ENTRY);
    EXPECT_EQ(zif_logEntryGetLogLevel(entry), ZIF_LOG_ERROR);
    EXPECT_EQ(zif_logEntryGetTime(entry), 1204725789);
    EXPECT_EQ(zif_logEntryGetTime64(entry), 1204725789);
    EXPECT_STREQ(zif_stringGetValue(own(zif_logEntryGetSource(entry))), "src");
    EXPECT_STREQ(zif_stringGetValue(own(zif_logEntryGetMessage(entry))), "msg");
}

TEST_F(LogTest, TimesBeyond2038KeepAllTheirBits)
{
    zif::logSetClock(log, [] { return int64_t{1} << 32; });
    zif_logAddEntry(log, ZIF_LOG_INFO, "s", "m");
    zif_object *it = own(zif_logGetEntries(log));
    zif_object *entry = own(zif_iteratorNext(it));
    EXPECT_EQ(zif_logEntryGetTime(entry), 0);
    EXPECT_EQ(zif_logEntryGetTime64(entry), int64_t{1} << 32);
}

TEST_F(LogTest, BoundedNumberOfEntries)
{
    EXPECT_EQ(zif_logGetMaxEntryCount(log), -1);
    ASSERT_TRUE(zif_logSetMaxEntryCount(log, 2));
    for (const char *m : {"1", "2", "3"})
        zif_logAddEntry(log, 1, "s", m);
    EXPECT_EQ(messages(log), (std::vector<std::string>{"2", "3"}));

    zif_logSetMaxEntryCount(log, -1);
    for (const char *m : {"4", "5", "6"})
        zif_logAddEntry(log, 1, "s", m);
    ASSERT_TRUE(zif_logSetMaxEntryCount(log, 1));
    EXPECT_EQ(messages(log), (std::vector<std::string>{"6"}));

    ASSERT_TRUE(zif_logSetMaxEntryCount(log, 0));
    EXPECT_EQ(zif_logGetEntryCount(log), 0);
    EXPECT_TRUE(zif_logAddEntry(log, 1, "s", "7"));
    EXPECT_EQ(zif_logGetEntryCount(log), 0);
}

TEST_F(LogTest, ANewLogKeepsEveryEntry)
{
    for (int i = 0; i < 20005; ++i)
        zif_logAddEntry(log, 0, "s", std::to_string(i).c_str());
    EXPECT_EQ(zif_logGetEntryCount(log), 20005);
    EXPECT_EQ(messages(log).front(), "0");
}

TEST_F(LogTest, BadLevelsAreRefused)
{
    for (int32_t level : {4, -1}) {
        zif_clearLastError(ctx);
        EXPECT_FALSE(zif_logAddEntry(log, level, "s", "m"));
        EXPECT_EQ(zif_getLastError(ctx), ZIF_ERR_INVALID_ARGUMENT);
    }
    EXPECT_EQ(zif_logGetEntryCount(log), 0);
}

TEST_F(LogTest, EntriesPassToTheParentWithThePrefix)
{
    zif_object *contextLog = own(zif_getLog(ctx));
    ASSERT_TRUE(zif::logSetParent(log, contextLog, "graph55AA-"));
    zif_logSetMaxEntryCount(log, 0);  // still passed on
    ASSERT_TRUE(zif_logAddEntry(log, 1, "backtrack", "level 2"));
    zif_object *it = own(zif_logGetEntries(contextLog));
    zif_object *entry = own(zif_iteratorNext(it));
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(zif_stringGetValue(own(zif_logEntryGetSource(entry))), "graph55AA-backtrack");
    EXPECT_EQ(zif_logGetEntryCount(log), 0);

    ASSERT_TRUE(zif_log(ctx, 3, "ctx", "direct"));
    EXPECT_EQ(messages(contextLog), (std::vector<std::string>{"level 2", "direct"}));

    ASSERT_TRUE(zif_logClear(contextLog));
    EXPECT_EQ(zif_logGetEntryCount(contextLog), 0);
}

TEST_F(LogTest, ARemoteLogSendsEntriesInsteadOfKeepingThem)
{
    struct Sink {
        std::vector<std::string> lines;
        int32_t status = 0;
        static int32_t send(void *user, int32_t level, const char *source, const char *message)
        {
            auto *sink = static_cast<Sink *>(user);
            sink->lines.push_back(std::to_string(level) + " " + source + " " + message);
            return sink->status;
        }
    } sink;
    zif::logSetParent(log, own(zif_getLog(ctx)), "p-");
    zif::logSetRemote(log, Sink::send, &sink);
    ASSERT_TRUE(zif_logAddEntry(log, 2, "node", "hello"));
    EXPECT_EQ(sink.lines, std::vector<std::string>{"2 node hello"});
    EXPECT_EQ(zif_logGetEntryCount(log), 0);
    EXPECT_EQ(zif_logGetEntryCount(own(zif_getLog(ctx))), 0);

    sink.status = 33;  // the partner has ended
    EXPECT_FALSE(zif_logAddEntry(log, 2, "node", "again"));
    EXPECT_EQ(zif_getLastError(ctx), 33);
}

}  // namespace
