#include "app/common/project_reset.h"

#include "app/common/ui_language.h"

#include "platform/test_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace vt::shell;

TEST(ProjectResetTest, EachCallRunsItsOwnStepsInOrder)
{
    std::vector<std::string> ran;
    RegisterResetStep(ResetScope::Project, [&ran] { ran.push_back("clips"); });
    RegisterResetStep(ResetScope::Project, [&ran] { ran.push_back("music"); });
    RegisterResetStep(ResetScope::TitleTexts, [&ran] { ran.push_back("texts"); });
    RegisterResetStep(ResetScope::SharedPictures, [&ran] { ran.push_back("pictures"); });

    ClearProject();
    EXPECT_EQ(ran, (std::vector<std::string> {"clips", "music"}));
    ran.clear();
    FreeTitleTexts();
    EXPECT_EQ(ran, (std::vector<std::string> {"texts"}));
    ran.clear();

    // Freeing the shared pictures also closes the UI language file.
    vt::test::TempFolder tmp;
    UiLanguage &language = programUiLanguage();
    language.LanguageIni = std::make_unique<vt::IniFile>(tmp.write("x.ini", "[Text]\n"));
    FreeSharedPictures();
    EXPECT_EQ(ran, (std::vector<std::string> {"pictures"}));
    EXPECT_FALSE(language.hasLanguageIni());
}

} // namespace
