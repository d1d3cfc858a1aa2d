// The text property dialog: loading an item, the live sample and its cut,
// OK and Cancel.
#include "app/menu/setup_text_window.h"
#include "app/menu/text_item_font.h"
#include "app/common/test_program_folder.h"
#include "app/widgets/label.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_edit.h"
#include "app/widgets/window_test_controls.h"

#include <QGroupBox>
#include <QTest>
#include <QTimer>

using vt::testing::click;
using vt::testing::control;

class SetupTextWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vt::common::TestProgramFolder> folder;

    vt::menu::TextItem item(const std::string &text)
    {
        vt::menu::TextItem result;
        result.text = text;
        result.fontSize = 20;
        result.bold = true;
        result.colour = 0x00FFFF;  // yellow
        return result;
    }

private slots:
    void init() { folder = std::make_unique<vt::common::TestProgramFolder>(); }
    void cleanup() { folder.reset(); }

    void loadsTheItemAndShowsItsSample()
    {
        TSetupTextWindow dialog(folder->language);
        dialog.load(item("Überschrift ✓"));
        QCOMPARE(control<TsuiComboBox>(&dialog, "suiComboBox_Style")->count(), 4);
        QCOMPARE(control<TsuiComboBox>(&dialog, "suiComboBox_Style")->currentText(), QStringLiteral("Bold"));
        QCOMPARE(dialog.sample()->text(), QStringLiteral("Überschrift ✓"));  // whole characters, uncut
        QVERIFY(dialog.sample()->font().bold());
        // At the bottom of its group, in the middle.
        const QGroupBox *group = dialog.sampleGroup();
        QCOMPARE(dialog.sample()->geometry().bottom() + 1, group->height());
        QVERIFY(qAbs(dialog.sample()->x() * 2 + dialog.sample()->width() - group->width()) <= 1);

        control<TsuiCheckBox>(&dialog, "suiCheckBox_Underline")->setChecked(true);
        QVERIFY(dialog.sample()->font().underline());
        QVERIFY(!vt::saveScreenshot(&dialog, QStringLiteral("SetupTextWindow")).isEmpty());
    }

    void wideSampleIsCutButTheTextStaysWhole()
    {
        TSetupTextWindow dialog(folder->language);
        vt::menu::TextItem probe = item("W");
        const int perCharacter = vt::menu::TextItemSize(probe).width();
        const int groupWidth = dialog.sampleGroup()->width();
        // Twice the group's width.
        const std::string text(static_cast<size_t>(2 * groupWidth / perCharacter), 'W');
        vt::menu::TextItem wide = item(text);
        dialog.load(wide);
        const int shown = dialog.sample()->text().size();
        QVERIFY2(qAbs(shown - static_cast<int>(text.size()) / 2) <= 1, qPrintable(QString::number(shown)));
        QVERIFY(dialog.sample()->width() <= groupWidth);

        QTimer::singleShot(0, &dialog, [&dialog] { click(&dialog, "suiImageButton2"); });
        QVERIFY(dialog.edit(wide));
        QCOMPARE(wide.text, text);
    }

    void okStoresTheSampleAndCancelChangesNothing()
    {
        TSetupTextWindow dialog(folder->language);
        vt::menu::TextItem edited = item("Menu");
        QTimer::singleShot(0, &dialog, [&dialog] {
            control<TsuiEdit>(&dialog, "suiEdit_Sample")->setText(QStringLiteral("  Hauptmenü ✓  "));
            control<TsuiComboBox>(&dialog, "suiComboBox_Style")->setCurrentIndex(1);
            control<TsuiCheckBox>(&dialog, "suiCheckBox_Strikeout")->setChecked(true);
            click(&dialog, "suiImageButton2");
        });
        QVERIFY(dialog.edit(edited));
        QCOMPARE(edited.text, std::string("Hauptmenü ✓"));
        QVERIFY(edited.italic);
        QVERIFY(!edited.bold);
        QVERIFY(edited.strikeout);
        QCOMPARE(edited.colour, 0x00FFFFu);
        QCOMPARE(edited.fontSize, 20);

        const vt::menu::TextItem before = edited;
        QTimer::singleShot(0, &dialog, [&dialog] {
            control<TsuiEdit>(&dialog, "suiEdit_Sample")->setText(QStringLiteral("changed"));
            click(&dialog, "suiImageButton1");
        });
        QVERIFY(!dialog.edit(edited));
        QCOMPARE(edited.text, before.text);
        QCOMPARE(edited.italic, before.italic);
    }
};

QTEST_MAIN(SetupTextWindowTest)
#include "setup_text_window_test.moc"
