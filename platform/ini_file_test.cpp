#include "platform/ini_file.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using vt::IniFile;
using vt::test::TempFolder;

const char *kFixture =
    "; settings written by hand\r\n"
    "[Option]\r\n"
    "  DVD5Size = 4403200  \r\n"
    "Empty=\r\n"
    "Quoted=\"  padded value  \"\r\n"
    "Single='x'\r\n"
    "Half=\"open\r\n"
    "Negative=-12\r\n"
    "Junk=12abc\r\n"
    "Huge=99999999999999999999999\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "NoEquals\r\n"
    "[option]\r\n"
    "Late=from the duplicate section\r\n"
    "[Other]\r\n"
    "Key=other\r\n";

TEST(IniFileTest, ReadsWithProfileSemantics)
{
    TempFolder tmp;
    IniFile ini(tmp.write("a.ini", kFixture));

    struct Case {
        const char *section, *key, *expected;
    } cases[] = {
        {"Option", "DVD5Size", "4403200"},
        {"OPTION", "dvd5size", "4403200"},
        {"Option", "Empty", ""},
        {"Option", "Quoted", "  padded value  "},
        {"Option", "Single", "x"},
        {"Option", "Half", "\"open"},
        {"Option", "dup", "first"},
        {"Option", "Late", "default"},
        {"Option", "NoEquals", "default"},
        {"Option", "Missing", "default"},
        {"Missing", "Key", "default"},
        {"Other", "Key", "other"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ini.readString(c.section, c.key, "default"), c.expected) << c.section << "/" << c.key;
}

TEST(IniFileTest, ReadsIntegersAndBooleansStrictly)
{
    TempFolder tmp;
    IniFile ini(tmp.write("a.ini", kFixture));

    EXPECT_EQ(ini.readInt("Option", "DVD5Size", 7), 4403200);
    EXPECT_EQ(ini.readInt("Option", "Negative", 7), -12);
    EXPECT_EQ(ini.readInt("Option", "Junk", 7), 7);
    EXPECT_EQ(ini.readInt("Option", "Huge", 7), 7);
    EXPECT_EQ(ini.readInt("Option", "Empty", 7), 7);
    EXPECT_EQ(ini.readInt("Option", "Missing", 7), 7);
    EXPECT_TRUE(ini.readBool("Option", "Negative", false));
    EXPECT_FALSE(ini.readBool("Option", "Junk", false));
    EXPECT_TRUE(ini.readBool("Option", "Missing", true));
}

TEST(IniFileTest, MissingFileGivesDefaultsAndIsCreatedByFirstWrite)
{
    TempFolder tmp;
    IniFile ini(tmp.path() + "new.ini");
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.readString("Option", "Key", "d"), "d");

    ASSERT_TRUE(ini.writeString("Option", "Key", "v")) << ini.error();
    ASSERT_TRUE(ini.writeInt("Option", "Count", 3));
    EXPECT_EQ(TempFolder::read(ini.path()), "[Option]\nKey=v\nCount=3\n");
}

TEST(IniFileTest, WriteReplacesInPlaceAndKeepsOtherLines)
{
    TempFolder tmp;
    IniFile ini(tmp.write("a.ini", "; comment\n[A]\nx=1\n\n; keep me\ny=2\n\n[B]\nz=3\n"));

    ASSERT_TRUE(ini.writeString("a", "X", "10"));
    ASSERT_TRUE(ini.writeString("A", "new", "n"));
    ASSERT_TRUE(ini.writeBool("C", "flag", true));
    EXPECT_EQ(TempFolder::read(ini.path()),
              "; comment\n[A]\nx=10\n\n; keep me\ny=2\nnew=n\n\n[B]\nz=3\n\n[C]\nflag=1\n");
}

TEST(IniFileTest, KeepsCrlfAndWritesOnlyTheFirstDuplicate)
{
    TempFolder tmp;
    IniFile ini(tmp.write("a.ini", "[S]\r\nk=1\r\nk=2\r\n"));
    ASSERT_TRUE(ini.writeString("S", "K", "9"));
    EXPECT_EQ(TempFolder::read(ini.path()), "[S]\r\nk=9\r\nk=2\r\n");
}

TEST(IniFileTest, ValuesThatWouldNotReadBackAreQuoted)
{
    TempFolder tmp;
    IniFile ini(tmp.path() + "a.ini");
    for (const std::string value : {" lead", "trail ", "\"quoted\"", "plain", ""}) {
        ASSERT_TRUE(ini.writeString("S", "k", value));
        EXPECT_EQ(ini.readString("S", "k", "default"), value);
    }
}

TEST(IniFileTest, RefusesWritesThatWouldBreakTheFile)
{
    TempFolder tmp;
    const std::string before = "[S]\nk=1\n";
    IniFile ini(tmp.write("a.ini", before));

    EXPECT_FALSE(ini.writeString("S", "k", "two\nlines"));
    EXPECT_NE(ini.error().find("line break"), std::string::npos);
    EXPECT_FALSE(ini.writeString("S", "a=b", "v"));
    EXPECT_FALSE(ini.writeString("S", "[x]", "v"));
    EXPECT_FALSE(ini.writeString("S]", "k", "v"));
    EXPECT_FALSE(ini.writeString("S", "", "v"));
    EXPECT_EQ(TempFolder::read(ini.path()), before);
}

TEST(IniFileTest, UnwritableFolderFailsWithoutLosingTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    TempFolder tmp;
    IniFile ini(tmp.write("ro/a.ini", "[S]\nk=1\n"));
    std::filesystem::permissions(tmp.path() + "ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(ini.writeString("S", "k", "2"));
    EXPECT_FALSE(ini.error().empty());
    EXPECT_EQ(ini.readString("S", "k", ""), "1");
    std::filesystem::permissions(tmp.path() + "ro", std::filesystem::perms::owner_all);
}

TEST(IniFileTest, WritingThroughALinkKeepsTheLink)
{
    TempFolder tmp;
    const std::string real = tmp.write("dotfiles/Option.ini", "[S]\nk=1\n");
    std::filesystem::create_symlink(real, tmp.path() + "Option.ini");
    IniFile ini(tmp.path() + "Option.ini");
    ASSERT_TRUE(ini.writeString("S", "k", "2")) << ini.error();
    EXPECT_TRUE(std::filesystem::is_symlink(tmp.path() + "Option.ini"));
    EXPECT_EQ(TempFolder::read(real), "[S]\nk=2\n");
}

TEST(IniFileTest, SeesChangesMadeByOthers)
{
    TempFolder tmp;
    IniFile reader(tmp.write("a.ini", "[S]\nk=1\n"));
    EXPECT_EQ(reader.readString("S", "k", ""), "1");
    IniFile writer(reader.path());
    ASSERT_TRUE(writer.writeString("S", "k", "22"));
    EXPECT_EQ(reader.readString("S", "k", ""), "22");
}

TEST(IniFileTest, ListsSectionsAndKeysOnce)
{
    TempFolder tmp;
    IniFile ini(tmp.write("a.ini", kFixture));
    EXPECT_EQ(ini.sections(), (std::vector<std::string> {"Option", "Other"}));
    const auto keys = ini.keys("option");
    EXPECT_EQ(keys.front(), "DVD5Size");
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "DUP"), 0);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "Late"), 0);
}

} // namespace
