#include "platform/locale_name.h"

#include <QLocale>
#include <cstdlib>

namespace vt {

namespace {

std::string messagesLocale()
{
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = std::getenv(variable);
        if (value && value[0])
            return value;
    }
    return "C";
}

} // namespace

std::string userLanguageEnglishName()
{
    std::string name = messagesLocale();
    name = name.substr(0, name.find_first_of(".@"));  // "de_DE.UTF-8@euro" → "de_DE"
    const QLocale locale(QString::fromStdString(name));
    std::string english = "English";
    if (name != "C" && name != "POSIX" && locale.language() != QLocale::C)
        english = QLocale::languageToString(locale.language()).toStdString();
    if (english.size() > 30)
        english.resize(30);
    return english;
}

} // namespace vt
