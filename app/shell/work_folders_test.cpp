#include "app/shell/work_folders.h"

#include "platform/paths.h"
#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using namespace vt::shell;
using vt::test::TempFolder;

constexpr uint64_t kMB = 1 << 20;
constexpr uint64_t kGB = kMB << 10;

class FakeVolumes : public vt::VolumeSource {
public:
    std::vector<vt::Volume> list;
    std::vector<vt::Volume> volumes() const override { return list; }
};

// Disks D, E, F as folders of a temporary tree; home, program and work
// folders beside them. "blocked" is a file, so nothing can be created below it.
class WorkFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : {"D", "E", "F", "home", "bin"})
            std::filesystem::create_directories(tmp.path() + name);
        tmp.write("blocked", "");
        context.volumes = &fake;
        context.homeFolder = tmp.path() + "home/";
        context.exePath = tmp.path() + "bin/";
        context.workFolder = tmp.path() + "bin/Temp/";
    }
    std::string disk(const char *name) const { return tmp.path() + name + "/"; }

    TempFolder tmp;
    FakeVolumes fake;
    FolderContext context;
};

TEST_F(WorkFoldersTest, ChoosesTheFirstDiskWithMoreThanTenGigabytes)
{
    struct Case {
        const char *what;
        std::vector<vt::Volume> volumes;
        std::string expected;
    } cases[] = {
        {"first big disk wins", {{disk("D"), 5 * kGB}, {disk("E"), 11 * kGB}, {disk("F"), 900 * kGB}}, disk("E") + "Temp/"},
        {"free space beyond 32 bits", {{disk("D"), 9 * kGB}, {disk("E"), (uint64_t(4) << 40) + kMB}}, disk("E") + "Temp/"},
        {"else the disk with most room", {{disk("D"), 2 * kGB}, {disk("E"), 7 * kGB}, {disk("F"), 3 * kGB}}, disk("E") + "Temp/"},
        {"exactly 10 GB is not more", {{disk("D"), 1 * kGB}, {disk("E"), 10 * kGB}}, disk("E") + "Temp/"},
        {"big disk that cannot hold the folder", {{tmp.path() + "blocked/", 50 * kGB}, {disk("D"), 1 * kGB}}, disk("D") + "Temp/"},
        {"no disks: the home folder", {}, tmp.path() + "home/Temp/"},
        {"full disks: the home folder", {{disk("D"), 0}}, tmp.path() + "home/Temp/"},
    };
    for (const Case &c : cases) {
        fake.list = c.volumes;
        EXPECT_EQ(ChooseWorkFolder("Temp/", context), c.expected) << c.what;
        EXPECT_TRUE(std::filesystem::is_directory(c.expected)) << c.what;
    }
}

TEST_F(WorkFoldersTest, FallsBackToTheProgramFolderButNeverTheWorkFolder)
{
    context.homeFolder = tmp.path() + "blocked/";
    EXPECT_EQ(ChooseWorkFolder("Output", context), tmp.path() + "bin/Output/");
    // "Temp/" in the program folder is the work folder: the answer is the
    // home folder as the last resort.
    EXPECT_EQ(ChooseWorkFolder("Temp/", context), tmp.path() + "blocked/");
}

TEST_F(WorkFoldersTest, ValidatesOutputFolders)
{
    fake.list = {{disk("D"), 20 * kGB}, {disk("E"), 20 * kGB}};
    const std::string current = disk("E") + "current/";
    std::filesystem::create_directories(current);
    tmp.write("D/file", "");

    struct Case {
        const char *what;
        std::string path, expected;
    } cases[] = {
        {"a disk's root gets DVDTemp", disk("D"), disk("D") + "DVDTemp/"},
        {"a root without slash too", tmp.path() + "D", disk("D") + "DVDTemp/"},
        {"a folder is created", disk("D") + "out/dvd", disk("D") + "out/dvd/"},
        {"empty: the work folder choice", "", disk("D") + "Temp/"},
        {"not on a disk: the current folder", "/proc/1/out", current},
        {"stored default", "nodef", current},
        {"cannot be created", disk("D") + "file/x", disk("D") + "Temp/"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ValidateOutputFolder(c.path, current, context), c.expected) << c.what;
        EXPECT_TRUE(std::filesystem::is_directory(c.expected)) << c.what;
    }
    EXPECT_EQ(ValidateOutputFolder("relative/path", "nodef", context), disk("D") + "Temp/");
}

TEST_F(WorkFoldersTest, OutputNeverResolvesToTheWorkFolder)
{
    fake.list = {{tmp.path(), 1 * kGB}};
    for (const std::string &path : {context.workFolder, context.workFolder + "sub/", tmp.path() + "bin/Temp"}) {
        const std::string chosen = ValidateOutputFolder(path, context.workFolder, context);
        EXPECT_FALSE(vt::isSameOrInside(chosen, context.workFolder)) << path << " gave " << chosen;
    }
}

} // namespace
