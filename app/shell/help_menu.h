// The home window's help pop-up menu: help, about, and one entry per UI
// language file of the language folder, the current one checked.
#pragma once

#include <QMenu>

namespace vt::shell {
class UiLanguage;
}

class THelpMenu : public QMenu {
    Q_OBJECT

public:
    // Builds the entries from the language's texts and its folder listing.
    THelpMenu(const vt::common::UiLanguage &language, QWidget *parent = nullptr);

    // The language entries ("Lang0", "Lang1", …) in menu order.
    QList<QAction *> languageActions() const;

signals:
    void helpChosen();
    void aboutChosen();
    // caption: the file name without its extension, as shown.
    void languageChosen(const QString &caption);

private:
};
