// The subtitle window over one clip: what it shows for a clip with and
// without a subtitle file, loading and clearing the file, OK storing the
// clip's fields and the defaults, Cancel changing nothing.
#include "app/project/clip_record.h"
#include "app/project/setup_subtitle_window.h"
#include "app/common/test_program_folder.h"
#include "app/widgets/label.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_font_size_combo_box.h"
#include "app/widgets/window_test_controls.h"
#include "platform/ini_file.h"

#include <QPainter>
#include <QTest>
#include <QTimer>

#include <fstream>

using vt::testing::control;
using vt::testing::click;

namespace {

} // namespace

class SetupSubtitleWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vt::common::TestProgramFolder> folder;
    vt::ScriptedDialogService dialogs;

    std::unique_ptr<TSetupSubtitleWindow> window()
    {
        return std::make_unique<TSetupSubtitleWindow>(folder->settings, folder->environment().regions,
                                                      folder->file("Option.ini"));
    }

    std::string srt(const char *name)
    {
        std::ofstream(folder->file(name)) << "1\n00:00:01,000 --> 00:00:02,000\nHello\n";
        return folder->file(name);
    }

    vt::project::ClipRecord clip()
    {
        vt::project::ClipRecord c;
        c.fileName = folder->file("holiday.avi");
        QImage picture(296, 220, QImage::Format_RGB32);
        QPainter painter(&picture);
        QLinearGradient sky(0, 0, 0, 220);
        sky.setColorAt(0, QColor(0x4a, 0x90, 0xd9));
        sky.setColorAt(0.6, QColor(0xf4, 0xc2, 0x7a));
        sky.setColorAt(1, QColor(0x3b, 0x6b, 0x2a));
        painter.fillRect(picture.rect(), sky);
        painter.end();
        c.preview = picture;
        c.letterbox = false;
        c.subtitleLanguageIndex = 3;
        c.subtitleFontSize = 14;
        return c;
    }

private slots:
    void init()
    {
        folder = std::make_unique<vt::common::TestProgramFolder>();
        folder->settings.subtitleLanguageIndex = 1;
        folder->settings.subtitleFontSize = 24;
        dialogs.clear();
    }
    void cleanup() { folder.reset(); }

    void aClipWithoutFileShowsTheDefaultsAndCancelChangesNothing()
    {
        auto w = window();
        vt::project::ClipRecord c = clip();
        w->loadClip(c);
        QCOMPARE(control<TLabel>(w.get(), "Label_Subtitle")->text(), QStringLiteral("No specified subtitle file"));
        QCOMPARE(control<TsuiComboBox>(w.get(), "suiComboBox_SubtitleLanguage")->currentIndex(), 1);
        QCOMPARE(control<TsuiFontSizeComboBox>(w.get(), "suiFontSizeComboBox")->fontSize(), 24);
        QTimer::singleShot(0, [&] { click(w.get(), "suiImageButton_Cancel"); });
        QVERIFY(!w->editClip(c));
        QCOMPARE(c.subtitleLanguageIndex, 3);
        QCOMPARE(c.subtitleFontSize, 14);
        QCOMPARE(c.subtitleFile, std::string());
        QCOMPARE(folder->settings.subtitleFontSize, 24);
    }

    void loadThenOkStoresTheFileLanguageAndSize()
    {
        vt::ScopedDialogService scoped(dialogs);
        const vt::IniFile before(folder->file("Option.ini"));
        const std::string menuLanguage = before.readString("Option", "MenuLanguage", "unset");
        auto w = window();
        vt::project::ClipRecord c = clip();
        const std::string file = srt("holiday.srt");
        dialogs.answerFiles({QString::fromStdString(file)});
        QTimer::singleShot(0, [&] {
            click(w.get(), "suiImageButton_Load");
            control<TsuiComboBox>(w.get(), "suiComboBox_SubtitleLanguage")->setCurrentIndex(2);
            control<TsuiFontSizeComboBox>(w.get(), "suiFontSizeComboBox")->setFontSize(18);
            click(w.get(), "suiImageButton_Ok");
        });
        QVERIFY(w->editClip(c));
        QCOMPARE(dialogs.shown().front().caption, QStringLiteral("Select a Subtitle File"));
        QCOMPARE(dialogs.shown().front().filter, QStringLiteral("Subtitle File (*.srt, *.SRT)|*.srt;*.SRT"));
        QCOMPARE(c.subtitleFile, file);
        QVERIFY(c.subtitleShown());
        QCOMPARE(c.subtitleLanguageIndex, 2);
        QCOMPARE(c.subtitleFontSize, 18);
        QCOMPARE(c.subtitleFontName, std::string("Tahoma"));
        QCOMPARE(folder->settings.subtitleLanguageIndex, 2);
        QCOMPARE(folder->settings.subtitleFontSize, 18);
        const vt::IniFile after(folder->file("Option.ini"));
        QCOMPARE(after.readInt("Option", "SubtitleLanguage", -1), 2);
        QCOMPARE(after.readInt("Option", "FontSize", -1), 18);
        QCOMPARE(after.readString("Option", "MenuLanguage", "unset"), menuLanguage);
    }

    void clearingTheFileOfAClipThatHasOne()
    {
        auto w = window();
        vt::project::ClipRecord c = clip();
        c.setSubtitleFile(srt("holiday.srt"));
        w->loadClip(c);
        QCOMPARE(control<TLabel>(w.get(), "Label_Subtitle")->text(), QStringLiteral("Subtitle File  : holiday.srt"));
        // The clip's own language and size are shown, not the defaults.
        QCOMPARE(control<TsuiComboBox>(w.get(), "suiComboBox_SubtitleLanguage")->currentIndex(), 3);
        QCOMPARE(control<TsuiFontSizeComboBox>(w.get(), "suiFontSizeComboBox")->fontSize(), 14);
        QTimer::singleShot(0, [&] {
            click(w.get(), "suiImageButton_Clear");
            QCOMPARE(control<TLabel>(w.get(), "Label_Subtitle")->text(),
                     QStringLiteral("No specified subtitle file"));
            click(w.get(), "suiImageButton_Ok");
        });
        QVERIFY(w->editClip(c));
        QCOMPARE(c.subtitleFile, std::string());
        QVERIFY(!c.subtitleShown());
    }

    void screenshot()
    {
        auto w = window();
        vt::project::ClipRecord c = clip();
        c.setSubtitleFile(srt("holiday.srt"));
        c.subtitleFontSize = 36;
        w->loadClip(c);
        w->show();
        QVERIFY(!vt::saveScreenshot(w.get(), QStringLiteral("SetupSubtitleWindow")).isEmpty());
    }
};

QTEST_MAIN(SetupSubtitleWindowTest)
#include "setup_subtitle_window_test.moc"
