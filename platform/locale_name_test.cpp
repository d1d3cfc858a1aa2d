#include "platform/locale_name.h"

#include <gtest/gtest.h>

namespace {

TEST(LocaleNameTest, EnglishNameOfTheEnvironmentsLanguage)
{
    struct Case {
        const char *locale, *expected;
    } cases[] = {{"de_DE.UTF-8", "German"}, {"en_US.UTF-8", "English"}, {"fr_FR", "French"}, {"C", "English"}, {"POSIX", "English"}};
    for (const Case &c : cases) {
        ::setenv("LC_ALL", c.locale, 1);
        EXPECT_EQ(vt::userLanguageEnglishName(), c.expected) << c.locale;
    }
    ::unsetenv("LC_ALL");
}

} // namespace
