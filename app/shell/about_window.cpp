#include "app/shell/about_window.h"

#include "app/common/extra_ui_texts.h"
#include "app/common/ui_language.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/label.h"
#include "app/widgets/place_control.h"
#include "app/widgets/skin.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"
#include "app/widgets/sui_url_label.h"
#include "platform/ini_file.h"

namespace {

constexpr const char *kVersionSection = "Vantorel Version";
constexpr const char *kDefaultVersion = "Vantorel 5.5";
constexpr const char *kDefaultBuild = "Build on 20080303";

using vt::placeControl;

// The version texts come from the version file, not from a language.
QLabel *versionLabel(QWidget *parent, const char *name, int x, int y, const QColor &colour)
{
    auto *label = placeControl<QLabel>(parent, name, x, y, 300, 30);
    QFont font = label->font();
    font.setPointSize(16);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

TAboutWindow::TAboutWindow(std::string versionFile, QWidget *parent)
    : TsuiForm(parent)
    , versionFile_(std::move(versionFile))
    , noOpenerText_(QString::fromStdString(vt::common::UiLanguage(std::string()).GetUIText(vt::common::kNoOpenerText)))
{
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(QStringLiteral("About Vantorel"));
    setModal(true);
    setTitleBarVisible(false);
    setDragByClient(true);
    setClientSize(kClientWidth, kClientHeight);

    auto *background = new TsuiImagePanel(client());
    background->setGeometry(0, 0, kClientWidth, kClientHeight);
    background->setPicture(vt::Skin::current().picture(QStringLiteral("about_background"),
                                                        QSize(kClientWidth, kClientHeight), vt::Skin::Fit::Scale,
                                                        devicePixelRatioF()));
    background->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The version text twice: a white copy one pixel below and right of the
    // dark one gives it an engraved look.
    Label1 = versionLabel(client(), "Label1", 48, 48, Qt::white);
    Label5 = versionLabel(client(), "Label5", 46, 47, QColor(0x1d, 0x26, 0x35));
    Label2 = placeControl<QLabel>(client(), "Label2", 48, 84, 300, 20);
    QPalette muted = Label2->palette();
    muted.setColor(QPalette::WindowText, QColor(0x4a, 0x58, 0x70));
    Label2->setPalette(muted);

    auto *Label3 = placeControl<TLabel>(client(), "Label3", 48, 136, 90, 20);
    Label3->setText(QStringLiteral("Home page :"));
    auto *suiURLLabel2 = placeControl<TsuiURLLabel>(client(), "suiURLLabel2", 140, 136, 220, 20);
    suiURLLabel2->setText(QStringLiteral("www.vantorel.example"));
    suiURLLabel2->setURL(QLatin1String(kHomePage));
    auto *Label4 = placeControl<TLabel>(client(), "Label4", 48, 160, 90, 20);
    Label4->setText(QStringLiteral("Contact :"));
    auto *suiURLLabel1 = placeControl<TsuiURLLabel>(client(), "suiURLLabel1", 140, 160, 220, 20);
    suiURLLabel1->setText(QStringLiteral("support@vantorel.example"));
    suiURLLabel1->setURL(QLatin1String(kContact));
    for (TsuiURLLabel *link : {suiURLLabel2, suiURLLabel1})
        connect(link, &TsuiURLLabel::openFailed, this, &TAboutWindow::showAddress);

    auto *close = placeControl<TsuiImageButton>(client(), "suiImageButton_Cancel", kClientWidth - 112, kClientHeight - 46,
                                         96, 30);
    close->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    close->setCaption(QStringLiteral("Close"));
    close->setToolTip(QStringLiteral("Close"));
    connect(close, &QAbstractButton::clicked, this, &QDialog::accept);

    loadVersionTexts();
}

void TAboutWindow::localize(const vt::common::UiLanguage &language)
{
    vt::shell::LocalizeForm(this, language);
    noOpenerText_ = QString::fromStdString(language.GetUIText(vt::common::kNoOpenerText));
    loadVersionTexts();
}

void TAboutWindow::showAddress(const QUrl &url)
{
    // A mail address is shown as one, without its "mailto:".
    const QString address = url.scheme() == QLatin1String("mailto") ? url.path() : url.toString();
    vt::DialogService::current().information(this, noOpenerText_ + address);
}

void TAboutWindow::loadVersionTexts()
{
    const vt::IniFile versionFile(versionFile_);
    const QString version = QString::fromStdString(versionFile.readString(kVersionSection, "Version", kDefaultVersion));
    Label1->setText(version);
    Label5->setText(version);
    Label2->setText(QString::fromStdString(versionFile.readString(kVersionSection, "Build", kDefaultBuild)));
}
