#include "slave/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(SlaveCommandLine, TakesTheProcessIdAndTheRestOfTheLine)
{
    struct Case {
        std::string line;
        pid_t pid;
        std::string channel;
    } cases[] = {
        {"4711 zifslv_1267_55D0C0A1_364", 4711, "zifslv_1267_55D0C0A1_364"},
        {"   42 name", 42, "name"},
        {"7 two words", 7, "two words"},
        {"7  leading space kept", 7, " leading space kept"},
        {"2147483647 x", 2147483647, "x"},
        {"1 " + std::string(slave::kMaxChannelNameLength, 'n'), 1, std::string(slave::kMaxChannelNameLength, 'n')},
    };
    for (const Case &c : cases) {
        auto parsed = slave::parseCommandLine(c.line);
        ASSERT_TRUE(parsed) << c.line;
        EXPECT_EQ(parsed->masterPid, c.pid) << c.line;
        EXPECT_EQ(parsed->channel, c.channel) << c.line;
    }
}

TEST(SlaveCommandLine, RefusesMalformedLines)
{
    const std::string refused[] = {
        "",
        "   ",
        "4711",
        "   4711",
        "4711 ",
        "0 name",
        "-5 name",
        "+5 name",
        "12a name",
        "0x10 name",
        "2147483648 name",
        "99999999999999999999 name",
        "5 a/b",
        std::string("5 a\0b", 5),
        "5 " + std::string(slave::kMaxChannelNameLength + 1, 'n'),
    };
    for (const std::string &line : refused)
        EXPECT_FALSE(slave::parseCommandLine(line)) << line;
}

TEST(SlaveCommandLine, DerivedNames)
{
    EXPECT_EQ(slave::semaphoreName("zifslv_1_2_364"), "/zifslv_1_2_364_sem");
    EXPECT_EQ(slave::socketName("zifslv_1_2_364"), "zifslv_1_2_364_pipe");
}

}  // namespace
