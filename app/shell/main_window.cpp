#include "app/shell/main_window.h"

#include "app/burn/burn_window.h"
#include "app/burn/setup_dvd_file_window.h"
#include "app/menu/setup_menu_window.h"
#include "app/project/setup_clip_window.h"

#include "app/common/program_files.h"
#include "app/common/project_reset.h"
#include "app/common/shared_bitmaps.h"
#include "app/common/ui_language.h"
#include "app/shell/about_window.h"
#include "app/common/extra_ui_texts.h"
#include "app/shell/help_menu.h"
#include "app/shell/localize_form.h"
#include "app/shell/option_window.h"
#include "app/shell/program_windows.h"
#include "app/widgets/desktop_opener.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/label.h"
#include "app/widgets/skin.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QUrl>

namespace {

constexpr const char *kEnglishLanguageFile = "English.ini";
using vt::common::kFirstDescriptionText;

struct ModeLook {
    const char *button;
    const char *picture;
    const char *caption;
    const char *descriptionImage;
    const char *descriptionPicture;
};

constexpr std::array<ModeLook, 4> kModes = {{
    {"suiImageButton_Builder", "mode_builder", "One-Step Builder", "Image_Builder", "description_builder"},
    {"suiImageButton_Converter", "mode_converter", "Converter", "Image_Vob", "description_converter"},
    {"suiImageButton_Compiler", "mode_compiler", "Compiler", "Image_Menu", "description_compiler"},
    {"suiImageButton_Burner", "mode_burner", "Burner", "Image_Burn", "description_burner"},
}};

constexpr int kModeTop = 80, kModeSize = 120, kModeLeft = 22, kModeStep = 139;

} // namespace

TMainWindow::TMainWindow(vt::shell::ProgramWindows &windows, vt::common::UiLanguage &language,
                         vt::common::SharedBitmaps &bitmaps, std::string programFolder, QWidget *parent)
    : TsuiForm(parent, Qt::Window)
    , windows_(windows)
    , language_(language)
    , bitmaps_(bitmaps)
    , programFolder_(std::move(programFolder))
    , resourceFolder_(programFolder_ + vt::common::kResFolder)
{
    setObjectName(QStringLiteral("MainWindow"));
    setTitleBarVisible(false);
    setDragByClient(true);
    setClientSize(kClientWidth, kClientHeight);

    const qreal dpr = devicePixelRatioF();
    const vt::Skin &skin = vt::Skin::current();
    background_ = new TsuiImagePanel(client());
    background_->setGeometry(0, 0, kClientWidth, kClientHeight);
    background_->setPicture(skin.picture(QStringLiteral("home_background"), QSize(kClientWidth, kClientHeight),
                                         vt::Skin::Fit::Scale, dpr));
    background_->setMouseTracking(true);
    background_->installEventFilter(this);

    for (size_t i = 0; i < kModes.size(); ++i) {
        auto *button = new TsuiImageButton(client());
        button->setObjectName(QLatin1String(kModes[i].button));
        button->setGeometry(kModeLeft + int(i) * kModeStep, kModeTop, kModeSize, kModeSize);
        button->setSkinPicture(QLatin1String(kModes[i].picture), vt::Skin::Fit::Natural);
        button->setCaption(QLatin1String(kModes[i].caption));
        button->setCaptionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        button->installEventFilter(this);
        const auto mode = static_cast<Mode>(i);
        connect(button, &QAbstractButton::clicked, this, [this, mode] { enterMode(mode); });
        modeButtons_[i] = button;
    }
    for (size_t i = 0; i < kModes.size(); ++i) {
        auto *picture = new TsuiImagePanel(client());
        picture->setObjectName(QLatin1String(kModes[i].descriptionImage));
        picture->setGeometry(15, 210, 340, 65);
        picture->setPicture(
            skin.picture(QLatin1String(kModes[i].descriptionPicture), QSize(340, 65), vt::Skin::Fit::Scale, dpr));
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        picture->hide();
        descriptionPictures_[i] = picture;
    }
    Label_Description = new TLabel(client());
    Label_Description->setObjectName(QStringLiteral("Label_Description"));
    Label_Description->setGeometry(30, 221, 300, 76);
    Label_Description->setWordWrap(true);
    Label_Description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label_Description->setAttribute(Qt::WA_TransparentForMouseEvents);

    connect(addToolButton("suiImageButton_Home", "tool_home", 387, QStringLiteral("Home page")),
            &QAbstractButton::clicked, this, [this] { openOrSayWhere(QUrl(QLatin1String(kHomePage))); });
    connect(addToolButton("suiImageButton_Option", "tool_option", 423, QStringLiteral("Options")),
            &QAbstractButton::clicked, this, [this] { windows_.OptionWindow->exec(); });
    connect(addToolButton("suiImageButton_Help", "tool_help", 459, QStringLiteral("Help")),
            &QAbstractButton::clicked, this, [this] { buildHelpMenu()->popup(QCursor::pos()); });
    connect(addToolButton("suiImageButton_Min", "tool_min", 503, QStringLiteral("Minimiaze")),
            &QAbstractButton::clicked, this, [this] { showMinimized(); });
    connect(addToolButton("suiImageButton_Exit", "tool_exit", 539, QStringLiteral("Close")),
            &QAbstractButton::clicked, this, [this] {
                close();
                QApplication::quit();
            });

    vt::common::ClearProject();
    for (const std::string &error : bitmaps_.load(resourceFolder_))
        vt::DialogService::current().error(this, QString::fromStdString(error));
}

TsuiImageButton *TMainWindow::addToolButton(const char *name, const char *picture, int x, const QString &hint)
{
    auto *button = new TsuiImageButton(client());
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, 18, 32, 32);
    button->setSkinPicture(QLatin1String(picture), vt::Skin::Fit::Natural);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void TMainWindow::describe(Mode mode)
{
    if (mode == description_)
        return;
    description_ = mode;
    const int index = static_cast<int>(mode);
    if (language_.UILanguage == kEnglishLanguageFile) {
        for (int i = 0; i < 4; ++i)
            descriptionPictures_[i]->setVisible(i == index);
        Label_Description->clear();
        return;
    }
    for (TsuiImagePanel *picture : descriptionPictures_)
        picture->hide();
    Label_Description->setText(mode == Mode::None ? QString()
                                                  : QString::fromStdString(
                                                        language_.GetUIText(vt::common::kFirstDescriptionText + index)));
}

bool TMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == background_ && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)) {
        describe(Mode::None);
    } else if (event->type() == QEvent::Enter) {
        for (size_t i = 0; i < modeButtons_.size(); ++i) {
            if (watched == modeButtons_[i])
                describe(static_cast<Mode>(i));
        }
    }
    return TsuiForm::eventFilter(watched, event);
}

THelpMenu *TMainWindow::buildHelpMenu()
{
    delete helpMenu_;
    helpMenu_ = new THelpMenu(language_, this);
    connect(helpMenu_, &THelpMenu::helpChosen, this, &TMainWindow::showHelp);
    connect(helpMenu_, &THelpMenu::aboutChosen, this, [this] { windows_.AboutWindow->exec(); });
    connect(helpMenu_, &THelpMenu::languageChosen, this, &TMainWindow::switchLanguage);
    return helpMenu_;
}

bool TMainWindow::switchLanguage(const QString &caption)
{
    if (!language_.LoadUILanguage(caption.toStdString() + ".ini"))
        return false;
    vt::shell::ApplyUILanguage(windows_.inOrder(), language_);
    return true;
}

void TMainWindow::showHelp()
{
    openOrSayWhere(QUrl::fromLocalFile(QString::fromStdString(programFolder_ + kHelpFile)));
}

void TMainWindow::openOrSayWhere(const QUrl &url)
{
    if (vt::openWithDesktop(url))
        return;
    const QString where = url.isLocalFile() ? url.toLocalFile() : url.toString();
    vt::DialogService::current().information(
        this, QString::fromStdString(language_.GetUIText(vt::common::kNoOpenerText)) + where);
}

void TMainWindow::enterMode(Mode mode)
{
    QDialog *const firstWindows[] = {windows_.SetupClipWindow, windows_.SetupClipWindow, windows_.SetupMenuWindow,
                                     windows_.SetupDVDFileWindow};
    QDialog *window = firstWindows[static_cast<int>(mode)];
    if (mode == Mode::Compiler)
        windows_.SetupMenuWindow->enterCompilerMode();
    if (mode == Mode::Builder || mode == Mode::Converter)
        windows_.SetupClipWindow->enterMode(mode == Mode::Builder ? TSetupClipWindow::Mode::Builder
                                                                  : TSetupClipWindow::Mode::Converter);
    if (mode == Mode::Burner)
        windows_.BurnWindow->reset();
    hide();
    window->exec();
    show();
}

void TMainWindow::showEvent(QShowEvent *event)
{
    TsuiForm::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (language_.LoadUILanguage(language_.UILanguage))
        vt::shell::ApplyUILanguage(windows_.inOrder(), language_);
}

void TMainWindow::keyPressEvent(QKeyEvent *event)
{
    // The home window is the program: Escape does not close it.
    if (event->key() == Qt::Key_Escape)
        return;
    TsuiForm::keyPressEvent(event);
}

void TMainWindow::closeEvent(QCloseEvent *event)
{
    delete helpMenu_;
    vt::common::ClearProject();
    vt::common::FreeTitleTexts();
    bitmaps_.free();
    language_.closeLanguageIni();
    vt::common::FreeSharedPictures();
    TsuiForm::closeEvent(event);
}
