// The home window: the four working modes with their descriptions under
// the mouse, the help menu (help, about, UI language), settings, home page,
// minimise and exit.
#pragma once

#include "app/widgets/sui_form.h"

#include <QPointer>

#include <array>
#include <string>

class TLabel;
#include "app/shell/help_menu.h"
class QUrl;
class TsuiImageButton;
class TsuiImagePanel;

namespace vt::common {
class SharedBitmaps;
class UiLanguage;
}
namespace vt::shell {
class ProgramWindows;
}

class TMainWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 581;
    static constexpr int kClientHeight = 394;
    static constexpr const char *kHomePage = "https://www.vantorel.example/";
    static constexpr const char *kHelpFile = "PellornHelp.html";

    enum class Mode { None = -1, Builder, Converter, Compiler, Burner };

    // Loads the shared item bitmaps from programFolder + "RES/"; a picture
    // that cannot be loaded is reported and stays empty.
    TMainWindow(vt::shell::ProgramWindows &windows, vt::common::UiLanguage &language,
                vt::common::SharedBitmaps &bitmaps, std::string programFolder, QWidget *parent = nullptr);

    // The mode whose description is shown (None: the background).
    Mode description() const { return description_; }
    void describe(Mode mode);

    // Builds the help menu afresh (the language files may have changed).
    THelpMenu *buildHelpMenu();
    THelpMenu *helpMenu() const { return helpMenu_; }
    // Loads the language file of a help menu entry and applies it to every
    // window at once; false when the file is missing.
    bool switchLanguage(const QString &caption);
    void showHelp();

    // Hides the home window, shows the mode's first window modally, and
    // shows the home window again when it closes.
    void enterMode(Mode mode);

    const std::string &resourceFolder() const { return resourceFolder_; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Hands url to the desktop; without a desktop opener, tells the user
    // where it is.
    void openOrSayWhere(const QUrl &url);
    TsuiImageButton *addToolButton(const char *name, const char *picture, int x, const QString &hint);

    vt::shell::ProgramWindows &windows_;
    vt::common::UiLanguage &language_;
    vt::common::SharedBitmaps &bitmaps_;
    std::string programFolder_;
    std::string resourceFolder_;
    bool shownOnce_ = false;
    Mode description_ = Mode::None;
    QPointer<THelpMenu> helpMenu_;

    TsuiImagePanel *background_;
    std::array<TsuiImageButton *, 4> modeButtons_;
    std::array<TsuiImagePanel *, 4> descriptionPictures_;
    TLabel *Label_Description;
};
