#include "app/shell/option_window.h"

#include "app/widgets/dialog_service.h"
#include "app/widgets/exclusive_pair.h"
#include "app/widgets/label.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_edit.h"
#include "app/widgets/sui_font_size_combo_box.h"
#include "app/widgets/sui_group_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"
#include "app/widgets/sui_spin_edit.h"

#include <QLineEdit>

using vt::shell::ComboBoxModel;
using vt::shell::OptionPage;

namespace {

constexpr int kPageX = 12, kPageY = 56, kPageWidth = 446, kPageHeight = 250;
constexpr int kFieldX = 138;  // where the fields of a page start, right of their labels
constexpr int kRowHeight = 26;

template <typename W>
W *place(QWidget *parent, const char *name, int x, int y, int width, int height)
{
    auto *widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, width, height);
    return widget;
}

TLabel *addLabel(QWidget *parent, const char *name, const QString &caption, int x, int y, int width)
{
    auto *label = place<TLabel>(parent, name, x, y, width, kRowHeight);
    label->setText(caption);
    label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    return label;
}

void showCombo(QComboBox *combo, const ComboBoxModel &model)
{
    combo->clear();
    for (const std::string &item : model.items)
        combo->addItem(QString::fromStdString(item));
    combo->setCurrentIndex(model.itemIndex);
    if (combo->isEditable())
        combo->setEditText(QString::fromStdString(model.text));
}

void readCombo(const QComboBox *combo, ComboBoxModel &model)
{
    model.itemIndex = combo->currentIndex();
    model.text = combo->currentText().toStdString();
}

} // namespace

TOptionWindow::TOptionWindow(vt::shell::Settings &settings, vt::shell::UiLanguage &language,
                             vt::shell::SettingsEnvironment environment, QWidget *parent)
    : TsuiForm(parent)
    , language_(language)
    , model_(settings, language, std::move(environment))
{
    setObjectName(QStringLiteral("OptionWindow"));
    setWindowTitle(QStringLiteral("Options"));
    setClientSize(kClientWidth, kClientHeight);
    setModal(true);

    suiImageButton_General = addTabButton("suiImageButton_General", QStringLiteral("General"), kPageX);
    suiImageButton_Language = addTabButton("suiImageButton_Language", QStringLiteral("Language"), kPageX + 116);
    suiImageButton_Burner = addTabButton("suiImageButton_Burner", QStringLiteral("Burner"), kPageX + 232);

    suiImagePanel_General = place<TsuiImagePanel>(client(), "suiImagePanel_General", kPageX, kPageY, kPageWidth,
                                                   kPageHeight);
    suiImagePanel_Language = place<TsuiImagePanel>(client(), "suiImagePanel_Language", kPageX, kPageY,
                                                    kPageWidth, kPageHeight);
    suiImagePanel_Burner = place<TsuiImagePanel>(client(), "suiImagePanel_Burner", kPageX, kPageY, kPageWidth,
                                                  kPageHeight);
    for (TsuiImagePanel *panel : {suiImagePanel_General, suiImagePanel_Language, suiImagePanel_Burner})
        panel->setSkinPicture(QStringLiteral("page"));
    buildGeneralPage();
    buildLanguagePage();
    buildBurnerPage();

    auto *okButton = place<TsuiImageButton>(client(), "suiImageButton_Ok", kClientWidth - 12 - 96 - 8 - 96,
                                            kClientHeight - 44, 96, 30);
    okButton->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    okButton->setCaption(QStringLiteral("OK"));
    auto *cancelButton = place<TsuiImageButton>(client(), "suiImageButton_Cancel", kClientWidth - 12 - 96,
                                                kClientHeight - 44, 96, 30);
    cancelButton->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    cancelButton->setCaption(QStringLiteral("Cancel"));
    connect(okButton, &QAbstractButton::clicked, this, &TOptionWindow::ok);
    connect(cancelButton, &QAbstractButton::clicked, this, &QDialog::reject);

    model_.create();
    showControls();
    switchPage(OptionPage::General);
}

TOptionWindow::~TOptionWindow()
{
    model_.SaveSettings();
}

TsuiImageButton *TOptionWindow::addTabButton(const char *name, const QString &caption, int x)
{
    auto *button = place<TsuiImageButton>(client(), name, x, 14, 110, 34);
    button->setSkinPicture(QStringLiteral("tab"), vt::Skin::Fit::NineSlice);
    button->setCaption(caption);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QAbstractButton::clicked, this, [this, button] {
        switchPage(button == suiImageButton_General    ? OptionPage::General
                   : button == suiImageButton_Language ? OptionPage::Language
                                                       : OptionPage::Burner);
    });
    return button;
}

vt::ExclusivePair *TOptionWindow::addPair(QWidget *page, int y, const char *firstName, const QString &firstCaption,
                                          const char *firstPicture, const char *secondName,
                                          const QString &secondCaption, const char *secondPicture)
{
    const bool pictures = firstPicture && secondPicture;
    const int boxOffset = pictures ? 34 : 0;
    auto *first = place<TsuiCheckBox>(page, firstName, kFieldX + boxOffset, y, 146 - boxOffset, kRowHeight);
    first->setText(firstCaption);
    auto *second = place<TsuiCheckBox>(page, secondName, kFieldX + 150 + boxOffset, y, 124, kRowHeight);
    second->setText(secondCaption);
    auto *pair = new vt::ExclusivePair(first, second);
    if (pictures) {
        const std::pair<const char *, TsuiCheckBox *> buttons[] = {{firstPicture, first}, {secondPicture, second}};
        for (const auto &[picture, box] : buttons) {
            const QString name = QStringLiteral("suiImageButton") + QLatin1String(picture).mid(QLatin1String(picture).indexOf(QLatin1Char('_')));
            auto *button = new TsuiImageButton(page);
            button->setObjectName(name);
            button->setGeometry(box->x() - 34, y - 2, 30, 30);
            button->setSkinPicture(QLatin1String(picture), vt::Skin::Fit::Natural);
            button->setFocusPolicy(Qt::NoFocus);
            connect(button, &QAbstractButton::clicked, pair, [pair, box] { pair->choose(box); });
        }
    }
    return pair;
}

void TOptionWindow::buildGeneralPage()
{
    QWidget *page = suiImagePanel_General;
    addLabel(page, "Label_Ratio", QStringLiteral("Picture Shape :"), 16, 14, 118);
    ratioPair_ = addPair(page, 14, "suiCheckBox_4_3", QStringLiteral(" 4:3 Standard"), "picture_4_3", "suiCheckBox_16_9",
                         QStringLiteral(" 16:9 Wide"), "picture_16_9");
    addLabel(page, "Label_System", QStringLiteral("TV System :"), 16, 48, 118);
    systemPair_ = addPair(page, 48, "suiCheckBox_NTSC", QStringLiteral(" NTSC"), "picture_NTSC", "suiCheckBox_PAL",
                          QStringLiteral(" PAL"), "picture_PAL");
    addLabel(page, "Label_Disc", QStringLiteral("Disc Type :"), 16, 82, 118);
    discPair_ = addPair(page, 82, "suiCheckBox_D5", QStringLiteral(" DVD-5"), "picture_D5", "suiCheckBox_D9",
                        QStringLiteral(" DVD-9"), "picture_9");

    addLabel(page, "Label_Duration", QStringLiteral("Menu Duration :"), 16, 118, 118);
    suiSpinEdit_Duration = place<TsuiSpinEdit>(page, "suiSpinEdit_Duration", kFieldX, 118, 76, kRowHeight);
    suiSpinEdit_Duration->setRange(vt::shell::kDurationMin, vt::shell::kDurationMax);
    suiSpinEdit_Duration->setSuffix(QStringLiteral(" s"));
    addLabel(page, "Label_SafeDistance", QStringLiteral("Safe Distance :"), 234, 118, 110);
    suiSpinEdit_DVDMenuSafeDistance =
        place<TsuiSpinEdit>(page, "suiSpinEdit_DVDMenuSafeDistance", 346, 118, 84, kRowHeight);
    suiSpinEdit_DVDMenuSafeDistance->setRange(vt::shell::kSafeDistanceMin, vt::shell::kSafeDistanceMax);
    suiSpinEdit_DVDMenuSafeDistance->setSuffix(QStringLiteral(" px"));

    addLabel(page, "Label_MenuLanguage", QStringLiteral("DVD Language :"), 16, 152, 118);
    suiComboBox_MenuLanguage = place<TsuiComboBox>(page, "suiComboBox_MenuLanguage", kFieldX, 152, 208, kRowHeight);

    addLabel(page, "Label_OutputFolder", QStringLiteral("Output Folder :"), 16, 186, 118);
    suiEdit_OutputFolder = place<TsuiEdit>(page, "suiEdit_OutputFolder", kFieldX, 186, 256, kRowHeight);
    suiEdit_OutputFolder->setReadOnly(true);
    auto *browse = place<TsuiImageButton>(page, "suiImageButton_Browse", kFieldX + 262, 183, 32, 32);
    browse->setSkinPicture(QStringLiteral("tool_browse"), vt::Skin::Fit::Natural);
    connect(browse, &QAbstractButton::clicked, this, &TOptionWindow::browse);

    suiCheckBox_DeleteTemp = place<TsuiCheckBox>(page, "suiCheckBox_DeleteTemp", kFieldX, 218, 260, kRowHeight);
    suiCheckBox_DeleteTemp->setText(QStringLiteral(" Delete Temp Files"));
}

void TOptionWindow::buildLanguagePage()
{
    QWidget *page = suiImagePanel_Language;
    addLabel(page, "Label_FontSize", QStringLiteral("Subtitle Font Size :"), 16, 14, 140);
    suiFontSizeComboBox = place<TsuiFontSizeComboBox>(page, "suiFontSizeComboBox", kFieldX + 20, 14, 84, kRowHeight);

    auto *group = place<TsuiGroupBox>(page, "suiGroupBox_UserDefine", 10, 52, kPageWidth - 20, 186);
    group->setTitle(QStringLiteral("User Define Subtitle Property"));
    const struct {
        const char *label, *combo;
        const char *caption;
        TsuiComboBox **field;
    } rows[] = {
        {"Label_SubtitleLanguage", "suiComboBox_SubtitleLanguage", "Language Name :", &suiComboBox_SubtitleLanguage},
        {"Label_FontFile", "suiComboBox_FontFile", "Font File :", &suiComboBox_FontFile},
        {"Label_CharSet", "suiComboBox_CharSet", "Character Set :", &suiComboBox_CharSet},
        {"Label_LanguageCode", "suiComboBox_LanguageCode", "Language Code :", &suiComboBox_LanguageCode},
    };
    int y = 28;
    for (const auto &row : rows) {
        addLabel(group, row.label, QLatin1String(row.caption), 14, y, 124);
        *row.field = place<TsuiComboBox>(group, row.combo, kFieldX - 10, y, 170, kRowHeight);
        (*row.field)->setEditable(true);
        (*row.field)->setInsertPolicy(QComboBox::NoInsert);
        y += 36;
    }
    auto *load = place<TsuiImageButton>(group, "suiImageButton_Load", kFieldX + 172, 136, 108, 30);
    load->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    load->setCaption(QStringLiteral("Save"));
    connect(load, &QAbstractButton::clicked, this, &TOptionWindow::loadUserSubtitleLanguage);
    connect(suiComboBox_SubtitleLanguage, &QComboBox::activated, this, &TOptionWindow::subtitleLanguageChanged);
}

void TOptionWindow::buildBurnerPage()
{
    QWidget *page = suiImagePanel_Burner;
    addLabel(page, "Label_Engine", QStringLiteral("Burning Engine :"), 16, 18, 118);
    burnerPair_ = addPair(page, 18, "suiCheckBox_Burner1", QStringLiteral(" Burner 1"), nullptr,
                          "suiCheckBox_Burner2", QStringLiteral(" Burner 2"), nullptr);
    Label3 = addLabel(page, "Label3", QStringLiteral("* Restart software required for the change to take effect"),
                      kFieldX, 46, 300);
    Label3->setGeometry(kFieldX, 44, 292, 36);
    Label3->setWordWrap(true);
    QPalette notice = Label3->palette();
    notice.setColor(QPalette::WindowText, QColor(0xb4, 0x4a, 0x1e));
    Label3->setPalette(notice);

    addLabel(page, "Label_Transport", QStringLiteral("Device Access :"), 16, 96, 118);
    transportPair_ = addPair(page, 96, "suiCheckBox_SPTI", QStringLiteral(" SPTI"), nullptr, "suiCheckBox_ASPI",
                             QStringLiteral(" ASPI"), nullptr);

    suiCheckBox3 = place<TsuiCheckBox>(page, "suiCheckBox3", kFieldX, 140, 280, kRowHeight);
    suiCheckBox3->setText(QStringLiteral(" Auto Modify IFO File"));
}

void TOptionWindow::switchPage(OptionPage page)
{
    model_.switchPage(page);
    const std::pair<TsuiImageButton *, TsuiImagePanel *> pages[] = {
        {suiImageButton_General, suiImagePanel_General},
        {suiImageButton_Language, suiImagePanel_Language},
        {suiImageButton_Burner, suiImagePanel_Burner},
    };
    const int chosen = static_cast<int>(page);
    for (int i = 0; i < 3; ++i) {
        pages[i].second->setVisible(i == chosen);
        pages[i].first->setEnabled(i != chosen);
    }
}

void TOptionWindow::showEvent(QShowEvent *event)
{
    model_.show();
    showControls();
    switchPage(OptionPage::General);
    TsuiForm::showEvent(event);
}

void TOptionWindow::showControls()
{
    showingControls_ = true;
    const vt::shell::OptionControls &c = model_.controls;
    suiCheckBox_DeleteTemp->setChecked(c.suiCheckBox_DeleteTemp);
    ratioPair_->setFirstChosen(c.suiCheckBox_4_3);
    systemPair_->setFirstChosen(c.suiCheckBox_NTSC);
    discPair_->setFirstChosen(c.suiCheckBox_D5);
    suiSpinEdit_Duration->setValue(c.suiSpinEdit_Duration);
    suiSpinEdit_DVDMenuSafeDistance->setValue(c.suiSpinEdit_DVDMenuSafeDistance);
    showCombo(suiComboBox_MenuLanguage, c.suiComboBox_MenuLanguage);
    suiEdit_OutputFolder->setText(QString::fromStdString(c.suiEdit_OutputFolder));
    suiEdit_OutputFolder->setCursorPosition(0);
    suiFontSizeComboBox->setFontSize(c.suiFontSizeComboBox);
    showCombo(suiComboBox_SubtitleLanguage, c.suiComboBox_SubtitleLanguage);
    showCombo(suiComboBox_FontFile, c.suiComboBox_FontFile);
    showCombo(suiComboBox_CharSet, c.suiComboBox_CharSet);
    showCombo(suiComboBox_LanguageCode, c.suiComboBox_LanguageCode);
    burnerPair_->setFirstChosen(c.suiCheckBox_Burner1);
    transportPair_->setFirstChosen(c.suiCheckBox_SPTI);
    suiCheckBox3->setChecked(c.suiCheckBox3);
    showingControls_ = false;
}

void TOptionWindow::readControls()
{
    vt::shell::OptionControls &c = model_.controls;
    c.suiCheckBox_DeleteTemp = suiCheckBox_DeleteTemp->isChecked();
    c.suiCheckBox_4_3 = ratioPair_->firstChosen();
    c.suiCheckBox_16_9 = !c.suiCheckBox_4_3;
    c.suiCheckBox_NTSC = systemPair_->firstChosen();
    c.suiCheckBox_PAL = !c.suiCheckBox_NTSC;
    c.suiCheckBox_D5 = discPair_->firstChosen();
    c.suiCheckBox_D9 = !c.suiCheckBox_D5;
    c.suiSpinEdit_Duration = suiSpinEdit_Duration->value();
    c.suiSpinEdit_DVDMenuSafeDistance = suiSpinEdit_DVDMenuSafeDistance->value();
    readCombo(suiComboBox_MenuLanguage, c.suiComboBox_MenuLanguage);
    c.suiEdit_OutputFolder = suiEdit_OutputFolder->text().toStdString();
    c.suiFontSizeComboBox = suiFontSizeComboBox->fontSize();
    readCombo(suiComboBox_SubtitleLanguage, c.suiComboBox_SubtitleLanguage);
    readCombo(suiComboBox_FontFile, c.suiComboBox_FontFile);
    readCombo(suiComboBox_CharSet, c.suiComboBox_CharSet);
    readCombo(suiComboBox_LanguageCode, c.suiComboBox_LanguageCode);
    c.suiCheckBox_Burner1 = burnerPair_->firstChosen();
    c.suiCheckBox_Burner2 = !c.suiCheckBox_Burner1;
    c.suiCheckBox_SPTI = transportPair_->firstChosen();
    c.suiCheckBox_ASPI = !c.suiCheckBox_SPTI;
    c.suiCheckBox3 = suiCheckBox3->isChecked();
}

void TOptionWindow::ok()
{
    readControls();
    const vt::shell::OkResult result = model_.ok();
    vt::DialogService &dialogs = vt::DialogService::current();
    if (!result.saved)
        dialogs.error(this, QString::fromStdString(result.error));
    if (result.restartNotice)
        dialogs.information(this, QString::fromStdString(result.restartText));
    accept();
}

void TOptionWindow::browse()
{
    const QString folder = vt::DialogService::current().chooseFolder(
        this, QString::fromStdString(language_.GetUIText(67)), suiEdit_OutputFolder->text());
    if (folder.isEmpty())
        return;
    readControls();
    model_.browse(folder.toStdString());
    showControls();
}

void TOptionWindow::subtitleLanguageChanged()
{
    if (showingControls_)
        return;
    readControls();
    model_.subtitleLanguageChanged();
    showControls();
}

void TOptionWindow::loadUserSubtitleLanguage()
{
    readControls();
    const vt::shell::AddRegionResult result = model_.loadUserSubtitleLanguage();
    showControls();
    if (!result.message.empty())
        vt::DialogService::current().information(this, QString::fromStdString(result.message));
}
