#include "app/common/work_folders.h"

#include "platform/paths.h"
#include "platform/test_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

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

// The disks are the tops of file systems: a work folder is used there only
// when it exists already, never created (run as root, the program once made
// "/boot/Temp").
TEST_F(WorkFoldersTest, ChoosesTheFirstDiskWithMoreThanTenGigabytes)
{
    for (const char *name : {"D", "E", "F"})
        std::filesystem::create_directories(disk(name) + "Temp");
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

TEST_F(WorkFoldersTest, NeverCreatesAFolderAtTheTopOfAFileSystem)
{
    fake.list = {{disk("D"), 50 * kGB}, {disk("E"), 5 * kGB}};
    EXPECT_EQ(ChooseWorkFolder("Temp/", context), tmp.path() + "home/Temp/");
    EXPECT_FALSE(std::filesystem::exists(disk("D") + "Temp"));
    EXPECT_FALSE(std::filesystem::exists(disk("E") + "Temp"));
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
    std::filesystem::create_directories(disk("D") + "Temp");
    const std::string current = disk("E") + "current/";
    std::filesystem::create_directories(current);
    tmp.write("D/file", "");
    std::filesystem::create_directories(tmp.path() + "readonly");
    std::filesystem::permissions(tmp.path() + "readonly", std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::owner_exec);
    const bool isRoot = ::geteuid() == 0;  // root may write anywhere

    struct Case {
        const char *what;
        std::string path, expected;
        const char *refusal;  // nullptr: accepted
    } cases[] = {
        {"a disk's root is taken as it is", disk("D"), disk("D"), nullptr},
        {"a root without slash too", tmp.path() + "D", disk("D"), nullptr},
        {"any writable folder, on a listed disk or not", tmp.path() + "home", tmp.path() + "home/", nullptr},
        {"a folder is created", disk("D") + "Temp/out/dvd", disk("D") + "Temp/out/dvd/", nullptr},
        {"empty: the work folder choice", "", disk("D") + "Temp/", nullptr},
        {"a file: the current folder", disk("D") + "file", current, "is a file, not a folder"},
        {"below the kernel's files", "/proc/1/out", current, "can not be"},
        {"stored default", "nodef", current, "is not a full path"},
        {"cannot be created", disk("D") + "file/x", current, "can not be created"},
        {"not made at a disk's top", disk("D") + "new", current, "would be made at the top of the file system"},
        {"the system's top", "/", current, "The top of the system's file system / can not take output."},
    };
    for (const Case &c : cases) {
        std::string refusal;
        EXPECT_EQ(ValidateOutputFolder(c.path, current, context, &refusal), c.expected) << c.what;
        EXPECT_TRUE(std::filesystem::is_directory(c.expected)) << c.what;
        if (c.refusal) {
            EXPECT_NE(refusal.find(c.refusal), std::string::npos) << c.what << ": " << refusal;
            EXPECT_NE(refusal.find("The output folder stays " + current + "."), std::string::npos) << refusal;
        } else {
            EXPECT_EQ(refusal, "") << c.what;
        }
    }
    if (!isRoot) {
        std::string refusal;
        EXPECT_EQ(ValidateOutputFolder(tmp.path() + "readonly", current, context, &refusal), current);
        EXPECT_NE(refusal.find("can not be written to"), std::string::npos) << refusal;
    }
    EXPECT_FALSE(std::filesystem::exists(disk("D") + "new"));
    EXPECT_FALSE(std::filesystem::exists("/DVDTemp"));
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
