#include "app/project/setup_chapter_window.h"

#include "app/project/clip_record.h"
#include "app/common/format_hms.h"
#include "app/widgets/place_control.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/label.h"
#include "app/widgets/sui_button.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"
#include "app/widgets/sui_list_box.h"
#include "app/widgets/sui_spin_edit.h"

#include <QSignalBlocker>

using vt::project::ChapterList;
using vt::project::ChapterRefusal;
using vt::placeControl;

namespace {

constexpr int kListX = 16, kListY = 16, kListWidth = 150, kListHeight = 256;
constexpr int kSideX = 182, kSideWidth = 202;
constexpr int kSpinWidth = 62, kSpinStep = 70;  // a colon between two boxes
constexpr int kRowHeight = 16;

TLabel *addLabel(QWidget *parent, const char *name, const QString &caption, int x, int y, int width)
{
    auto *label = placeControl<TLabel>(parent, name, x, y, width, 20);
    label->setText(caption);
    return label;
}

TsuiSpinEdit *addSpin(QWidget *parent, const char *name, int x, int maximum)
{
    auto *spin = placeControl<TsuiSpinEdit>(parent, name, x, kListY + 24, kSpinWidth, 26);
    spin->setRange(0, maximum);
    return spin;
}

TsuiButton *addButton(QWidget *parent, const char *name, const QString &caption, int y)
{
    auto *button = placeControl<TsuiButton>(parent, name, kSideX, y, kSideWidth, 28);
    button->setText(caption);
    return button;
}

} // namespace

TSetupChapterWindow::TSetupChapterWindow(QWidget *parent)
    : TsuiForm(parent)
{
    setObjectName(QStringLiteral("SetupChapterWindow"));
    setWindowTitle(QStringLiteral("Chapters"));
    setModal(true);
    setClientSize(kClientWidth, kClientHeight);

    auto *page = placeControl<TsuiImagePanel>(client(), "suiImagePanel_Chapter", 0, 0, kClientWidth, kClientHeight);
    page->setSkinPicture(QStringLiteral("page"));

    suiListBox_Time = placeControl<TsuiListBox>(page, "suiListBox_Time", kListX, kListY, kListWidth, kListHeight);
    suiListBox_Time->setItemHeight(kRowHeight);
    connect(suiListBox_Time, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < chapters_.count())
            selectRow(row);
    });

    addLabel(page, "Label_Time", QStringLiteral("Chapter Time :"), kSideX, kListY, kSideWidth);
    suiSpinEdit_Hour = addSpin(page, "suiSpinEdit_Hour", kSideX, 23);
    suiSpinEdit_Min = addSpin(page, "suiSpinEdit_Min", kSideX + kSpinStep, 59);
    suiSpinEdit_Sec = addSpin(page, "suiSpinEdit_Sec", kSideX + 2 * kSpinStep, 59);
    for (int i = 1; i <= 2; ++i) {
        auto *colon = placeControl<TLabel>(page, i == 1 ? "Label_Colon1" : "Label_Colon2",
                                           kSideX + i * kSpinStep - (kSpinStep - kSpinWidth), kListY + 24,
                                           kSpinStep - kSpinWidth, 26);
        colon->setText(QStringLiteral(":"));
        colon->setAlignment(Qt::AlignCenter);
    }

    connect(addButton(page, "suiButton_Insert", QStringLiteral("Insert"), 84), &QAbstractButton::clicked, this,
            &TSetupChapterWindow::insertTime);
    connect(addButton(page, "suiButton_Modify", QStringLiteral("Modify"), 118), &QAbstractButton::clicked, this,
            &TSetupChapterWindow::modifyTime);
    connect(addButton(page, "suiButton_Delete", QStringLiteral("Delete"), 152), &QAbstractButton::clicked, this,
            &TSetupChapterWindow::deleteTime);

    addLabel(page, "Label_Auto", QStringLiteral("Auto Split Chapter"), kSideX, 200, kSideWidth);
    suiComboBox_Auto = placeControl<TsuiComboBox>(page, "suiComboBox_Auto", kSideX, 222, kSideWidth, 26);
    connect(suiComboBox_Auto, &QComboBox::activated, this, &TSetupChapterWindow::autoSplit);

    auto *ok = placeControl<TsuiImageButton>(page, "suiImageButton2", kClientWidth - 16 - 96 - 8 - 96,
                                             kClientHeight - 46, 96, 30);
    ok->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    ok->setCaption(QStringLiteral("OK"));
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    auto *cancel = placeControl<TsuiImageButton>(page, "suiImageButton1", kClientWidth - 16 - 96, kClientHeight - 46,
                                                 96, 30);
    cancel->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    cancel->setCaption(QStringLiteral("Cancel"));
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
}

bool TSetupChapterWindow::prepare(const vt::project::ClipRecord *clip)
{
    if (!clip)
        return false;
    chapters_.prepare(*clip);
    selectedTime_ = chapters_.times().empty() ? 0 : chapters_.times().front();
    showList();
    const QSignalBlocker blocker(suiComboBox_Auto);
    suiComboBox_Auto->clear();
    for (const std::string &entry : chapters_.autoSplitEntries())
        suiComboBox_Auto->addItem(QString::fromStdString(entry));
    suiComboBox_Auto->setCurrentIndex(chapters_.autoSplitSelection());
    return true;
}

void TSetupChapterWindow::showList()
{
    QStringList rows;
    int selected = 0;
    const std::vector<int32_t> &times = chapters_.times();
    for (size_t i = 0; i < times.size(); ++i) {
        rows << QString::fromStdString(vt::common::FormatHMS(times[i]));
        if (times[i] == selectedTime_)
            selected = static_cast<int>(i);
    }
    {
        const QSignalBlocker blocker(suiListBox_Time);
        suiListBox_Time->setLines(rows);
    }
    if (!times.empty())
        selectRow(selected);
}

void TSetupChapterWindow::selectRow(int row)
{
    selectedTime_ = chapters_.times()[static_cast<size_t>(row)];
    {
        const QSignalBlocker blocker(suiListBox_Time);
        suiListBox_Time->setCurrentRow(row);
    }
    int hours = 0, minutes = 0, seconds = 0;
    ChapterList::splitTime(selectedTime_, hours, minutes, seconds);
    suiSpinEdit_Hour->setValue(hours);
    suiSpinEdit_Min->setValue(minutes);
    suiSpinEdit_Sec->setValue(seconds);
}

int32_t TSetupChapterWindow::typedTime() const
{
    return ChapterList::typedTime(suiSpinEdit_Hour->value(), suiSpinEdit_Min->value(), suiSpinEdit_Sec->value());
}

void TSetupChapterWindow::report(ChapterRefusal refusal)
{
    if (refusal == ChapterRefusal::None)
        showList();
    else
        vt::DialogService::current().information(this, QString::fromStdString(vt::project::ChapterRefusalText(refusal)));
}

void TSetupChapterWindow::insertTime()
{
    report(chapters_.insert(typedTime()));
}

void TSetupChapterWindow::modifyTime()
{
    const int row = suiListBox_Time->currentRow();
    const int32_t time = typedTime();
    const ChapterRefusal refusal = chapters_.modify(row, time);
    if (refusal == ChapterRefusal::None)
        selectedTime_ = time;
    report(refusal);
}

void TSetupChapterWindow::deleteTime()
{
    report(chapters_.removeAt(suiListBox_Time->currentRow()));
}

void TSetupChapterWindow::autoSplit(int entryIndex)
{
    chapters_.autoSplit(entryIndex);
    showList();
}
