#include "app/menu/setup_text_window.h"

#include "app/menu/button_image.h"
#include "app/menu/text_item_font.h"
#include "app/menu/text_style.h"
#include "app/widgets/place_control.h"
#include "app/common/ui_language.h"
#include "app/widgets/label.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_color_box.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_edit.h"
#include "app/widgets/sui_font_combo_box.h"
#include "app/widgets/sui_font_size_combo_box.h"
#include "app/widgets/sui_group_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"

#include <QFontMetrics>
#include <QSignalBlocker>

using vt::placeControl;

namespace {

constexpr int kLeft = 16, kFieldX = 120, kFieldWidth = 284;
constexpr int kFirstStyleText = 51;  // "Regular" … "Bold Italic"

TLabel *addLabel(QWidget *parent, const char *name, const QString &caption, int y)
{
    auto *label = placeControl<TLabel>(parent, name, kLeft, y, kFieldX - kLeft - 4, 24);
    label->setText(caption);
    return label;
}

uint32_t valueOfColour(const QColor &colour)
{
    return static_cast<uint32_t>(colour.red()) | static_cast<uint32_t>(colour.green()) << 8 |
           static_cast<uint32_t>(colour.blue()) << 16;
}

} // namespace

TSetupTextWindow::TSetupTextWindow(const vt::common::UiLanguage &language, QWidget *parent)
    : TsuiForm(parent)
    , language_(language)
{
    setObjectName(QStringLiteral("SetupTextWindow"));
    setWindowTitle(QStringLiteral("Text Properties"));
    setModal(true);
    setClientSize(kClientWidth, kClientHeight);
    auto *page = placeControl<TsuiImagePanel>(client(), "suiImagePanel_Text", 0, 0, kClientWidth, kClientHeight);
    page->setSkinPicture(QStringLiteral("page"));

    addLabel(page, "Label_Input", QStringLiteral("Input Text :"), 16);
    suiEdit_Sample = placeControl<TsuiEdit>(page, "suiEdit_Sample", kFieldX, 16, kFieldWidth, 24);
    addLabel(page, "Label_Font", QStringLiteral("Font :"), 48);
    suiFontComboBox = placeControl<TsuiFontComboBox>(page, "suiFontComboBox", kFieldX, 48, kFieldWidth, 24);
    addLabel(page, "Label_Style", QStringLiteral("Style :"), 80);
    suiComboBox_Style = placeControl<TsuiComboBox>(page, "suiComboBox_Style", kFieldX, 80, 136, 24);
    addLabel(page, "Label_Size", QStringLiteral("Size :"), 112);
    suiFontSizeComboBox = placeControl<TsuiFontSizeComboBox>(page, "suiFontSizeComboBox", kFieldX, 112, 72, 24);
    addLabel(page, "Label_Color", QStringLiteral("Colour :"), 144);
    suiColorBox = placeControl<TsuiColorBox>(page, "suiColorBox", kFieldX, 144, 136, 24);
    suiCheckBox_Strikeout = placeControl<TsuiCheckBox>(page, "suiCheckBox_Strikeout", 270, 80, 134, 24);
    suiCheckBox_Strikeout->setText(QStringLiteral("Strikeout"));
    suiCheckBox_Underline = placeControl<TsuiCheckBox>(page, "suiCheckBox_Underline", 270, 112, 134, 24);
    suiCheckBox_Underline->setText(QStringLiteral("Underline"));

    suiGroupBox2 = placeControl<TsuiGroupBox>(page, "suiGroupBox2", kLeft, 178, kClientWidth - 2 * kLeft, 74);
    suiGroupBox2->setTitle(QStringLiteral("Sample :"));
    Label_Sample = placeControl<TLabel>(suiGroupBox2, "Label_Sample", 0, 0, 10, 10);
    Label_Sample->setStyleSheet(QStringLiteral("background: #797571;"));

    auto *ok = placeControl<TsuiImageButton>(page, "suiImageButton2", kClientWidth - 16 - 96 - 8 - 96,
                                             kClientHeight - 44, 96, 30);
    ok->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    ok->setCaption(QStringLiteral("OK"));
    auto *cancel = placeControl<TsuiImageButton>(page, "suiImageButton1", kClientWidth - 16 - 96, kClientHeight - 44,
                                                 96, 30);
    cancel->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    cancel->setCaption(QStringLiteral("Cancel"));
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);

    connect(suiEdit_Sample, &QLineEdit::textChanged, this, &TSetupTextWindow::updateSample);
    connect(suiFontComboBox, &QFontComboBox::currentFontChanged, this, &TSetupTextWindow::updateSample);
    connect(suiComboBox_Style, &QComboBox::currentIndexChanged, this, &TSetupTextWindow::updateSample);
    connect(suiFontSizeComboBox, &TsuiFontSizeComboBox::fontSizeChanged, this, &TSetupTextWindow::updateSample);
    connect(suiColorBox, &TsuiColorBox::colorChanged, this, &TSetupTextWindow::updateSample);
    connect(suiCheckBox_Strikeout, &QAbstractButton::toggled, this, &TSetupTextWindow::updateSample);
    connect(suiCheckBox_Underline, &QAbstractButton::toggled, this, &TSetupTextWindow::updateSample);
}

const QGroupBox *TSetupTextWindow::sampleGroup() const
{
    return suiGroupBox2;
}

bool TSetupTextWindow::edit(vt::menu::TextItem &item)
{
    load(item);
    if (exec() != QDialog::Accepted)
        return false;
    store(item);
    return true;
}

void TSetupTextWindow::load(const vt::menu::TextItem &item)
{
    livePreview_ = false;
    {
        const QSignalBlocker blocker(suiComboBox_Style);
        suiComboBox_Style->clear();
        for (int i = 0; i < 4; ++i)
            suiComboBox_Style->addItem(QString::fromStdString(language_.GetUIText(kFirstStyleText + i)));
    }
    suiEdit_Sample->setText(QString::fromStdString(item.text));
    suiFontComboBox->setCurrentFont(QFont(QString::fromStdString(item.fontName)));
    suiFontSizeComboBox->setFontSize(item.fontSize);
    suiColorBox->setColor(ColourOfValue(item.colour));
    suiComboBox_Style->setCurrentIndex(vt::menu::StyleIndex(item.bold, item.italic));
    suiCheckBox_Strikeout->setChecked(item.strikeout);
    suiCheckBox_Underline->setChecked(item.underline);
    livePreview_ = true;
    updateSample();
}

void TSetupTextWindow::store(vt::menu::TextItem &item) const
{
    item.text = vt::menu::TrimmedText(suiEdit_Sample->text().toStdString());
    item.fontName = suiFontComboBox->currentFont().family().toStdString();
    if (suiFontSizeComboBox->fontSize() > 0)
        item.fontSize = suiFontSizeComboBox->fontSize();
    item.colour = valueOfColour(suiColorBox->color());
    vt::menu::StyleFromIndex(suiComboBox_Style->currentIndex(), item.bold, item.italic);
    item.strikeout = suiCheckBox_Strikeout->isChecked();
    item.underline = suiCheckBox_Underline->isChecked();
}

void TSetupTextWindow::updateSample()
{
    if (!livePreview_)
        return;
    vt::menu::TextItem shown;
    store(shown);
    Label_Sample->setFont(vt::menu::FontOfTextItem(shown));
    Label_Sample->setStyleSheet(QStringLiteral("background: #797571; color: %1;")
                                    .arg(ColourOfValue(shown.colour).name()));
    const QSize whole = vt::menu::TextItemSize(shown);
    const int groupWidth = suiGroupBox2->width();
    shown.text = vt::menu::CutSampleText(shown.text, groupWidth, whole.width());
    Label_Sample->setText(QString::fromStdString(shown.text));
    const QSize size = vt::menu::TextItemSize(shown);
    Label_Sample->setGeometry((groupWidth - size.width()) / 2, suiGroupBox2->height() - size.height(), size.width(),
                              size.height());
}
