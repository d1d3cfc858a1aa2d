#include "app/shell/option_window.h"

#include "app/widgets/place_control.h"
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

using vt::placeControl;

TLabel *addLabel(QWidget *parent, const char *name, const QString &caption, int x, int y, int width)
{
    auto *label = placeControl<TLabel>(parent, name, x, y, width, kRowHeight);
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

TOptionWindow::TOptionWindow(vt::common::Settings &settings, vt::common::UiLanguage &language,
                             vt::common::SettingsEnvironment environment, QWidget *parent)
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

    suiImagePanel_General = placeControl<TsuiImagePanel>(client(), "suiImagePanel_General", kPageX, kPageY, kPageWidth,
                                                   kPageHeight);
    suiImagePanel_Language = placeControl<TsuiImagePanel>(client(), "suiImagePanel_Language", kPageX, kPageY,
                                                    kPageWidth, kPageHeight);
    suiImagePanel_Burner = placeControl<TsuiImagePanel>(client(), "suiImagePanel_Burner", kPageX, kPageY, kPageWidth,
                                                  kPageHeight);
    for (TsuiImagePanel *panel : {suiImagePanel_General, suiImagePanel_Language, suiImagePanel_Burner})
        panel->setSkinPicture(QStringLiteral("page"));
    buildGeneralPage();
    buildLanguagePage();
    buildBurnerPage();

    auto *okButton = placeControl<TsuiImageButton>(client(), "suiImageButton_Ok", kClientWidth - 12 - 96 - 8 - 96,
                                            kClientHeight - 44, 96, 30);
    okButton->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    okButton->setCaption(QStringLiteral("OK"));
    auto *cancelButton = placeControl<TsuiImageButton>(client(), "suiImageButton_Cancel", kClientWidth - 12 - 96,
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
    auto *button = placeControl<TsuiImageButton>(client(), name, x, 14, 110, 34);
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

vt::ExclusivePair *TOptionWindow::addPair(QWidget *page, int y, const PairBox &first, const PairBox &second)
{
    // Two columns of 150 pixels; a picture button takes the first 34 of its column.
    TsuiCheckBox *boxes[2];
    const PairBox *looks[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        const int column = kFieldX + i * 150;
        const int pictureWidth = looks[i]->button ? 34 : 0;
        boxes[i] = placeControl<TsuiCheckBox>(page, looks[i]->name, column + pictureWidth, y, 146 - pictureWidth,
                                              kRowHeight);
        boxes[i]->setText(QLatin1String(looks[i]->caption));
    }
    auto *pair = new vt::ExclusivePair(boxes[0], boxes[1]);
    for (int i = 0; i < 2; ++i) {
        if (!looks[i]->button)
            continue;
        auto *button = placeControl<TsuiImageButton>(page, looks[i]->button, kFieldX + i * 150, y - 2, 30, 30);
        button->setSkinPicture(QLatin1String(looks[i]->picture), vt::Skin::Fit::Natural);
        button->setFocusPolicy(Qt::NoFocus);
        TsuiCheckBox *box = boxes[i];
        connect(button, &QAbstractButton::clicked, pair, [pair, box] { pair->choose(box); });
    }
    return pair;
}

void TOptionWindow::buildGeneralPage()
{
    QWidget *page = suiImagePanel_General;
    addLabel(page, "Label_Ratio", QStringLiteral("Picture Shape :"), 16, 14, 118);
    ratioPair_ = addPair(page, 14, {"suiCheckBox_4_3", " 4:3 Standard", "suiImageButton_4_3", "picture_4_3"},
                         {"suiCheckBox_16_9", " 16:9 Wide", "suiImageButton_16_9", "picture_16_9"});
    addLabel(page, "Label_System", QStringLiteral("TV System :"), 16, 48, 118);
    systemPair_ = addPair(page, 48, {"suiCheckBox_NTSC", " NTSC", "suiImageButton_NTSC", "picture_NTSC"},
                          {"suiCheckBox_PAL", " PAL", "suiImageButton_PAL", "picture_PAL"});
    addLabel(page, "Label_Disc", QStringLiteral("Disc Type :"), 16, 82, 118);
    discPair_ = addPair(page, 82, {"suiCheckBox_D5", " DVD-5", "suiImageButton_D5", "picture_D5"},
                        {"suiCheckBox_D9", " DVD-9", "suiImageButton_9", "picture_9"});

    addLabel(page, "Label_Duration", QStringLiteral("Menu Duration :"), 16, 118, 118);
    suiSpinEdit_Duration = placeControl<TsuiSpinEdit>(page, "suiSpinEdit_Duration", kFieldX, 118, 76, kRowHeight);
    suiSpinEdit_Duration->setRange(vt::common::kDurationMin, vt::common::kDurationMax);
    suiSpinEdit_Duration->setSuffix(QStringLiteral(" s"));
    addLabel(page, "Label_SafeDistance", QStringLiteral("Safe Distance :"), 234, 118, 110);
    suiSpinEdit_DVDMenuSafeDistance =
        placeControl<TsuiSpinEdit>(page, "suiSpinEdit_DVDMenuSafeDistance", 346, 118, 84, kRowHeight);
    suiSpinEdit_DVDMenuSafeDistance->setRange(vt::common::kSafeDistanceMin, vt::common::kSafeDistanceMax);
    suiSpinEdit_DVDMenuSafeDistance->setSuffix(QStringLiteral(" px"));

    addLabel(page, "Label_MenuLanguage", QStringLiteral("DVD Language :"), 16, 152, 118);
    suiComboBox_MenuLanguage = placeControl<TsuiComboBox>(page, "suiComboBox_MenuLanguage", kFieldX, 152, 208, kRowHeight);

    addLabel(page, "Label_OutputFolder", QStringLiteral("Output Folder :"), 16, 186, 118);
    suiEdit_OutputFolder = placeControl<TsuiEdit>(page, "suiEdit_OutputFolder", kFieldX, 186, 256, kRowHeight);
    suiEdit_OutputFolder->setReadOnly(true);
    auto *browse = placeControl<TsuiImageButton>(page, "suiImageButton_Browse", kFieldX + 262, 183, 32, 32);
    browse->setSkinPicture(QStringLiteral("tool_browse"), vt::Skin::Fit::Natural);
    connect(browse, &QAbstractButton::clicked, this, &TOptionWindow::browse);

    suiCheckBox_DeleteTemp = placeControl<TsuiCheckBox>(page, "suiCheckBox_DeleteTemp", kFieldX, 218, 260, kRowHeight);
    suiCheckBox_DeleteTemp->setText(QStringLiteral(" Delete Temp Files"));
}

void TOptionWindow::buildLanguagePage()
{
    QWidget *page = suiImagePanel_Language;
    addLabel(page, "Label_FontSize", QStringLiteral("Subtitle Font Size :"), 16, 14, 140);
    suiFontSizeComboBox = placeControl<TsuiFontSizeComboBox>(page, "suiFontSizeComboBox", kFieldX + 20, 14, 84, kRowHeight);

    auto *group = placeControl<TsuiGroupBox>(page, "suiGroupBox_UserDefine", 10, 52, kPageWidth - 20, 186);
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
        *row.field = placeControl<TsuiComboBox>(group, row.combo, kFieldX - 10, y, 170, kRowHeight);
        (*row.field)->setEditable(true);
        (*row.field)->setInsertPolicy(QComboBox::NoInsert);
        y += 36;
    }
    auto *load = placeControl<TsuiImageButton>(group, "suiImageButton_Load", kFieldX + 172, 136, 108, 30);
    load->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    load->setCaption(QStringLiteral("Save"));
    connect(load, &QAbstractButton::clicked, this, &TOptionWindow::loadUserSubtitleLanguage);
    connect(suiComboBox_SubtitleLanguage, &QComboBox::activated, this, &TOptionWindow::subtitleLanguageChanged);
}

void TOptionWindow::buildBurnerPage()
{
    QWidget *page = suiImagePanel_Burner;
    addLabel(page, "Label_Engine", QStringLiteral("Burning Engine :"), 16, 18, 118);
    burnerPair_ = addPair(page, 18, {"suiCheckBox_Burner1", " Burner 1"}, {"suiCheckBox_Burner2", " Burner 2"});
    Label3 = addLabel(page, "Label3", QStringLiteral("* Restart software required for the change to take effect"),
                      kFieldX, 46, 300);
    Label3->setGeometry(kFieldX, 44, 292, 36);
    Label3->setWordWrap(true);
    QPalette notice = Label3->palette();
    notice.setColor(QPalette::WindowText, QColor(0xb4, 0x4a, 0x1e));
    Label3->setPalette(notice);

    addLabel(page, "Label_Transport", QStringLiteral("Device Access :"), 16, 96, 118);
    transportPair_ = addPair(page, 96, {"suiCheckBox_SPTI", " SPTI"}, {"suiCheckBox_ASPI", " ASPI"});

    suiCheckBox3 = placeControl<TsuiCheckBox>(page, "suiCheckBox3", kFieldX, 140, 280, kRowHeight);
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
        this, QString::fromStdString(language_.GetUIText(vt::common::kBrowseCaptionText)), suiEdit_OutputFolder->text());
    if (folder.isEmpty())
        return;
    readControls();
    const std::string refusal = model_.browse(folder.toStdString());
    showControls();
    if (!refusal.empty())
        vt::DialogService::current().information(this, QString::fromStdString(refusal));
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
    const vt::common::AddRegionResult result = model_.loadUserSubtitleLanguage();
    showControls();
    if (!result.message.empty())
        vt::DialogService::current().information(this, QString::fromStdString(result.message));
}
