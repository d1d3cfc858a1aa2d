#include "app/common/region_list.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using namespace vt::shell;
using vt::test::TempFolder;

const char *kLanguageIni =
    "[RegionCount]\nRegion=2\n"
    "[RegionLanguage]\nRegion0=English\nRegion1=German\n"
    "[CharacterSet]\nEnglish=ISO-8859-1\nGerman=ISO-8859-15\n"
    "[RegionFontFileName]\nEnglish=/fonts/english.ttf\nGerman=/fonts/german.ttf\n"
    "[LanguageCode]\nEnglish=EN\nGerman=DE\n";

const char *kSubtitleIni =
    "[RegionCount]\nRegion=2\n"
    "[RegionLanguage]\nRegion0=Klingon\nRegion1=German\n"
    "[CharacterSet]\nKlingon=UTF-8\nGerman=CP1252\n"
    "[RegionFontFileName]\nKlingon=/fonts/klingon.ttf\n"
    "[LanguageCode]\nKlingon=KL\n";

struct Expected {
    int index;
    const char *name, *charset, *font, *code;
};

void expectRegions(const RegionList &regions, std::initializer_list<Expected> cases)
{
    for (const Expected &e : cases) {
        EXPECT_EQ(regions.nameAt(e.index), e.name) << e.index;
        EXPECT_EQ(regions.GetRegionCharacterSet(e.index), e.charset) << e.index;
        EXPECT_EQ(regions.GetRegionFontFile(e.index), e.font) << e.index;
        EXPECT_EQ(regions.GetRegionLanguageCode(e.index), e.code) << e.index;
    }
}

TEST(RegionListTest, CombinedListWithUserOverrides)
{
    TempFolder tmp;
    RegionList regions(tmp.write("Language.ini", kLanguageIni), tmp.write("Subtitle.ini", kSubtitleIni),
                       tmp.path() + "Subtitle.ini");
    EXPECT_EQ(regions.shippedCount(), 2);
    EXPECT_EQ(regions.userCount(), 2);
    EXPECT_EQ(regions.combinedNames(), (std::vector<std::string> {"English", "German", "Klingon", "German"}));
    expectRegions(regions, {
        {0, "English", "ISO-8859-1", "/fonts/english.ttf", "EN"},
        // The user's German entry overrides the character set only.
        {1, "German", "CP1252", "/fonts/german.ttf", "DE"},
        {2, "Klingon", "UTF-8", "/fonts/klingon.ttf", "KL"},
        {3, "German", "CP1252", "/fonts/german.ttf", "DE"},
        {4, "Other", kDefaultCharacterSet, kDefaultRegionFontFile, kDefaultLanguageCode},
        {-1, "Other", kDefaultCharacterSet, kDefaultRegionFontFile, kDefaultLanguageCode},
    });
}

TEST(RegionListTest, MissingFilesAndCountsGiveOneMeaningPerIndex)
{
    TempFolder tmp;
    // No files at all: one shipped region "Others" with the defaults; the
    // first user index has no entry.
    RegionList none(tmp.path() + "Language.ini", tmp.path() + "Subtitle.ini", tmp.path() + "Subtitle.ini");
    EXPECT_EQ(none.shippedNames(), (std::vector<std::string> {"Others"}));
    EXPECT_TRUE(none.userNames().empty());
    expectRegions(none, {
        {0, "Others", kDefaultCharacterSet, kDefaultRegionFontFile, kDefaultLanguageCode},
        {1, "Other", kDefaultCharacterSet, kDefaultRegionFontFile, kDefaultLanguageCode},
    });

    // Language.ini without "RegionCount": index 0 is its Region0 in the
    // lists and in the lookups alike, and index 1 the first user region.
    RegionList noCount(tmp.write("nocount/Language.ini", "[RegionLanguage]\nRegion0=English\n[LanguageCode]\nEnglish=EN\n"),
                       tmp.write("nocount/Subtitle.ini", kSubtitleIni), tmp.path() + "nocount/Subtitle.ini");
    EXPECT_EQ(noCount.combinedNames(), (std::vector<std::string> {"English", "Klingon", "German"}));
    expectRegions(noCount, {
        {0, "English", kDefaultCharacterSet, kDefaultRegionFontFile, "EN"},
        {1, "Klingon", "UTF-8", "/fonts/klingon.ttf", "KL"},
    });
}

TEST(RegionListTest, AbsurdCountsAreClamped)
{
    TempFolder tmp;
    RegionList regions(tmp.write("Language.ini", "[RegionCount]\nRegion=-4\n"),
                       tmp.write("Subtitle.ini", "[RegionCount]\nRegion=2000000000\n"), tmp.path() + "Subtitle.ini");
    EXPECT_EQ(regions.shippedCount(), 0);
    EXPECT_EQ(regions.userCount(), kMaxRegionsPerFile);
    EXPECT_EQ(regions.combinedNames().size(), static_cast<size_t>(kMaxRegionsPerFile));
}

TEST(RegionListTest, AddsAndUpdatesUserRegions)
{
    TempFolder tmp;
    RegionList regions(tmp.write("Language.ini", kLanguageIni), tmp.path() + "Subtitle.ini", tmp.path() + "Subtitle.ini");

    AddRegionResult added = regions.addUserRegion("Esperanto", "/fonts/eo.ttf", "ISO-8859-3", "EO");
    EXPECT_TRUE(added.ok);
    EXPECT_TRUE(added.appended);
    EXPECT_EQ(added.message, "Add OK!");
    EXPECT_EQ(regions.userNames(), (std::vector<std::string> {"Esperanto"}));
    expectRegions(regions, {{2, "Esperanto", "ISO-8859-3", "/fonts/eo.ttf", "EO"}});

    // Again: updated, not listed twice.
    added = regions.addUserRegion("Esperanto", "/fonts/eo2.ttf", "UTF-8", "EO");
    EXPECT_TRUE(added.ok);
    EXPECT_FALSE(added.appended);
    EXPECT_EQ(regions.userCount(), 1);
    EXPECT_EQ(regions.GetRegionFontFile(2), "/fonts/eo2.ttf");

    // A shipped name is overridden without a new list entry.
    added = regions.addUserRegion("German", "/fonts/de.ttf", "UTF-8", "DE");
    EXPECT_TRUE(added.ok);
    EXPECT_FALSE(added.appended);
    EXPECT_EQ(regions.GetRegionCharacterSet(1), "UTF-8");
    EXPECT_EQ(regions.userCount(), 1);
}

TEST(RegionListTest, RefusesNamesThatWouldBreakTheFile)
{
    TempFolder tmp;
    RegionList regions(tmp.write("Language.ini", kLanguageIni), tmp.path() + "Subtitle.ini", tmp.path() + "Subtitle.ini");
    for (const char *bad : {"a=b", "[x]", "two\nlines", "x]", "; comment"}) {
        const AddRegionResult r = regions.addUserRegion(bad, "/f.ttf", "UTF-8", "XX");
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_NE(r.message.find("cannot be used"), std::string::npos) << bad;
    }
    EXPECT_FALSE(regions.addUserRegion("Name", "/f.ttf", "UTF-8\n[x]", "XX").ok);
    // Empty texts: nothing happens, no message.
    const AddRegionResult empty = regions.addUserRegion("Name", "", "UTF-8", "XX");
    EXPECT_FALSE(empty.ok);
    EXPECT_TRUE(empty.message.empty());
    EXPECT_FALSE(std::filesystem::exists(tmp.path() + "Subtitle.ini"));
}

TEST(RegionListTest, FailedWriteIsNotReportedAsSuccess)
{
    TempFolder tmp;
    RegionList regions(tmp.write("Language.ini", kLanguageIni), tmp.path() + "Subtitle.ini",
                       tmp.write("blocked", "") + "/Subtitle.ini");
    const AddRegionResult r = regions.addUserRegion("Esperanto", "/fonts/eo.ttf", "ISO-8859-3", "EO");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message, "Add OK!");
    EXPECT_NE(r.message.find("Cannot write"), std::string::npos) << r.message;
}

} // namespace
