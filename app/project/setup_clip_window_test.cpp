// The clip list window over the scripted converter library: adding with a
// refused file, the selection rules of reordering and removing, trimming
// with the range bar and the time boxes, the live preview and snapshots,
// the two modes, and one run over the real converter library.
#include "app/common/test_program_folder.h"
#include "app/project/clip_list_entry.h"
#include "app/project/range_bar.h"
#include "app/project/setup_clip_window.h"
#include "app/project/setup_subtitle_window.h"
#include "app/project/srt_marker.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_mask_edit.h"
#include "app/widgets/window_test_controls.h"
#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <QWheelEvent>

#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <tuple>

using vt::project::ClipRecordList;

using vt::testing::control;
using vt::testing::click;

namespace {

// Drags a part of the range bar dx pixels with the left button, as a user does.
void drag(QWidget *part, int dx)
{
    const QPointF at(part->width() / 2.0, part->height() / 2.0);
    const QPointF global = part->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(part, &press);
    QMouseEvent move(QEvent::MouseMove, at + QPointF(dx, 0), global + QPointF(dx, 0), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(part, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at + QPointF(dx, 0), global + QPointF(dx, 0), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(part, &release);
}

QColor red()
{
    return QColor(0xff, 0, 0);
}

} // namespace

class SetupClipWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vt::common::TestProgramFolder> folder;
    std::unique_ptr<vt::ScriptedDialogService> dialogs;
    std::unique_ptr<vt::ScopedDialogService> scoped;
    ClipRecordList clips;

    // A file the scripted library accepts: its facts in a sidecar.
    QString clip(const char *name, int duration = 60, int width = 720, int height = 480, int aspect = 2)
    {
        const std::string path = folder->file(name);
        std::ofstream(path) << "x";
        std::ofstream(path + ".facts") << "[f]\nduration=" << duration << "\nwidth=" << width << "\nheight=" << height
                                       << "\naspect=" << aspect << "\nframerate=29.97\nvideobitrate=6000"
                                       << "\nsamplerate=48000\naudiobitrate=192\n";
        return QString::fromStdString(path);
    }

    std::unique_ptr<TSetupClipWindow> window(TSetupClipWindow::Mode mode = TSetupClipWindow::Mode::Builder,
                                             const std::string &library = corvane_test::test_lib_dir())
    {
        auto w = std::make_unique<TSetupClipWindow>(clips, folder->settings, folder->language, folder->bitmaps, library);
        w->enterMode(mode);
        return w;
    }

    std::unique_ptr<TSetupClipWindow> windowWithThree()
    {
        auto w = window();
        w->addFiles({clip("a.avi"), clip("b.avi", 90), clip("c.avi", 120)});
        return w;
    }

    QStringList order() const
    {
        QStringList names;
        for (int i = 0; i < clips.count(); ++i)
            names << QFileInfo(QString::fromStdString(clips[i].fileName)).fileName();
        return names;
    }

private slots:
    void init()
    {
        folder = std::make_unique<vt::common::TestProgramFolder>();
        folder->bitmaps.load(folder->file("RES/"));
        folder->settings.videoDialogFilter = "Video|*.avi;*.mpg";
        dialogs = std::make_unique<vt::ScriptedDialogService>();
        scoped = std::make_unique<vt::ScopedDialogService>(*dialogs);
    }
    void cleanup()
    {
        clips.clear();
        scoped.reset();
        dialogs.reset();
        folder.reset();
    }

    void addingThreeFilesRefusesTheUnusableOneWithOneMessage()
    {
        auto w = window();
        const QString bad = QString::fromStdString(folder->file("notes.txt"));
        std::ofstream(bad.toStdString()) << "not a clip";
        dialogs->answerFiles({clip("a.avi"), bad, clip("b.avi", 90)});
        click(w.get(), "suiImageButton_AddFile");

        QCOMPARE(dialogs->shown().front().filter, QStringLiteral("Video|*.avi;*.mpg"));
        QCOMPARE(order(), QStringList({"a.avi", "b.avi"}));
        QCOMPARE(dialogs->messageTexts(),
                 QStringList {"Some UNSUPPORTED file(s) format can not add in. \n\n" + bad + "\n"});
        QCOMPARE(w->selectedIndex(), 0);
        QVERIFY(!w->busy());
        QVERIFY(!w->findChild<QWidget *>(QStringLiteral("ProgressWindow")));

        // The entry's lines and the estimate: 150 s at 30720 KB a minute.
        const QStringList lines = w->entry(1)->factLines();
        QCOMPARE(lines.value(0), QStringLiteral("Clip Name : b.avi"));
        QCOMPARE(lines.value(1), QStringLiteral("Video : Size 720:480, Bitrate 6000.00, Frame Rate 29.97"));
        QCOMPARE(lines.value(3), QStringLiteral("Start Time : 00:00:00, End Time : 00:01:30"));
        const QFontMetrics facts(TSetupImage::factsFont());
        for (const QString &line : lines + QStringList{"Video : Size 1920:1080, Bitrate 12345.67, Frame Rate 29.97"})
            QVERIFY2(facts.horizontalAdvance(line) <= TSetupImage::kFactsWidth, qPrintable(line));
        QCOMPARE(w->entry(1)->y(), 77);
        QCOMPARE(w->estimate().estimateKB, 150 * 30720 / 60);
        QCOMPARE(control<QWidget>(w.get(), "Image_DiscSizeProgress")->width(), w->estimate().barWidth);
        QVERIFY(w->estimate().barWidth > 0);
        // Fit to disc: the bar shows the fill planned at the fitted bitrate
        // (the 150 s at 8000 kbit/s, far more than the size per minute).
        click(w.get(), "suiCheckBox_FitToDisc");
        QVERIFY(w->estimate().estimateKB > 150 * 30720 / 60 * 3 / 2);
        QCOMPARE(control<QWidget>(w.get(), "Image_DiscSizeProgress")->width(), w->estimate().barWidth);
        QVERIFY(control<QLabel>(w.get(), "Label_DiscSize")->text().startsWith(
            QString::number(w->estimate().estimateKB / 1024) + " MB of "));
        click(w.get(), "suiCheckBox_FitToDisc");
        QCOMPARE(w->estimate().estimateKB, 150 * 30720 / 60);
        // Display size from the aspect code: 720 ÷ 4/3 = 540.
        QCOMPARE(clips[0].snapshot.size(), QSize(720, 540));
        QCOMPARE(QSize(clips[0].previewWidth, clips[0].previewHeight), QSize(296, 220));
    }

    void theDiscSizeFigureSpeaksTheLanguageShownIn()
    {
        auto w = window();
        w->addFiles({clip("a.avi")});
        const QString used = QString::number(w->estimate().estimateKB / 1024);
        auto *figure = control<QLabel>(w.get(), "Label_DiscSize");
        QCOMPARE(figure->text(), used + " MB of 4300 MB");

        // The language changes while the window is hidden (it is chosen in
        // the home window); the figure follows when it is shown again.
        w->hide();
        QVERIFY(folder->language.LoadUILanguage("Deutsch.ini"));
        w->show();
        QCOMPARE(figure->text(), used + " MB von 4300 MB");
        click(w.get(), "suiImageButton_DVD5");
        QCOMPARE(figure->text(), used + " MB von 8500 MB");
    }

    void aDiscOverTheLimitIsReportedInBuilderModeOnly()
    {
        folder->settings.dvd5SizeKB = 1000;
        auto w = window();
        w->addFiles({clip("a.avi")});
        QCOMPARE(dialogs->messageTexts(),
                 QStringList {"Exceeding the DVD-5 disc media limite size. Please select DVD-9 to continue!"});
        // The DVD-5 button switches to DVD-9 and back.
        click(w.get(), "suiImageButton_DVD5");
        QCOMPARE(w->discType(), vt::project::DiscType::DVD9);
        QVERIFY(control<QWidget>(w.get(), "suiImageButton_DVD9")->isVisibleTo(w.get()));
        QVERIFY(control<QWidget>(w.get(), "Image8500")->isVisibleTo(w.get()));
        QVERIFY(!control<QWidget>(w.get(), "suiImageButton_DVD5")->isVisibleTo(w.get()));

        clips.clear();
        dialogs->clear();
        auto converter = window(TSetupClipWindow::Mode::Converter);
        converter->addFiles({clip("b.avi")});
        QVERIFY(dialogs->messageTexts().isEmpty());
    }

    void reorderingAndRemovingKeepTheSelectionRules()
    {
        auto w = windowWithThree();
        QCOMPARE(w->selectedIndex(), 0);
        click(w.get(), "suiImageButton_Up");  // the first clip cannot go up
        QCOMPARE(order(), QStringList({"a.avi", "b.avi", "c.avi"}));
        click(w.get(), "suiImageButton_Down");
        QCOMPARE(order(), QStringList({"b.avi", "a.avi", "c.avi"}));
        QCOMPARE(w->selectedIndex(), 1);
        QVERIFY(w->entry(1)->isSelected());
        QCOMPARE(w->entry(1)->clip(), &clips[1]);

        // Right click on the first entry selects it and offers the menu.
        QTest::mouseRelease(w->entry(0), Qt::RightButton, {}, QPoint(20, 20));
        QCOMPARE(w->selectedIndex(), 0);
        QMenu *menu = w->rightClickMenu();
        QVERIFY(menu);
        QStringList names;
        for (QAction *action : menu->actions())
            names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        QCOMPARE(names, QStringList({"MoveUp", "MovetoTop", "-", "MoveDown", "MovetoBottom", "-", "Add", "Remove", "-",
                                     "Subtitle"}));
        QCOMPARE(menu->actions().last()->text(), QStringLiteral("Add Subtitle File..."));
        menu->findChild<QAction *>(QStringLiteral("MovetoBottom"))->trigger();
        menu->hide();
        QCOMPARE(order(), QStringList({"a.avi", "c.avi", "b.avi"}));
        QCOMPARE(w->selectedIndex(), 2);

        // Removing the last selects the new last; removing the only one leaves none.
        click(w.get(), "suiImageButton_RemoveFile");
        QCOMPARE(order(), QStringList({"a.avi", "c.avi"}));
        QCOMPARE(w->selectedIndex(), 1);
        click(w.get(), "suiImageButton_RemoveFile");
        click(w.get(), "suiImageButton_RemoveFile");
        QCOMPARE(clips.count(), 0);
        QCOMPARE(w->selectedIndex(), -1);
        auto *start = control<TsuiMaskEdit>(w.get(), "suiEdit_Start");
        QCOMPARE(start->displayText(), QStringLiteral("__:__:__"));
        QVERIFY(!start->isEnabled());
        QCOMPARE(w->estimate().barWidth, 0);
    }

    void theScrollThumbMovesTheListByWholeEntries()
    {
        auto w = window();
        w->addFiles({clip("1.avi"), clip("2.avi"), clip("3.avi"), clip("4.avi"), clip("5.avi"), clip("6.avi")});
        auto *thumb = control<QWidget>(w.get(), "suiImageButton_InfoBar");
        const QPointF at(5, 5), global = thumb->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(thumb, &press);
        QMouseEvent move(QEvent::MouseMove, at + QPointF(0, 500), global + QPointF(0, 500), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(thumb, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(thumb, &release);
        QCOMPARE(thumb->y(), 332);
        QCOMPARE(control<QWidget>(w.get(), "Panel_Scroll")->y(), -77);
    }

    void draggingTheLeftHandleTrimsAndShowsTheFrameOfTheNewStart()
    {
        auto w = windowWithThree();  // clip a: 60 s
        auto *bar = control<TRangeBar>(w.get(), "Panel_Progress");
        QCOMPARE(bar->handles(), (vt::project::HandlePositions {0, 230, true}));
        drag(bar->part(TRangeBar::Part::Left), 110);  // half of the 220-pixel travel
        QCOMPARE(clips[0].start, 30);
        QCOMPARE(control<TsuiMaskEdit>(w.get(), "suiEdit_Start")->text(), QStringLiteral("00:00:30"));
        QCOMPARE(w->entry(0)->factLines().value(3), QStringLiteral("Start Time : 00:00:30, End Time : 00:01:00"));
        QCOMPARE(w->estimate().estimateKB, (30 + 90 + 120) * 30720 / 60);

        // The scripted library's frames are coloured by their second: blue = second.
        QTRY_COMPARE_WITH_TIMEOUT(w->preview().lastSecond(), 30, 5000);
        QCOMPARE(qBlue(clips[0].preview.pixel(10, 10)), 30);
        QCOMPARE(clips[0].preview.size(), QSize(296, 220));
        QVERIFY(control<QWidget>(w.get(), "suiImageButton_Snapshoot")->isEnabled());
        QVERIFY(!control<QWidget>(w.get(), "Label_Info")->isVisibleTo(w.get()));

        // The right handle: to 3/4 of the travel gives 45 s; the preview follows.
        drag(bar->part(TRangeBar::Part::Right), -55);
        QCOMPARE(clips[0].end, 45);
        QTRY_COMPARE_WITH_TIMEOUT(w->preview().lastSecond(), 45, 5000);
    }

    void timeBoxesTurnRedOnInvalidInputAndConfirmOnlyValidTimes()
    {
        auto w = windowWithThree();  // clip a: 0–60 of 60 s
        auto *start = control<TsuiMaskEdit>(w.get(), "suiEdit_Start");
        auto *stop = control<TsuiMaskEdit>(w.get(), "suiEdit_Stop");
        start->setText(QStringLiteral("00:01:05"));  // after the end
        QCOMPARE(start->color(), red());
        click(w.get(), "suiImageButton_ConfirmStart");
        QCOMPARE(clips[0].start, 0);
        start->exited();  // leaving a red box resets it
        QCOMPARE(start->text(), QStringLiteral("00:00:00"));
        QCOMPARE(start->color(), QColor(0xe8, 0xe8, 0xe8));

        stop->setText(QStringLiteral("00:01:01"));  // beyond the duration
        QCOMPARE(stop->color(), red());
        click(w.get(), "suiImageButton_ConfirmStop");
        QCOMPARE(clips[0].end, 60);
        stop->setText(QStringLiteral("00:00:40"));
        QCOMPARE(stop->color(), QColor(0xe8, 0xe8, 0xe8));
        click(w.get(), "suiImageButton_ConfirmStop");
        QCOMPARE(clips[0].end, 40);
        QCOMPARE(control<TRangeBar>(w.get(), "Panel_Progress")->handles().right, 157);  // trunc(40/60 × 220 + 10.5)

        start->setText(QStringLiteral("00:00:50"));  // after the new end
        QCOMPARE(start->color(), red());
        start->setText(QStringLiteral("00:00:20"));
        click(w.get(), "suiImageButton_ConfirmStart");
        QCOMPARE(clips[0].start, 20);
        QTRY_COMPARE_WITH_TIMEOUT(w->preview().lastSecond(), 20, 5000);
    }

    void snapshotWritesBitmapAndJpeg()
    {
        auto w = windowWithThree();
        drag(control<TRangeBar>(w.get(), "Panel_Progress")->part(TRangeBar::Part::Left), 44);  // 12 s
        QTRY_COMPARE_WITH_TIMEOUT(w->preview().lastSecond(), 12, 5000);
        const QString bmp = QString::fromStdString(folder->file("shot"));
        const QString jpg = QString::fromStdString(folder->file("other.JPG"));
        dialogs->answerFiles({bmp}, 2);
        dialogs->answerFiles({jpg}, 1);
        click(w.get(), "suiImageButton_Snapshoot");
        click(w.get(), "suiImageButton_Snapshoot");
        QCOMPARE(dialogs->shown().back().filter, QStringLiteral("JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp"));
        const QImage savedBmp(bmp + ".bmp", "BMP");
        QCOMPARE(savedBmp.size(), QSize(720, 540));
        QCOMPARE(qBlue(savedBmp.pixel(5, 5)), 12);
        const QImage savedJpg(jpg, "JPG");
        QCOMPARE(savedJpg.size(), QSize(720, 540));
        QVERIFY(qAbs(qBlue(savedJpg.pixel(5, 5)) - 12) <= 2);
        QVERIFY(!QFile::exists(jpg + ".jpg"));
    }

    void subtitleMarkersAndMenuOnlyInBuilderMode()
    {
        std::ofstream(folder->file("a.srt")) << "1\n00:00:01,000 --> 00:00:02,000\nHello\n";
        auto w = window();
        w->addFiles({clip("a.avi")});
        QCOMPARE(clips[0].subtitleFile, folder->file("a.srt"));
        QVERIFY(w->marker(0)->isVisibleTo(w.get()));
        QVERIFY(w->marker(0)->showsEnabled());
        QVERIFY(control<QWidget>(w.get(), "suiCheckBox_AddDVDMenu")->isVisibleTo(w.get()));

        // A click on the marker opens the subtitle window for that clip.
        TSetupSubtitleWindow subtitles(folder->settings, folder->language, folder->environment().regions, folder->file("Option.ini"));
        TSetupClipWindow::NextWindows next;
        next.subtitleWindow = &subtitles;
        w->setNextWindows(next);
        QWidget *shown = nullptr;
        QTimer::singleShot(0, [&] {
            shown = QApplication::activeModalWidget();
            QTest::mouseClick(control<QWidget>(&subtitles, "suiImageButton_Clear"), Qt::LeftButton);
            QTest::mouseClick(control<QWidget>(&subtitles, "suiImageButton_Ok"), Qt::LeftButton);
        });
        QTest::mouseClick(w->marker(0), Qt::LeftButton);
        QCOMPARE(shown, &subtitles);
        QCOMPARE(clips[0].subtitleFile, std::string());
        QVERIFY(!w->marker(0)->showsEnabled());

        w->enterMode(TSetupClipWindow::Mode::Converter);
        QVERIFY(!w->marker(0)->isVisibleTo(w.get()));
        QVERIFY(!control<QWidget>(w.get(), "suiCheckBox_AddDVDMenu")->isVisibleTo(w.get()));
        QCOMPARE(w->selectedIndex(), -1);
    }

    void closingEmptiesTheProjectAndHandOverGoesToTheModesWindow()
    {
        auto w = windowWithThree();
        QDialog menu, builder, convert;
        TSetupClipWindow::NextWindows next;
        next.menuWindow = &menu;
        next.builderWindow = &builder;
        next.convertWindow = &convert;
        QDialog *prepared = nullptr;
        next.prepare = [&](QDialog *window) { prepared = window; };
        w->setNextWindows(next);
        for (auto [addMenu, mode, expected] :
             {std::tuple {true, TSetupClipWindow::Mode::Builder, &menu},
              std::tuple {false, TSetupClipWindow::Mode::Builder, &builder},
              std::tuple {true, TSetupClipWindow::Mode::Converter, &convert}}) {
            w->enterMode(mode);
            control<TsuiCheckBox>(w.get(), "suiCheckBox_AddDVDMenu")->setChecked(addMenu);
            QWidget *shown = nullptr;
            QTimer::singleShot(0, [&] {
                shown = QApplication::activeModalWidget();
                if (shown)
                    shown->close();
            });
            click(w.get(), "suiImageButton_Menu");
            QCOMPARE(shown, expected);
            QCOMPARE(prepared, expected);
        }
        dialogs->answerMessage(vt::MessageAnswer::Yes);
        click(w.get(), "suiImageButton_Close");
        QCOMPARE(clips.count(), 0);
    }

    void closingAListWithClipsAsksFirstAndNoKeepsIt()
    {
        const std::pair<const char *, std::function<void(TSetupClipWindow *)>> ways[] = {
            {"Close button", [](TSetupClipWindow *w) { click(w, "suiImageButton_Close"); }},
            {"Escape", [](TSetupClipWindow *w) { QTest::keyClick(w, Qt::Key_Escape); }},
            {"window close", [](TSetupClipWindow *w) { w->close(); }},
        };
        for (const auto &[way, closeWindow] : ways) {
            auto w = windowWithThree();
            w->show();
            dialogs->clear();
            closeWindow(w.get());  // unanswered: the default answer, No
            QVERIFY2(w->isVisible(), way);
            QCOMPARE(clips.count(), 3);
            QCOMPARE(dialogs->shown().size(), size_t(1));
            QVERIFY(dialogs->shown()[0].buttons == vt::MessageButtons::YesNoDefaultNo);
            QCOMPARE(dialogs->shown()[0].text, QStringLiteral("Close the clip list? Its clips, with their trims, "
                                                              "chapters and subtitles, will be discarded."));
            dialogs->answerMessage(vt::MessageAnswer::Yes);
            closeWindow(w.get());
            QVERIFY2(!w->isVisible(), way);
            QCOMPARE(clips.count(), 0);
        }
        // An empty list closes without a question.
        auto empty = window();
        empty->show();
        dialogs->clear();
        click(empty.get(), "suiImageButton_Close");
        QVERIFY(!empty->isVisible());
        QVERIFY(dialogs->shown().empty());
    }

    void theStartHandleShowsTheAcceptedStartAndStopsAtTheLimit()
    {
        auto w = windowWithThree();  // clip a: 60 s, so the start is at most 50 s
        auto *bar = control<TRangeBar>(w.get(), "Panel_Progress");
        QWidget *left = bar->part(TRangeBar::Part::Left);
        QCOMPARE(bar->leftLimit(), 184);  // the first position that reads 50 s
        QCOMPARE(vt::project::StartFromHandle(184, 60), 50);
        QCOMPARE(left->toolTip(), QStringLiteral("The start can be at most 10 seconds before the end of the clip."));
        const int accepted = vt::project::PlaceHandles(50, 60, 60).left;
        // The left handle dragged to the far end, and a narrow stretch dragged past the limit.
        for (auto [part, end, dx] : {std::tuple {TRangeBar::Part::Left, 60, 215},
                                     std::tuple {TRangeBar::Part::Stretch, 5, 300}}) {
            bar->setHandles(vt::project::PlaceHandles(0, end, 60));
            drag(bar->part(part), dx);
            QCOMPARE(clips[0].start, 50);
            QCOMPARE(bar->handles().left, accepted);
            QCOMPARE(left->x(), accepted);
            QCOMPARE(control<TsuiMaskEdit>(w.get(), "suiEdit_Start")->text(), QStringLiteral("00:00:50"));
            w->select(1);
            w->select(0);
        }
    }

    void theSizeBarMarksSitOnTheBarsScale()
    {
        auto w = windowWithThree();
        auto *mark47 = control<QWidget>(w.get(), "Image4700");
        auto *mark85 = control<QWidget>(w.get(), "Image8500");
        auto *trough = control<QWidget>(w.get(), "Panel_DiscSize");
        const int barLeft = trough->x() + 2, barRight = trough->x() + trough->width() - 2;
        // DVD-5: the bar is one DVD-5; 4.7 GB ends at its right end.
        QCOMPARE(mark47->geometry().right() + 1, barRight);
        QVERIFY(!mark85->isVisibleTo(w.get()));
        // DVD-9: the bar is one DVD-9; 4.7 GB ends where a DVD-5 is full.
        click(w.get(), "suiImageButton_DVD5");
        QCOMPARE(mark85->geometry().right() + 1, barRight);
        const int dvd5End = barLeft + (barRight - barLeft) * folder->settings.dvd5SizeKB / folder->settings.dvd9SizeKB;
        QVERIFY2(std::abs(mark47->geometry().right() + 1 - dvd5End) <= 1, qPrintable(QString::number(mark47->x())));
        QVERIFY(mark85->isVisibleTo(w.get()));
    }

    void theMouseWheelScrollsTheListAndAnEmptyListSaysWhatToDo()
    {
        auto w = window();
        w->show();
        auto *hint = control<QLabel>(w.get(), "Label_EmptyList");
        QVERIFY(hint->isVisibleTo(w.get()));
        QVERIFY(hint->text().contains(QStringLiteral("Add Clip(s)...")));
        w->addFiles({clip("1.avi"), clip("2.avi"), clip("3.avi"), clip("4.avi"), clip("5.avi"), clip("6.avi")});
        QVERIFY(!hint->isVisibleTo(w.get()));

        auto *panel = control<QWidget>(w.get(), "Panel_Scroll");
        const auto wheel = [&](int delta) {
            QWidget *under = w->entry(0);
            const QPointF at(20, 20);
            QWheelEvent event(at, under->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(under, &event);
        };
        wheel(-120);  // one notch down: the one hidden entry comes into view
        QCOMPARE(panel->y(), -77);
        QCOMPARE(control<QWidget>(w.get(), "suiImageButton_InfoBar")->y(), 332);
        wheel(120);
        QCOMPARE(panel->y(), 0);
    }

    void clipCardTextStandsOutFromItsBackground()
    {
        auto w = windowWithThree();
        const QImage card = w->entry(0)->grab().toImage();
        // The facts' area: its most common colour is the background, the
        // glyphs' cores the farthest from it.
        const auto luminance = [](QRgb c) {
            const auto channel = [](int v) {
                const double s = v / 255.0;
                return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
        };
        std::map<QRgb, int> counts;
        for (int y = 12; y < 62; ++y)
            for (int x = 112; x < 392; ++x)
                ++counts[card.pixel(x, y)];
        const QRgb background =
            std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) { return a.second < b.second; })->first;
        double best = 1;
        for (const auto &[colour, count] : counts) {
            const double a = luminance(colour), b = luminance(background);
            best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
        }
        QVERIFY2(best >= 4.5, qPrintable(QString::number(best)));
    }

    void screenshotOfThreeClipsOneWithSubtitle()
    {
        // Generated clips through the real converter library, so that the
        // pictures are real frames.
        const auto copy = [this](const std::string &fixture, const char *name) {
            const QString to = QString::fromStdString(folder->file(name));
            QFile::copy(QString::fromStdString(fixture), to);
            return to;
        };
        const QString holiday = copy(corvane_test::clip_h264_16_9(), "holiday.mp4");
        std::ofstream(folder->file("holiday.srt")) << "1\n00:00:01,000 --> 00:00:02,000\nHello\n";
        const QString birthday = copy(corvane_test::clip_long(), "birthday.avi");
        const QString garden = copy(corvane_test::clip_pal_4_3(), "garden.avi");
        auto w = window(TSetupClipWindow::Mode::Builder, corvane_test::bin_dir());
        w->addFiles({holiday});
        w->addFiles({birthday, garden});
        QCOMPARE(clips.count(), 3);
        QVERIFY(w->marker(0)->showsEnabled());
        w->select(1);
        drag(control<TRangeBar>(w.get(), "Panel_Progress")->part(TRangeBar::Part::Left), 44);  // 4 s
        QTRY_COMPARE_WITH_TIMEOUT(w->preview().lastSecond(), 4, 20000);
        w->show();
        QVERIFY(!vt::saveScreenshot(w.get(), QStringLiteral("SetupClipWindow")).isEmpty());
    }

    void realConverterLibraryGivesFactsAndAFrameAtAChosenSecond()
    {
        const QString file = QString::fromStdString(corvane_test::clip_long());  // 320×240, 20 s
        auto w = window(TSetupClipWindow::Mode::Converter, corvane_test::bin_dir());
        w->addFiles({file});
        QCOMPARE(clips.count(), 1);
        QCOMPARE(clips[0].width, 320);
        QCOMPARE(clips[0].height, 240);
        QVERIFY(clips[0].duration >= 19 && clips[0].duration <= 20);
        QVERIFY(!clips[0].snapshot.isNull());

        auto *start = control<TsuiMaskEdit>(w.get(), "suiEdit_Start");
        start->setText(QStringLiteral("00:00:05"));
        click(w.get(), "suiImageButton_ConfirmStart");
        QCOMPARE(clips[0].start, 5);
        QTRY_COMPARE_WITH_TIMEOUT(w->preview().lastSecond(), 5, 20000);
        QCOMPARE(clips[0].preview.size(), QSize(clips[0].previewWidth, clips[0].previewHeight));
    }
};

QTEST_MAIN(SetupClipWindowTest)
#include "setup_clip_window_test.moc"
