#include "app/shell/standard_dialog_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace vt::shell {

void UseStandardDialogLanguage(const QString &locale)
{
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    if (locale.isEmpty() || locale.startsWith(QLatin1String("en")))
        return;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(locale), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
}

} // namespace vt::shell
