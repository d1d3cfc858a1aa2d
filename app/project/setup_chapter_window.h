// The chapter window: the chapter start times of one clip, typed with three
// spin boxes, inserted, modified, deleted or split evenly. The menu editor
// prepares it for a clip, shows it modally and reads the times after OK.
#pragma once

#include "app/project/chapter_list.h"
#include "app/widgets/sui_form.h"

class TsuiListBox;
class TsuiSpinEdit;
class TsuiComboBox;

class TSetupChapterWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 400, kClientHeight = 334;

    explicit TSetupChapterWindow(QWidget *parent = nullptr);

    // Loads the clip's chapters (or an even split); false without a clip.
    bool prepare(const vt::project::ClipRecord *clip);

    // The result after OK.
    const std::vector<int32_t> &times() const { return chapters_.times(); }
    int count() const { return chapters_.count(); }

private:
    void showList();
    void selectRow(int row);
    int32_t typedTime() const;
    void report(vt::project::ChapterRefusal refusal);
    void insertTime();
    void modifyTime();
    void deleteTime();
    void autoSplit(int entryIndex);

    vt::project::ChapterList chapters_;
    int32_t selectedTime_ = 0;

    TsuiListBox *suiListBox_Time;
    TsuiSpinEdit *suiSpinEdit_Hour, *suiSpinEdit_Min, *suiSpinEdit_Sec;
    TsuiComboBox *suiComboBox_Auto;
};
