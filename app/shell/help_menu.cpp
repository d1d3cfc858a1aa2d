#include "app/shell/help_menu.h"

#include "app/common/ui_language.h"

namespace {

using vt::common::kAboutText, vt::common::kHelpText, vt::common::kSeparatorText;

// Menu captions show '&' as it is: no letter becomes an access key.
QString literalCaption(const std::string &text)
{
    return QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

THelpMenu::THelpMenu(const vt::common::UiLanguage &language, QWidget *parent)
    : QMenu(parent)
{
    setObjectName(QStringLiteral("HelpMenu"));
    auto addEntry = [this](const QString &name, const std::string &caption) -> QAction * {
        // A caption of "-" is a separator line.
        QAction *action = caption == "-" ? addSeparator() : addAction(literalCaption(caption));
        action->setObjectName(name);
        return action;
    };
    connect(addEntry(QStringLiteral("Help"), language.GetUIText(kHelpText)), &QAction::triggered, this,
            &THelpMenu::helpChosen);
    addEntry(QString(), language.GetUIText(kSeparatorText));
    connect(addEntry(QStringLiteral("About"), language.GetUIText(kAboutText)), &QAction::triggered, this,
            &THelpMenu::aboutChosen);
    addEntry(QString(), language.GetUIText(kSeparatorText));

    int index = 0;
    for (const std::string &file : language.languageFiles()) {
        const QString caption = QString::fromStdString(vt::common::UiLanguage::languageCaption(file));
        QAction *action = addAction(literalCaption(caption.toStdString()));
        action->setObjectName(QStringLiteral("Lang") + QString::number(index++));
        action->setCheckable(true);
        if (language.isCurrentLanguage(file)) {
            action->setChecked(true);
            setDefaultAction(action);
        }
        connect(action, &QAction::triggered, this, [this, caption] { emit languageChosen(caption); });
    }
}

QList<QAction *> THelpMenu::languageActions() const
{
    QList<QAction *> result;
    for (QAction *action : actions()) {
        if (action->objectName().startsWith(QLatin1String("Lang")))
            result << action;
    }
    return result;
}
