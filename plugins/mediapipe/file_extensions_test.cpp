#include "plugins/mediapipe/file_extensions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using mediapipe::ExtensionCandidate;

TEST(FileExtensionsTest, Filters)
{
    struct Case {
        ExtensionCandidate candidate;
        bool taken;
    };
    const std::vector<std::string> list = {".avi"};
    const Case cases[] = {
        {{".mkv", "video/x-matroska", "matroska"}, true},
        {{".vob", "", "mpeg program stream"}, true},
        {{".MP3", "", "mp3"}, false},
        {{".Wav", "video/x-wav", ""}, false},
        {{".asf", "video/x-ms-asf", "Windows Media Player file"}, false},
        {{".flac", "audio/x-flac", "flac"}, false},
        {{"mkv", "video/x-matroska", ""}, false},
        {{".AVI", "video/x-msvideo", "avi"}, false},
        {{".ogv", "VIDEO/ogg", "ogg"}, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(mediapipe::extensionTaken(c.candidate, list), c.taken) << c.candidate.name;
}

TEST(FileExtensionsTest, TypeFindersGiveTheVideoContainers)
{
    std::vector<std::string> list = mediapipe::extensionsFrom(mediapipe::typeFinderCandidates());
    auto has = [&](const char *e) { return std::find(list.begin(), list.end(), e) != list.end(); };
    for (const char *e : {".avi", ".mkv", ".mp4", ".mpg", ".ts"})
        EXPECT_TRUE(has(e)) << e;
    for (const char *e : {".wma", ".mp3", ".wav", ".ogg", ".png"})
        EXPECT_FALSE(has(e)) << e;
    EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), list.size()) << "no duplicates";
}

}  // namespace
