// The image property dialog on the real converter library, and on a
// library that never answers.
#include "app/menu/setup_image_window.h"
#include "app/project/clip_adding.h"
#include "app/common/test_program_folder.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/window_test_controls.h"
#include "engines/converter/test_support/test_media.h"

#include <QTest>
#include <QTimer>

#include <fstream>

using vt::testing::click;

namespace {

// 60 seconds, its red level changing every 10 seconds: 0, 40, 80, …, 200.
std::string steppedClip()
{
    return corvane_test::fixture(
        "menu_stepped.mp4", {"-f", "lavfi", "-i", "color=c=black:size=64x48:rate=2:duration=60", "-vf",
                             "geq=r='40*floor(T/10)':g='20':b='20'", "-pix_fmt", "yuv420p", "-g", "2"});
}

} // namespace

class SetupImageWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vt::common::TestProgramFolder> folder;
    vt::project::ClipRecordList clips;

    vt::project::ClipRecord &addClip(const std::string &file, const std::string &library)
    {
        vt::project::AddClipsOptions options;
        options.libraryFolder = library;
        const vt::project::AddClipsResult added = vt::project::AddClips(clips, {file}, options);
        if (added.firstAdded < 0)
            qFatal("the clip could not be added");
        return clips[added.firstAdded];
    }

private slots:
    void init() { folder = std::make_unique<vt::common::TestProgramFolder>(); }
    void cleanup()
    {
        clips.clear();
        folder.reset();
    }

    void releasingTheKnobShowsTheFrameOfThatSecond()
    {
        vt::project::ClipRecord &clip = addClip(steppedClip(), corvane_test::bin_dir());
        QCOMPARE(clip.duration, 60);
        vt::menu::ChapterButton button;
        button.chapterTime = 0;
        button.picture = clip.preview;
        const QImage before = button.picture;

        TSetupImageWindow dialog(folder->language, corvane_test::bin_dir());
        bool released = false;
        QTimer::singleShot(0, &dialog, [&] {
            QCOMPARE(dialog.knobPosition(), 28);
            QCOMPARE(dialog.timeText(), QStringLiteral("00:00:00"));
            const int at35 = 28 + 35 * 288 / 60;
            dialog.releaseKnobAt(at35);
            released = true;
            QCOMPARE(dialog.timeText(), QStringLiteral("00:00:35"));
            QCOMPARE(dialog.lastFrameTime(), 35);
            QVERIFY(dialog.knobEnabled());
            QVERIFY(!dialog.seeking());
            const QColor shown = dialog.shownPicture().pixelColor(dialog.shownPicture().rect().center());
            QVERIFY2(qAbs(shown.red() - 120) < 16, qPrintable(QString::number(shown.red())));
            vt::saveScreenshot(&dialog, QStringLiteral("SetupImageWindow"));
            click(&dialog, "suiImageButton2");
        });
        QVERIFY(dialog.editChapterButton(button, clip));
        QVERIFY(released);
        QVERIFY(button.picture != before);
        QVERIFY(qAbs(button.picture.pixelColor(button.picture.rect().center()).red() - 120) < 16);

        // Cancel after scrubbing leaves the picture as it was.
        const QImage chosen = button.picture;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.releaseKnobAt(28 + 5 * 288 / 60);
            click(&dialog, "suiImageButton1");
        });
        QVERIFY(!dialog.editChapterButton(button, clip));
        QCOMPARE(button.picture, chosen);

        // A title button takes the frame as the clip's snapshot.
        QTimer::singleShot(0, &dialog, [&] {
            dialog.releaseKnobAt(28 + 55 * 288 / 60);  // the last ten seconds: ten earlier
            QCOMPARE(dialog.lastFrameTime(), 45);
            click(&dialog, "suiImageButton2");
        });
        QVERIFY(dialog.editTitleButton(clip));
        QVERIFY(qAbs(clip.snapshot.pixelColor(clip.snapshot.rect().center()).red() - 160) < 16);
    }

    void silentLibraryLetsTheDialogCloseWithinItsTimeOut()
    {
        // The scripted library's facts make the clip; the silent one serves it.
        const std::string file = folder->file("silent.mkv");
        std::ofstream(file) << "silent";
        std::ofstream(file + ".facts") << "[f]\nduration=60\nwidth=64\nheight=48\n";
        vt::project::ClipRecord &clip = addClip(file, corvane_test::test_lib_dir());
        vt::menu::ChapterButton button;
        button.picture = clip.preview;

        TSetupImageWindow dialog(folder->language, corvane_test::test_lib_dir() + "/slow", std::chrono::milliseconds(500));
        QElapsedTimer timer;
        QTimer::singleShot(0, &dialog, [&] {
            timer.start();
            dialog.releaseKnobAt(200);
            QVERIFY(dialog.knobEnabled());  // given up, the knob is back
            click(&dialog, "suiImageButton2");
        });
        QVERIFY(!dialog.editChapterButton(button, clip));  // nothing was served: no change
        QVERIFY(timer.elapsed() < 3000);
    }
};

QTEST_MAIN(SetupImageWindowTest)
#include "setup_image_window_test.moc"
