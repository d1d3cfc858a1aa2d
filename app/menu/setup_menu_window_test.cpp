// The menu editor over the scripted converter library in both modes, and
// screenshots of it over real clips with the shipped backgrounds.
#include "app/menu/background_image.h"
#include "app/menu/button_image.h"
#include "app/menu/menu_image.h"
#include "app/menu/setup_menu_window.h"
#include "app/project/clip_adding.h"
#include "app/project/setup_chapter_window.h"
#include "app/common/test_program_folder.h"
#include "app/widgets/label.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/window_test_controls.h"
#include "engines/converter/test_support/test_media.h"

#include <QComboBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <QTimer>

#include <fstream>

using vt::menu::MenuPage;
using vt::testing::click;
using vt::testing::control;

namespace {

// Presses a widget at a point, drags it by delta with the left button and lets go.
void drag(QWidget *widget, QPoint at, QPoint delta)
{
    const QPointF local(at), global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent move(QEvent::MouseMove, local + QPointF(delta), global + QPointF(delta), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local + QPointF(delta), global + QPointF(delta), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

} // namespace

class SetupMenuWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vt::common::TestProgramFolder> folder;
    std::unique_ptr<vt::ScriptedDialogService> dialogs;
    std::unique_ptr<vt::ScopedDialogService> scoped;
    vt::project::ClipRecordList clips;
    vt::menu::MenuDesign design;

    // A file the scripted library accepts: its facts in a sidecar.
    QString clip(const QString &name, int duration = 120, int height = 576, double rate = 25)
    {
        const std::string path = folder->file(name.toUtf8().constData());
        std::ofstream(path) << "x";
        std::ofstream(path + ".facts") << "[f]\nduration=" << duration << "\nwidth=720\nheight=" << height
                                       << "\naspect=2\nframerate=" << rate << "\n";
        return QString::fromStdString(path);
    }

    void addClips(const QStringList &files, const std::string &library = corvane_test::test_lib_dir())
    {
        std::vector<std::string> paths;
        for (const QString &file : files)
            paths.push_back(file.toStdString());
        vt::project::AddClipsOptions options;
        options.libraryFolder = library;
        vt::project::AddClips(clips, paths, options);
    }

    std::unique_ptr<TSetupMenuWindow> window(const std::string &library = corvane_test::test_lib_dir())
    {
        return std::make_unique<TSetupMenuWindow>(TSetupMenuWindow::Services{
            design, clips, folder->settings, folder->language, folder->bitmaps, folder->path().toStdString(), library});
    }

    // Shows the window as the program does and waits for the menu build.
    void showBuilt(TSetupMenuWindow &w)
    {
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(w.built(), 20000);
    }

    int titleButtonViews(TSetupMenuWindow &w) const
    {
        int count = 0;
        for (TButtonImage *view : w.buttonViews())
            count += dynamic_cast<TSubButtonImage *>(view) ? 0 : 1;
        return count;
    }

private slots:
    void init()
    {
        folder = std::make_unique<vt::common::TestProgramFolder>();
        folder->bitmaps.load(folder->file("RES/"));
        const QString bin = qEnvironmentVariable("VANTOREL_BIN_DIR", QStringLiteral(VANTOREL_BIN_DIR)) + '/';
        QDir().mkpath(folder->path() + "Background");
        for (const QString &name : QDir(bin + "Background").entryList(QDir::Files))
            QFile::copy(bin + "Background/" + name, folder->path() + "Background/" + name);
        if (!QFile::exists(folder->path() + "RES/BackBmp.bmp")) {
            // The back button's picture as the program folder ships it.
            QImage back(72, 32, QImage::Format_RGB32);
            back.fill(QColor(1, 1, 1));
            QPainter painter(&back);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setBrush(QColor(240, 240, 240));
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(QRectF(2, 2, 68, 28), 14, 14);
            painter.setPen(QPen(QColor(40, 40, 40), 3));
            painter.drawLine(22, 16, 50, 16);
            painter.drawLine(22, 16, 32, 8);
            painter.drawLine(22, 16, 32, 24);
            painter.end();
            back.save(folder->path() + "RES/BackBmp.bmp");
        }
        folder->settings.vobDialogFilter = "VOB File (*.vob,*.VOB)|*.vob";
        folder->settings.addChapterMenu = true;
        dialogs = std::make_unique<vt::ScriptedDialogService>();
        scoped = std::make_unique<vt::ScopedDialogService>(*dialogs);
    }
    void cleanup()
    {
        clips.clear();
        design = vt::menu::MenuDesign();
        scoped.reset();
        dialogs.reset();
        folder.reset();
    }

    void fromClipListBuildsTheMenuOnTheFirstTwelveClips()
    {
        QStringList files;
        for (int i = 0; i < 13; ++i)
            files << clip(QStringLiteral("clip%1.avi").arg(i), i == 0 ? 59 : 120);
        addClips(files);
        auto w = window();
        w->enterFromClipList(vt::project::DiscType::DVD5, true);
        showBuilt(*w);

        QCOMPARE(w->stripEntries().size(), size_t(13));
        QCOMPARE(titleButtonViews(*w), 12);
        QVERIFY(clips[11].hasTitleButton);
        QVERIFY(!clips[12].hasTitleButton);
        QCOMPARE(clips[0].chapters->times(), std::vector<int32_t>({0}));       // 59 s: one chapter
        QCOMPARE(clips[1].chapters->times(), std::vector<int32_t>({0, 60}));   // two by default
        QCOMPARE(w->model().page(), MenuPage::Title);
        QCOMPARE(w->model().selectedClip(), 0);
        // The title page shows the first shipped background, whole.
        QCOMPARE(design.titlePage.backgroundFile, folder->file("Background/Dusk.jpg"));
        QCOMPARE(w->shownBackground().size(), QSize(518, 388));
        QCOMPARE(w->backgroundViews().size(), size_t(6));
        // The back button sits in the bottom-left corner of the safe area.
        QCOMPARE(w->backButton()->pos(), QPoint(10, 388 - w->backButton()->height() - 10));
        // The shape and disc are those of the clip list.
        QVERIFY(!control<QWidget>(w.get(), "suiImageButton_4_3")->isEnabled());
        QVERIFY(control<QWidget>(w.get(), "suiImageButton_AddFile")->isHidden());
        w->switchShape();
        QCOMPARE(w->panelSize(), QSize(518, 388));

        // The chapter page of the second clip, its background the second one.
        w->selectClip(1);
        click(w.get(), "suiImageButton_ChapterMenu");
        QCOMPARE(w->model().page(), MenuPage::Chapter);
        QCOMPARE(w->buttonViews().size(), size_t(2));
        QCOMPARE(design.menuOf(clips[1])->chapterPage->backgroundFile, folder->file("Background/Ocean.jpg"));
        // Chapter 1 cannot be deleted.
        w->model().selectChapterButton(0);
        click(w.get(), "suiImageButton_DeleteChapter");
        QCOMPARE(dialogs->messageTexts(), QStringList{"Can not delete chapter 1"});
        QCOMPARE(clips[1].chapters->times().size(), size_t(2));
        // A background thumbnail sets the page's background.
        QTest::mouseClick(w->backgroundViews()[4], Qt::LeftButton);
        QCOMPARE(design.menuOf(clips[1])->chapterPage->backgroundFile, folder->file("Background/Aurora.jpg"));
        QCOMPARE(design.titlePage.backgroundFile, folder->file("Background/Dusk.jpg"));

        // Back to the clip list keeps the project.
        click(w.get(), "suiImageButton_Clip");
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QCOMPARE(clips.count(), 13);
    }

    void draggingAButtonEdgeAndTheRightClickMenus()
    {
        addClips({clip("a.avi"), clip("b.avi")});
        auto w = window();
        w->enterFromClipList(vt::project::DiscType::DVD5, true);
        showBuilt(*w);
        TButtonImage *button = w->buttonViews().front();
        const QRect laidOut = design.menuOf(clips[0])->titleButton->bounds;
        QCOMPARE(button->geometry(), laidOut);
        // The left edge dragged past the narrowest width: 80 wide, the right edge stays.
        drag(button, {2, 40}, {laidOut.width(), 0});
        const QRect dragged(laidOut.right() + 1 - 80, laidOut.top(), 80, laidOut.height());
        QCOMPARE(design.menuOf(clips[0])->titleButton->bounds, dragged);
        QCOMPARE(button->geometry(), dragged);
        QVERIFY(button->isSelected());

        // The strip menu takes the clip off the title menu and puts it back.
        w->stripEntries()[1]->setFocus();
        QMouseEvent right(QEvent::MouseButtonRelease, QPointF(10, 10), w->stripEntries()[1]->mapToGlobal(QPointF(10, 10)),
                          Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w->stripEntries()[1], &right);
        QVERIFY(w->stripMenu()->isVisible());
        w->stripMenu()->findChild<QAction *>(QStringLiteral("Remove"))->trigger();
        w->stripMenu()->hide();
        QVERIFY(!clips[1].hasTitleButton);
        QCOMPARE(titleButtonViews(*w), 1);
        w->stripMenu()->findChild<QAction *>(QStringLiteral("Add"))->trigger();
        QVERIFY(clips[1].hasTitleButton);
        QVERIFY(clips[1].chapters);

        // A text added on the title page, dragged past the bottom, stays inside.
        const size_t laidOutTexts = w->textViews().size();  // the heading and captions
        w->addText({100, 100});
        QCOMPARE(w->textViews().size(), laidOutTexts + 1);
        QCOMPARE(design.titlePage.texts.back().text, std::string("Double Click to Edit"));
        drag(w->textViews().back(), {4, 4}, {0, 900});
        const QRect bounds = design.titlePage.texts.back().bounds;
        QCOMPARE(bounds.bottom() + 1, 388 - 10);
        QCOMPARE(w->textViews().back()->geometry(), bounds);

        // Music: added, then removed after a Yes.
        const QString music = clip("tune.mp3");
        dialogs->answerFiles({music});
        click(w.get(), "suiImageButton_AddMusic");
        QCOMPARE(design.titlePage.musicFile, music.toStdString());
        QCOMPARE(control<TLabel>(w.get(), "Label_BackgroundMusic")->text(), QStringLiteral("Background Music : tune.mp3"));
        dialogs->answerMessage(vt::MessageAnswer::Yes);
        click(w.get(), "suiImageButton_RemoveMusic");
        QCOMPARE(design.titlePage.musicFile, std::string());
        QCOMPARE(control<TLabel>(w.get(), "Label_BackgroundMusic")->text(), QStringLiteral("No Background Music"));
    }

    void chapterWindowMakesANewChapterPage()
    {
        addClips({clip("long.avi", 900)});
        auto w = window();
        TSetupChapterWindow chapters(folder->language);
        TSetupMenuWindow::NextWindows next;
        next.chapterWindow = &chapters;
        w->setNextWindows(next);
        w->enterFromClipList(vt::project::DiscType::DVD5, true);
        showBuilt(*w);
        w->model().selectClip(0);
        QTimer::singleShot(0, &chapters, [&chapters] {
            auto *split = control<QComboBox>(&chapters, "suiComboBox_Auto");
            split->setCurrentIndex(2);  // four chapters
            emit split->activated(2);
            click(&chapters, "suiImageButton2");
        });
        w->setupChapters();
        QCOMPARE(clips[0].chapters->times(), std::vector<int32_t>({0, 225, 450, 675}));
        QCOMPARE(w->model().page(), MenuPage::Chapter);
        QCOMPARE(w->buttonViews().size(), size_t(4));
        // Each button shows the scripted frame of its second (blue = second % 256).
        const QImage picture = design.menuOf(clips[0])->chapterPage->buttons[1].picture;
        QCOMPARE(qBlue(picture.pixel(0, 0)), 225);
    }

    void compilerModeChecksTheTvSystemByPictureHeight()
    {
        auto w = window();
        TSetupMenuWindow::NextWindows next;
        QDialog compiler;
        bool compilerOpened = false;
        next.compilerWindow = &compiler;
        next.prepare = [&](QDialog *window, const TSetupMenuWindow::HandOver &handOver) {
            compilerOpened = window == &compiler;
            QVERIFY(handOver.menuUsed);
            QTimer::singleShot(0, &compiler, &QDialog::accept);
        };
        w->setNextWindows(next);
        w->enterCompilerMode();
        showBuilt(*w);
        QVERIFY(control<QWidget>(w.get(), "suiImageButton_4_3")->isEnabled());
        QVERIFY(control<QWidget>(w.get(), "suiImageButton_Clip")->isHidden());

        // Film-rate NTSC and ordinary NTSC are one system.
        w->addVobFiles({clip("ntsc.vob", 120, 480, 29.97), clip("film.vob", 120, 480, 23.976)});
        QVERIFY(dialogs->messageTexts().isEmpty());
        QCOMPARE(clips.count(), 2);
        QCOMPARE(clips[0].vobFile, clips[0].fileName);
        QCOMPARE(titleButtonViews(*w), 2);

        const QString pal = clip("pal.vob", 120, 576, 25);
        w->addVobFiles({pal});
        QCOMPARE(dialogs->messageTexts(),
                 QStringList{"Unmatched video format clips added.\nThe following clip(s) is(are) NTSC : \n" +
                             QString::fromStdString(clips[0].vobFile) + "\n" +
                             QString::fromStdString(clips[1].vobFile) + "\n" +
                             "The following clip(s) is(are) PAL : \n" + pal + "\n"});
        click(w.get(), "suiImageButton_Burn");
        QVERIFY(!compilerOpened);  // production does not start
        QCOMPARE(dialogs->messageTexts().size(), 2);

        // Removed again, the compiler window opens.
        w->selectClip(2);
        click(w.get(), "suiImageButton_RemoveFile");
        QCOMPARE(clips.count(), 2);
        click(w.get(), "suiImageButton_Burn");
        QVERIFY(compilerOpened);

        // The shape can change here: the panel and the back button follow.
        const QPoint back = w->backButton()->pos();
        click(w.get(), "suiImageButton_4_3");
        QCOMPARE(w->panelSize(), QSize(518, 292));
        QCOMPARE(control<QWidget>(w.get(), "Panel_MenuPreview")->y(), 140);
        QCOMPARE(w->backButton()->pos(), back - QPoint(0, 96));
        click(w.get(), "suiImageButton_16_9");
        QCOMPARE(w->backButton()->pos(), back);

        // Reordering swaps the selected clip with its neighbour.
        const vt::project::ClipRecord *first = &clips[0];
        w->selectClip(0);
        click(w.get(), "suiImageButton_Right");
        QCOMPARE(&clips[1], first);
        QCOMPARE(w->model().selectedClip(), 1);

        // Close empties the project.
        click(w.get(), "suiImageButton_Close");
        QCOMPARE(w->result(), TSetupMenuWindow::kProjectClosed);
        QVERIFY(clips.empty());
        QVERIFY(design.clips.empty());
    }

    void screenshotsOverRealClips()
    {
        const std::string bin = corvane_test::bin_dir();
        const std::string standard = corvane_test::fixture(
            "menu_shot_4_3.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=3", "-pix_fmt", "yuv420p"});
        const std::string wide = corvane_test::fixture(
            "menu_shot_wide_70s.mp4",
            {"-f", "lavfi", "-i", "testsrc=size=640x360:rate=5:duration=70", "-pix_fmt", "yuv420p"});
        const std::string third = corvane_test::fixture(
            "menu_shot_mandel.mp4",
            {"-f", "lavfi", "-i", "mandelbrot=size=320x240:rate=25", "-t", "3", "-pix_fmt", "yuv420p"});
        addClips({QString::fromStdString(standard), QString::fromStdString(wide), QString::fromStdString(third)}, bin);
        QCOMPARE(clips.count(), 3);
        auto w = window(bin);
        w->enterCompilerMode();
        showBuilt(*w);
        QVERIFY(!clips[1].snapshot.isNull());
        w->model().showTitlePage();
        // The user renames the heading the layout made.
        auto heading = std::find_if(design.titlePage.texts.begin(), design.titlePage.texts.end(),
                                    [](const vt::menu::TextItem &t) { return t.role == vt::menu::TextRole::Heading; });
        QVERIFY(heading != design.titlePage.texts.end());
        QCOMPARE(heading->text, std::string("DVD Menu"));
        heading->text = "Our Summer";
        w->model().refreshLayout();
        w->showTitlePage();
        QVERIFY(!vt::saveScreenshot(w.get(), QStringLiteral("SetupMenuWindow_4_3")).isEmpty());

        click(w.get(), "suiImageButton_4_3");
        QTest::mouseClick(w->backgroundViews()[1], Qt::LeftButton);
        w->selectClip(1);
        QVERIFY(!vt::saveScreenshot(w.get(), QStringLiteral("SetupMenuWindow_16_9")).isEmpty());

        w->showChapterPage();
        QCOMPARE(w->model().page(), MenuPage::Chapter);
        w->showChapterPage();
        QVERIFY(!vt::saveScreenshot(w.get(), QStringLiteral("SetupMenuWindow_Chapter")).isEmpty());
        // The chapter buttons show real, different frames.
        const auto &buttons = design.menuOf(clips[1])->chapterPage->buttons;
        QCOMPARE(buttons.size(), size_t(2));
        QVERIFY(!buttons[0].picture.isNull());
        QVERIFY(buttons[0].picture != buttons[1].picture);  // the frames at 0 s and 35 s
    }
};

QTEST_MAIN(SetupMenuWindowTest)
#include "setup_menu_window_test.moc"
