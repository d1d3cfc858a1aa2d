// The converter window as the user drives it, over the scripted converter
// library: what a show resets, Start with an empty list, the outcomes of a
// run, Stop and Close while busy or idle, and the TV system written back.
#include "app/production/convert_window.h"

#include "app/common/test_program_folder.h"
#include "app/common/work_folder.h"
#include "app/project/clip_record.h"
#include "app/widgets/desktop_opener.h"
#include "app/widgets/label.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_edit.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_memo.h"
#include "app/widgets/sui_progress_bar.h"
#include "app/widgets/window_test_controls.h"
#include "platform/ini_file.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <fstream>

using vt::MessageAnswer;

using vt::testing::control;
using vt::testing::click;

namespace {

QString labelText(QWidget *window, const char *name)
{
    return control<QLabel>(window, name)->text();
}

QStringList logLines(QWidget *window)
{
    return control<TsuiMemo>(window, "Memo_Msg")->lines();
}

// A program folder with the scripted converter library, a project and the
// converter window over them; the desktop opener and the dialogs recorded.
class Fixture {
public:
    explicit Fixture(bool withConverter = true)
    {
        if (withConverter)
            QVERIFY(QFile::copy(QStringLiteral(VANTOREL_TEST_LIB_DIR "/libCorvane.so"), folder.path() + "libCorvane.so"));
        folder.settings.outputFolder = folder.file("D/Out/");
        folder.settings.parallelConversions = 1;  // one after another, unless a test wants workers
        previousOpener = vt::setDesktopOpener([this](const QUrl &url) { opened.push_back(url); return true; });
        window = std::make_unique<TConvertWindow>(ConvertWindowServices{
            folder.settings, folder.language, clips, folder.path().toStdString(), folder.file("Temp/"),
            folder.file("Option.ini"), folder.environment().folders});
    }
    ~Fixture() { vt::setDesktopOpener(previousOpener); }

    // A clip file with its facts for the scripted library (pace: clip
    // seconds converted per 10 ms).
    vt::project::ClipRecord &addClip(const char *name, int duration, const std::string &extraFacts = "",
                                    int pace = 50)
    {
        const std::string path = folder.file(name);
        std::ofstream(path) << "clip";
        std::ofstream(path + ".facts") << "[facts]\nduration=" << duration << "\nwidth=720\nheight=576\naspect=1\n"
                                       << "encode_pace=" << pace << "\n" << extraFacts;
        auto clip = std::make_unique<vt::project::ClipRecord>();
        clip->fileName = path;
        vt::project::StreamFacts facts;
        facts.duration = duration;
        facts.width = 720;
        facts.height = 576;
        facts.progressive = 1;
        clip->setStreamFacts(facts);
        return clips.append(std::move(clip));
    }

    // The arguments the scripted library was called with, one per line
    // after its "FAKEVOB" mark.
    static QStringList vobArguments(const std::string &vob)
    {
        QFile file(QString::fromStdString(vob));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n');
    }

    vt::common::TestProgramFolder folder;
    vt::ScriptedDialogService dialogs;
    vt::ScopedDialogService scopedDialogs{dialogs};
    vt::project::ClipRecordList clips;
    std::unique_ptr<TConvertWindow> window;
    QList<QUrl> opened;
    vt::DesktopOpener previousOpener;
};

} // namespace

class ConvertWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showResetsTheWindowFromTheSettingsAndTheProject()
    {
        Fixture f;
        f.folder.settings.ntsc = false;
        f.folder.settings.outputQuality = 2;
        f.addClip("a.mpg", 20);
        f.addClip("b.mpg", 20).interlaced = true;
        // The run's own marked folder in the work folder is emptied; a file
        // of someone else's beside it stays.
        QVERIFY(vt::common::MakeOwnWorkFolder(f.folder.file("Temp/vantorel-work/")));
        QDir().mkpath(f.folder.path() + "Temp/vantorel-work/left");
        std::ofstream(f.folder.file("Temp/vantorel-work/left/over.xml")) << "x";
        std::ofstream(f.folder.file("Temp/mine.txt")) << "x";
        f.window->show();

        QCOMPARE(f.window->objectName(), QStringLiteral("ConvertWindow"));
        QVERIFY(control<TsuiCheckBox>(f.window.get(), "suiCheckBox_PAL")->isChecked());
        QVERIFY(!control<TsuiCheckBox>(f.window.get(), "suiCheckBox_NTSC")->isChecked());
        QVERIFY(control<TsuiCheckBox>(f.window.get(), "suiCheckBox_Deinterlace")->isChecked());
        auto *quality = control<TsuiComboBox>(f.window.get(), "suiComboBox_OutputQuality");
        QCOMPARE(quality->count(), 3);
        QCOMPARE(quality->itemText(0), QStringLiteral("Preference by Image Quality -- Larger Output Size"));
        QCOMPARE(quality->itemText(2), QStringLiteral("Preference by Max. Conversion Speed and Min. Output Size"));
        QCOMPARE(quality->currentIndex(), 2);
        QCOMPARE(labelText(f.window.get(), "Label_CurrentTime"), QStringLiteral("00:00:00"));
        QCOMPARE(labelText(f.window.get(), "Label_Duration"), QStringLiteral("00:00:00"));
        QCOMPARE(labelText(f.window.get(), "Label_FPS"), QStringLiteral("0"));
        QCOMPARE(labelText(f.window.get(), "Label_CurrentFrame"), QStringLiteral("0"));
        QCOMPARE(labelText(f.window.get(), "Label_Percent1"), QStringLiteral("0 %"));
        QVERIFY(control<QWidget>(f.window.get(), "suiImageButton_Start")->isVisible());
        QVERIFY(!control<QWidget>(f.window.get(), "suiImageButton_Stop")->isVisible());
        QVERIFY(!QFileInfo::exists(f.folder.path() + "Temp/vantorel-work/left"));
        QVERIFY(QFileInfo::exists(f.folder.path() + "Temp/mine.txt"));

        // Each NTSC/PAL box unchecks the other.
        click(f.window.get(), "suiCheckBox_NTSC");
        QVERIFY(control<TsuiCheckBox>(f.window.get(), "suiCheckBox_NTSC")->isChecked());
        QVERIFY(!control<TsuiCheckBox>(f.window.get(), "suiCheckBox_PAL")->isChecked());

        // Browse: the chosen folder becomes the output folder.
        QDir().mkpath(f.folder.path() + "D/Chosen");
        f.dialogs.answerFolder(f.folder.path() + "D/Chosen");
        click(f.window.get(), "suiImageButton_Browse");
        QCOMPARE(f.dialogs.shown().back().caption, QStringLiteral("Please selct output folder!"));
        QCOMPARE(f.folder.settings.outputFolder, f.folder.file("D/Chosen/"));
        QCOMPARE(control<TsuiEdit>(f.window.get(), "suiEdit_OutputFolder")->text(), f.folder.path() + "D/Chosen/");

        // A refused choice keeps the folder and tells the user why.
        f.dialogs.answerFolder(QStringLiteral("/"));
        click(f.window.get(), "suiImageButton_Browse");
        QCOMPARE(f.folder.settings.outputFolder, f.folder.file("D/Chosen/"));
        QCOMPARE(f.dialogs.shown().back().text,
                 QStringLiteral("The top of the system's file system / can not take output. The output folder stays ") +
                     f.folder.path() + "D/Chosen/.");

        // A project without interlaced clips leaves deinterlacing off.
        f.window->hide();
        f.clips[1].interlaced = false;
        f.window->show();
        QVERIFY(!control<TsuiCheckBox>(f.window.get(), "suiCheckBox_Deinterlace")->isChecked());
    }

    void startWithoutClipsSaysThereIsNothingToConvert()
    {
        Fixture f;
        f.window->show();
        click(f.window.get(), "suiImageButton_Start");
        QCOMPARE(f.dialogs.messageTexts(), QStringList{QStringLiteral("No file to convert.")});
        QCOMPARE(f.window->outcome(), -1);
        QVERIFY(logLines(f.window.get()).isEmpty());
        QVERIFY(f.opened.isEmpty());
    }

    void convertsEveryClipAndOpensTheOutputFolder()
    {
        Fixture f;
        f.addClip("first.mpg", 30);
        f.addClip("second.mpg", 12).setTimes(2, 7);
        f.window->setAspect(vt::production::kAspect16x9);
        f.window->show();
        click(f.window.get(), "suiCheckBox_PAL");
        control<TsuiComboBox>(f.window.get(), "suiComboBox_OutputQuality")->setCurrentIndex(0);
        click(f.window.get(), "suiImageButton_Start");

        QCOMPARE(f.window->outcome(), 1);
        const QStringList log = logLines(f.window.get());
        QCOMPARE(log, (QStringList{"Data preparation >>>", "Start to convert clip to VOB file >>>",
                                   "first.mpg >>>> OutputVOB_0.vob", "second.mpg >>>> OutputVOB_1.vob",
                                   "<<< Process finish"}));
        QCOMPARE(f.opened, QList<QUrl>{QUrl::fromLocalFile(f.folder.path() + "D/Out/")});
        QCOMPARE(f.folder.settings.outputQuality, 0);
        QCOMPARE(f.clips[1].vobFile, f.folder.file("D/Out/OutputVOB_1.vob"));
        QCOMPARE(labelText(f.window.get(), "Label_Percent1"), QStringLiteral("100 %"));
        QCOMPARE(control<TsuiProgressBar>(f.window.get(), "suiProgressBar_1")->value(), 100);
        QCOMPARE(labelText(f.window.get(), "Label_Duration"), QStringLiteral("00:00:05"));
        // The last clip's trimmed end: the panel ends at its duration, never past it.
        QCOMPARE(labelText(f.window.get(), "Label_CurrentTime"), QStringLiteral("00:00:05"));
        QVERIFY(control<QWidget>(f.window.get(), "suiImageButton_Start")->isVisible());
        QVERIFY(control<QWidget>(f.window.get(), "suiCheckBox_PAL")->isEnabled());

        // What the library was asked: PAL, 16:9, the first quality, the trim.
        const QStringList second = Fixture::vobArguments(f.clips[1].vobFile);
        QCOMPARE(second.value(0), QStringLiteral("FAKEVOB"));
        QCOMPARE(second.value(2), QStringLiteral("2"));      // start
        QCOMPARE(second.value(4), QStringLiteral("16:9"));   // aspect
        QCOMPARE(second.value(7), QStringLiteral("5000"));   // video bitrate of quality 0
        QCOMPARE(second.value(14), QStringLiteral("25"));    // frame rate
        QCOMPARE(second.value(19), QStringLiteral("5"));     // duration: end - start
        QCOMPARE(second.value(21), QStringLiteral("2"));     // PAL

        vt::saveScreenshot(f.window.get(), QStringLiteral("ConvertWindow"));
    }

    void failedRunsEndWithTheirOutcome_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("missing source") << "missing source" << 2 << "<<< Conversion parameter wrong";
        QTest::newRow("converter fails") << "converter fails" << 3 << "<<< Conversion process wrong";
        QTest::newRow("converter odd result") << "converter odd result" << 3 << "<<< Conversion process wrong";
        QTest::newRow("no converter library") << "no converter library" << 15
                                              << "<<< Can not start conversion process";
    }
    void failedRunsEndWithTheirOutcome()
    {
        QFETCH(QString, failure);
        QFETCH(int, outcome);
        QFETCH(QString, lastLine);
        Fixture f(failure != "no converter library");
        f.addClip("ok.mpg", 10);
        vt::project::ClipRecord &bad = f.addClip("bad.mpg", 10,
                                                failure == "converter fails"      ? "encode_result=-1\n"
                                                : failure == "converter odd result" ? "encode_result=7\n"
                                                                                    : "");
        if (failure == "missing source")
            QFile::remove(QString::fromStdString(bad.fileName));
        f.window->show();
        click(f.window.get(), "suiImageButton_Start");

        QCOMPARE(f.window->outcome(), outcome);
        QCOMPARE(logLines(f.window.get()).last(), lastLine);
        QVERIFY(f.opened.isEmpty());
        QVERIFY(control<QWidget>(f.window.get(), "suiImageButton_Start")->isVisible());
        QVERIFY(!control<QWidget>(f.window.get(), "suiImageButton_Stop")->isVisible());
        if (failure == "missing source") {
            // Named, and refused before any clip is converted.
            QVERIFY(logLines(f.window.get()).contains("Source file not found: " + QString::fromStdString(bad.fileName)));
            QVERIFY(!QFileInfo::exists(f.folder.path() + "D/Out/OutputVOB_0.vob"));
        } else if (outcome != 15) {
            QVERIFY(QFileInfo::exists(f.folder.path() + "D/Out/OutputVOB_0.vob"));
        }
    }

    void stopAndCloseWhileConverting()
    {
        Fixture f;
        f.addClip("long.mpg", 300, "", 1);  // three seconds of converting
        f.window->show();
        f.dialogs.answerMessage(MessageAnswer::Ok);   // "Please stop process first!"
        f.dialogs.answerMessage(MessageAnswer::No);   // first Stop: go on
        f.dialogs.answerMessage(MessageAnswer::Yes);  // second Stop: stop
        bool busyMidway = false, stopShown = false;
        QTimer::singleShot(200, f.window.get(), [&] {
            busyMidway = f.window->busy();
            stopShown = control<QWidget>(f.window.get(), "suiImageButton_Stop")->isVisible();
            click(f.window.get(), "suiImageButton_Close");
            f.window->reject();  // the window's own close is refused too
            click(f.window.get(), "suiImageButton_Stop");
        });
        QTimer::singleShot(1100, f.window.get(), [&] {
            vt::saveScreenshot(f.window.get(), QStringLiteral("ConvertWindow_Busy"));
            click(f.window.get(), "suiImageButton_Stop");
        });
        click(f.window.get(), "suiImageButton_Start");

        QVERIFY(busyMidway);
        QVERIFY(stopShown);
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.dialogs.messageTexts(),
                 (QStringList{"Please stop process first!", "Do you want to stop process?",
                              "Do you want to stop process?"}));
        QCOMPARE(f.window->outcome(), 0);
        QCOMPARE(logLines(f.window.get()).last(), QStringLiteral("<<< User abort"));
        QVERIFY(f.opened.isEmpty());
        const int percent = control<TsuiProgressBar>(f.window.get(), "suiProgressBar_1")->value();
        QVERIFY2(percent > 0 && percent < 100, qPrintable(QString::number(percent)));
    }

    // The stop question waits for the user while the conversion goes on (in
    // worker processes): the figures keep moving under it, and "Yes" once
    // everything was converted reports the finish instead of an abort.
    void theDisplayStaysLiveUnderTheStopQuestion()
    {
        // Looks at the figures twice while thinking, then answers Yes.
        class SlowUser : public vt::ScriptedDialogService {
        public:
            explicit SlowUser(QWidget *window) : window_(window) {}
            vt::MessageAnswer showMessage(QWidget *parent, const QString &caption, const QString &text,
                                          vt::MessageIcon icon, vt::MessageButtons buttons) override
            {
                QEventLoop thinking;
                QTimer::singleShot(300, &thinking, [&] { seenEarly = labelText(window_, "Label_CurrentTime"); });
                QTimer::singleShot(2000, &thinking, &QEventLoop::quit);
                thinking.exec();
                seenLate = labelText(window_, "Label_CurrentTime");
                answerMessage(MessageAnswer::Yes);
                return ScriptedDialogService::showMessage(parent, caption, text, icon, buttons);
            }
            QString seenEarly, seenLate;

        private:
            QWidget *window_;
        };
        Fixture f;
        QVERIFY(QFile::copy(QStringLiteral(VANTOREL_CONVERT_WORKER), f.folder.path() + "vantorel-convert-worker"));
        f.folder.settings.parallelConversions = 2;
        f.addClip("a.mpg", 60, "", 1);  // 0.6 s of converting each
        f.addClip("b.mpg", 60, "", 1);
        SlowUser user(f.window.get());
        vt::ScopedDialogService scoped(user);
        f.window->show();
        QTimer::singleShot(100, f.window.get(), [&] { click(f.window.get(), "suiImageButton_Stop"); });
        click(f.window.get(), "suiImageButton_Start");

        QCOMPARE(user.messageTexts(), QStringList {"Do you want to stop process?"});
        QVERIFY(user.shown()[0].buttons == vt::MessageButtons::YesNoDefaultNo);
        QCOMPARE(user.seenLate, QStringLiteral("00:02:00"));
        QVERIFY2(user.seenEarly != user.seenLate, qPrintable(user.seenEarly));
        QCOMPARE(f.window->outcome(), 1);
        const QStringList log = logLines(f.window.get());
        QVERIFY(log.contains("The conversion had already finished; there was nothing left to stop."));
        QCOMPARE(log.last(), QStringLiteral("<<< Process finish"));
        QVERIFY(QFileInfo::exists(f.folder.path() + "D/Out/OutputVOB_1.vob"));
    }

    void aNewRunStartsFromAnEmptyPanelAndTheBurnBarIsHidden()
    {
        Fixture f;
        f.addClip("a.mpg", 6);
        f.window->show();
        QVERIFY(!control<QWidget>(f.window.get(), "suiProgressBar_2")->isVisibleTo(f.window.get()));
        QVERIFY(!control<QWidget>(f.window.get(), "Label_Bar2")->isVisibleTo(f.window.get()));
        click(f.window.get(), "suiImageButton_Start");
        QCOMPARE(labelText(f.window.get(), "Label_CurrentTime"), QStringLiteral("00:00:06"));
        // The second run's first figures are its own.
        QString firstSeen;
        QTimer::singleShot(0, f.window.get(), [&] { firstSeen = labelText(f.window.get(), "Label_CurrentTime"); });
        click(f.window.get(), "suiImageButton_Start");
        QCOMPARE(firstSeen, QStringLiteral("00:00:00"));
    }

    void withoutADesktopOpenerTheOutputFolderIsNamed()
    {
        Fixture f;
        vt::setDesktopOpener([](const QUrl &) { return false; });
        f.addClip("a.mpg", 3);
        f.window->show();
        click(f.window.get(), "suiImageButton_Start");
        QCOMPARE(f.window->outcome(), 1);
        QCOMPARE(f.dialogs.messageTexts().value(0),
                 "There is no program to open this with (xdg-open is missing or failed). You can open it yourself:\n"
                     + f.folder.path() + "D/Out/");
    }

    // Two workers side by side: the bar and the times follow the whole
    // project, the log says when each clip starts and is done.
    void parallelRunShowsTheWholeProject()
    {
        Fixture f;
        QVERIFY(QFile::copy(QStringLiteral(VANTOREL_CONVERT_WORKER), f.folder.path() + "vantorel-convert-worker"));
        f.folder.settings.parallelConversions = 2;
        for (const char *name : {"a.mpg", "b.mpg", "c.mpg"})
            f.addClip(name, 200, "", 1);  // 2 s of converting each
        f.window->show();
        int midwayPercent = -1;
        QStringList midwayLog;
        QTimer::singleShot(1200, f.window.get(), [&] {
            midwayPercent = control<TsuiProgressBar>(f.window.get(), "suiProgressBar_1")->value();
            midwayLog = logLines(f.window.get());
            vt::saveScreenshot(f.window.get(), QStringLiteral("ConvertWindow_Parallel"));
        });
        // The project's frame count only grows, also when a clip is done.
        std::vector<int> frames;
        QTimer frameWatch;
        QObject::connect(&frameWatch, &QTimer::timeout, [&] {
            bool number = false;
            const int frame = labelText(f.window.get(), "Label_CurrentFrame").toInt(&number);
            if (number)
                frames.push_back(frame);
        });
        frameWatch.start(50);
        click(f.window.get(), "suiImageButton_Start");
        frameWatch.stop();

        QVERIFY(frames.size() > 10);
        QVERIFY2(std::is_sorted(frames.begin(), frames.end()), qPrintable(QString::number(frames.back())));
        QCOMPARE(f.window->outcome(), 1);
        // Two of three clips part done: under half of the project (the bar of
        // one clip would be past half).
        QVERIFY2(midwayPercent > 0 && midwayPercent < 50, qPrintable(QString::number(midwayPercent)));
        QVERIFY(midwayLog.contains("a.mpg >>>> OutputVOB_0.vob") && midwayLog.contains("b.mpg >>>> OutputVOB_1.vob"));
        QVERIFY(!midwayLog.contains("c.mpg >>>> OutputVOB_2.vob"));
        const QStringList log = logLines(f.window.get());
        for (const char *line : {"Converted: OutputVOB_0.vob", "Converted: OutputVOB_1.vob",
                                 "Converted: OutputVOB_2.vob"})
            QVERIFY2(log.contains(line), line);
        QCOMPARE(log.last(), QStringLiteral("<<< Process finish"));
        QCOMPARE(labelText(f.window.get(), "Label_Duration"), QStringLiteral("00:10:00"));
        QCOMPARE(control<TsuiProgressBar>(f.window.get(), "suiProgressBar_1")->value(), 100);
    }

    void stopWithoutAConversionCannotStop()
    {
        Fixture f;
        f.addClip("a.mpg", 10);
        f.window->show();
        control<TsuiImageButton>(f.window.get(), "suiImageButton_Stop")->click();
        QCOMPARE(f.dialogs.messageTexts(), QStringList{QStringLiteral("Can not stop process!")});
        QCOMPARE(f.window->outcome(), -1);
    }

    void closingWritesAChangedTvSystemAndEmptiesTheWorkFolder()
    {
        Fixture f;
        f.folder.settings.ntsc = true;
        f.window->show();
        click(f.window.get(), "suiCheckBox_PAL");
        QVERIFY(vt::common::MakeOwnWorkFolder(f.folder.file("Temp/vantorel-work/")));
        std::ofstream(f.folder.file("Temp/vantorel-work/author.xml")) << "x";
        click(f.window.get(), "suiImageButton_Close");

        QVERIFY(!f.window->isVisible());
        QVERIFY(!f.folder.settings.ntsc);
        QCOMPARE(vt::IniFile(f.folder.file("Option.ini")).readString("Option", "VideoFormat", "?"), std::string("0"));
        QVERIFY(!QFileInfo::exists(f.folder.path() + "Temp/vantorel-work/author.xml"));
    }

    void aTvSystemThatCannotBeWrittenIsReported()
    {
        Fixture f;
        f.folder.removeFile("Option.ini");
        QDir().mkpath(f.folder.path() + "Option.ini");  // a folder where the file should be
        f.window->show();
        click(f.window.get(), "suiCheckBox_PAL");
        click(f.window.get(), "suiImageButton_Close");

        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.dialogs.messageTexts(), QStringList{"Can not write " + f.folder.path() + "Option.ini"});
        QCOMPARE(f.dialogs.shown().back().icon, vt::MessageIcon::Error);
    }
};

QTEST_MAIN(ConvertWindowTest)
#include "convert_window_test.moc"
