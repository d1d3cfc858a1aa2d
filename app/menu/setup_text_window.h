// The text property dialog: a menu text's words, font, style, size,
// strike-out, underline and colour, with a live sample that is cut to fit
// its group (the text itself is never cut).
#pragma once

#include "app/menu/menu_design.h"
#include "app/widgets/sui_form.h"

class QGroupBox;
class TLabel;
class TsuiCheckBox;
class TsuiColorBox;
class TsuiComboBox;
class TsuiEdit;
class TsuiFontComboBox;
class TsuiFontSizeComboBox;

namespace vt::common {
class UiLanguage;
}

class TSetupTextWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 420, kClientHeight = 306;

    explicit TSetupTextWindow(const vt::common::UiLanguage &language, QWidget *parent = nullptr);

    // Loads the item, shows the dialog modally and on OK stores the text
    // (trimmed, whole) and the sample's font, size, style and colour into
    // it. False when cancelled (the item is unchanged).
    bool edit(vt::menu::TextItem &item);

    // The parts of edit(), for the editor and tests.
    void load(const vt::menu::TextItem &item);
    void store(vt::menu::TextItem &item) const;
    // The sample as shown (possibly cut) and its group.
    const TLabel *sample() const { return Label_Sample; }
    const QGroupBox *sampleGroup() const;

private:
    void updateSample();

    const vt::common::UiLanguage &language_;
    bool livePreview_ = false;

    TsuiEdit *suiEdit_Sample;
    TsuiFontComboBox *suiFontComboBox;
    TsuiComboBox *suiComboBox_Style;
    TsuiFontSizeComboBox *suiFontSizeComboBox;
    TsuiCheckBox *suiCheckBox_Strikeout, *suiCheckBox_Underline;
    TsuiColorBox *suiColorBox;
    QGroupBox *suiGroupBox2;
    TLabel *Label_Sample;
};
