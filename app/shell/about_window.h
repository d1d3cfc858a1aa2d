// The about window: the program's version and build texts from the version
// file in the program folder, the home page and contact links. When no
// desktop program can open a link, a message shows its address to copy.
#pragma once

#include "app/shell/localize_form.h"
#include "app/widgets/sui_form.h"

#include <string>

class QLabel;
class QUrl;
class TLabel;
class TsuiURLLabel;

class TAboutWindow : public TsuiForm, public vt::shell::LocalizedWindow {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 400;
    static constexpr int kClientHeight = 250;
    static constexpr const char *kHomePage = "https://www.vantorel.example/";
    static constexpr const char *kContact = "mailto:support@vantorel.example";

    // versionFile: the ini-format version file ([Vantorel Version] Version, Build).
    explicit TAboutWindow(std::string versionFile, QWidget *parent = nullptr);

    // Captions and hints from the language, then the version texts again.
    void localize(const vt::common::UiLanguage &language) override;
    void loadVersionTexts();

private:
    void showAddress(const QUrl &url);

    std::string versionFile_;
    QString noOpenerText_;
    QLabel *Label1, *Label5, *Label2;
};
