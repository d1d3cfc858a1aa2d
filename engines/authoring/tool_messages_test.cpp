#include "engines/authoring/tool_messages.h"

#include <gtest/gtest.h>

using namespace authoring;

TEST(ToolMessages, ReadsMegabytesOfProgressLinesOnly)
{
    struct {
        const char *line;
        int megabytes;
    } cases[] = {
        {"STAT: VOBU 16 at 0MB, 1 PGCs", 0},
        {"STAT: VOBU 5210 at 1423MB, 3 PGCs", 1423},
        {"STAT: Processing /tmp/a.vob...", -1},
        {"STAT: VOBU 12 at MB, 1 PGCs", -1},
        {"STAT: VOBU 12 at 7KB", -1},
        {"INFO: Video pts = 0.540 .. 3.540", -1},
        {"", -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vob_megabytes_of(c.line), c.megabytes) << c.line;
}

TEST(ToolMessages, ErrorLinesAreThoseStartingWithErr)
{
    EXPECT_TRUE(is_error_line("ERR:  no video format specified for VMGM"));
    EXPECT_FALSE(is_error_line("INFO: ERR: inside"));
    EXPECT_TRUE(is_notable_line("WARN: Skipping sector, waiting for first VOBU..."));
    EXPECT_FALSE(is_notable_line("STAT: VOBU 1 at 0MB, 1 PGCs"));
}
