#include "platform/registry.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

namespace {

using vt::test::TempFolder;

TEST(UserRegistryTest, ReadsValuesOfTheKeySection)
{
    TempFolder tmp;
    vt::UserRegistry registry(tmp.write("Pellorn/registry.ini",
                                        "[SOFTWARE\\Pellorn]\nUILanguage=Deutsch.ini\nEmpty=\n"));
    EXPECT_EQ(registry.readString("\\SOFTWARE\\Pellorn", "UILanguage"), "Deutsch.ini");
    EXPECT_EQ(registry.readString("software\\pellorn", "uilanguage"), "Deutsch.ini");
    EXPECT_EQ(registry.readString("SOFTWARE\\Pellorn", "Empty"), "");
    EXPECT_FALSE(registry.readString("SOFTWARE\\Pellorn", "Missing"));
    EXPECT_FALSE(registry.readString("SOFTWARE\\Other", "UILanguage"));
}

TEST(UserRegistryTest, DefaultFileFollowsXdgConfigHomeAndWritesCreateIt)
{
    TempFolder tmp;
    ::setenv("XDG_CONFIG_HOME", (tmp.path() + "cfg").c_str(), 1);
    vt::UserRegistry registry;
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(registry.file(), tmp.path() + "cfg/Pellorn/registry.ini");
    EXPECT_FALSE(registry.readString("SOFTWARE\\Pellorn", "UILanguage"));
    ASSERT_TRUE(registry.writeString("SOFTWARE\\Pellorn", "UILanguage", "English.ini"));
    EXPECT_EQ(TempFolder::read(registry.file()), "[SOFTWARE\\Pellorn]\nUILanguage=English.ini\n");
}

} // namespace
