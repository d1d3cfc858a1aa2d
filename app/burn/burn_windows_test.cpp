// The windows that burn, as the user drives them: the one-step builder on
// real engines and a pseudo-drive, the burn window, the device window and
// the burner mode's source window, with the dialogs scripted.
#include "app/burn/builder_window.h"
#include "app/burn/burn_window.h"
#include "app/burn/burner_facade.h"
#include "app/burn/compiler_window.h"
#include "app/burn/device_window.h"
#include "app/burn/setup_dvd_file_window.h"
#include "app/burn/starburn_engine.h"
#include "app/common/test_command.h"
#include "app/common/test_program_folder.h"
#include "app/project/clip_probe.h"
#include "app/project/clip_record.h"
#include "app/widgets/desktop_opener.h"
#include "app/widgets/label.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_memo.h"
#include "app/widgets/sui_progress_bar.h"
#include "app/widgets/sui_string_grid.h"
#include "app/widgets/window_test_controls.h"

#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using vt::MessageAnswer;
using vt::testing::click;
using vt::testing::control;

namespace {

const std::string kBin = std::string(VANTOREL_BIN_DIR) + "/";
const std::string kTestLibs = std::string(VANTOREL_TEST_LIB_DIR) + "/";

QStringList logLines(QWidget *window)
{
    return control<TsuiMemo>(window, "Memo_Msg")->lines();
}

// A 1-second clip made by the ffmpeg command.
std::string makeClip(const std::string &path, const char *size = "320x240", const char *rate = "30000/1001",
                     const char *target = nullptr)
{
    QStringList argv{"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                     QString("testsrc=size=%1:rate=%2:duration=1").arg(size, rate), "-f", "lavfi", "-i",
                     "sine=duration=1:sample_rate=48000"};
    if (target)
        argv << "-target" << target;
    argv << QString::fromStdString(path);
    QString output;
    if (!vt::common::RunTestCommand(argv, &output))
        qWarning("%s", qPrintable(output));
    return path;
}

// The lines of lsdvd's report that describe titles.
QStringList lsdvdTitles(const std::string &image)
{
    QString output;
    vt::common::RunTestCommand({"lsdvd", QString::fromStdString(image)}, &output);
    QStringList titles;
    for (const QString &line : output.split('\n'))
        if (line.startsWith("Title:"))
            titles << line;
    return titles;
}

// A program folder, a project, one burner and the windows' services;
// dialogs scripted and the desktop opener recorded.
class Fixture {
public:
    // drives: the pseudo-drive list for the real burning library, or a
    // drive script for the scripted one.
    enum class Burner { Real, Scripted };
    Fixture(Burner burner, const std::string &drives)
        : dialogs_(std::make_unique<vt::ScriptedDialogService>())
        , scoped_(*dialogs_)
    {
        folder.settings.outputFolder = folder.file("D/Out/");
        folder.settings.ntsc = true;
        folder.settings.deleteTempFiles = true;
        folder.settings.parallelConversions = 1;
        fs::create_directories(folder.file("D/Out"));
        if (burner == Burner::Real) {
            ::setenv("VANTOREL_BURN_DRIVES", drives.c_str(), 1);
        } else {
            std::ofstream(folder.file("drives.ini")) << drives;
            ::setenv("VANTOREL_FAKE_BURN_SCRIPT", folder.file("drives.ini").c_str(), 1);
        }
        facade = std::make_unique<vt::burn::BurnerFacade>(
            std::make_unique<vt::burn::StarBurnEngine>((burner == Burner::Real ? kBin : kTestLibs) + "libstarburn.so",
                                                       nullptr),
            vt::burn::BurnerSettings{});
        previousOpener_ = vt::setDesktopOpener([this](const QUrl &url) {
            opened.push_back(url);
            return true;
        });
        device = std::make_unique<TDeviceWindow>(*facade, folder.language);
    }
    ~Fixture()
    {
        vt::setDesktopOpener(previousOpener_);
        device.reset();
        facade.reset();
        ::unsetenv("VANTOREL_BURN_DRIVES");
        ::unsetenv("VANTOREL_FAKE_BURN_SCRIPT");
    }

    vt::burn::DiscWindowServices services()
    {
        return {folder.settings,
                folder.language,
                clips,
                *facade,
                burnerIndex,
                folder.environment().regions,
                kBin,
                folder.file("Temp/"),
                folder.file("Option.ini"),
                folder.environment().folders,
                [this](int drive) { device->openFor(drive); }};
    }

    vt::project::ClipRecord &addClip(const std::string &path)
    {
        auto probed = vt::project::ProbeClip(path, true, kBin);
        if (!probed.clip)
            qWarning("%s", probed.error.c_str());
        return clips.append(std::move(probed.clip));
    }

    vt::ScriptedDialogService &dialogs() { return *dialogs_; }

    vt::common::TestProgramFolder folder;
    vt::project::ClipRecordList clips;
    int burnerIndex = -1;
    std::unique_ptr<vt::burn::BurnerFacade> facade;
    std::unique_ptr<TDeviceWindow> device;
    QList<QUrl> opened;

private:
    std::unique_ptr<vt::ScriptedDialogService> dialogs_;
    vt::ScopedDialogService scoped_;
    vt::DesktopOpener previousOpener_;
};

// An authored DVD folder of one title made by the real engines' tools.
std::string authoredDvd(const std::string &parent, bool lowerCase = false)
{
    const std::string clip = makeClip(parent + "/title.mpg", "720x480", "30000/1001", "ntsc-dvd");
    const std::string dvd = parent + "/DVD";
    qputenv("VIDEO_FORMAT", "NTSC");
    QString output;
    if (!vt::common::RunTestCommand({"dvdauthor", "-o", QString::fromStdString(dvd), "-t", QString::fromStdString(clip)}, &output) ||
        !vt::common::RunTestCommand({"dvdauthor", "-o", QString::fromStdString(dvd), "-T"}, &output))
        qWarning("%s", qPrintable(output));
    if (!lowerCase)
        return dvd;
    const std::string lower = parent + "/dvd_lower";
    fs::create_directories(lower + "/video_ts");
    for (const auto &entry : fs::directory_iterator(dvd + "/VIDEO_TS")) {
        std::string name = entry.path().filename().string();
        for (char &c : name)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        fs::copy_file(entry.path(), lower + "/video_ts/" + name);
    }
    return lower;
}

} // namespace

class BurnWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void theBuilderConvertsAuthorsAndBurnsTwoClipsToAnImage()
    {
        QTemporaryDir scratch;
        const std::string image = scratch.filePath("disc.iso").toStdString();
        Fixture fixture(Fixture::Burner::Real, "stdio:" + image + ",type=DVD+R,capacity=4700372992");
        fixture.addClip(makeClip(scratch.filePath("one.mp4").toStdString()));
        fixture.addClip(makeClip(scratch.filePath("two.mp4").toStdString()));
        TBuilderWindow window(fixture.services());
        window.show();
        QCOMPARE(control<TsuiComboBox>(&window, "suiComboBox_Burner")->count(), 1);
        QCOMPARE(control<TsuiComboBox>(&window, "suiComboBox_WriteSpeed")->currentText(), QStringLiteral("8.0x"));
        click(&window, "suiImageButton_Start");

        QCOMPARE(window.outcome(), int(vt::production::kProcessFinish));
        const QStringList log = logLines(&window);
        const QStringList inOrder = {"Data preparation >>>",    "Check DVD disc >>>",
                                     "Inserted media : DVD+R",  "Get source DVD size >>>",
                                     "Start to burn DVD disc >>>", "<<< Burn DVD disc finish",
                                     "<<< Process finish"};
        qsizetype at = 0;
        for (const QString &line : inOrder) {
            const qsizetype found = log.indexOf(line, at);
            QVERIFY2(found >= 0, qPrintable(line + " missing or out of order in:\n" + log.join('\n')));
            at = found + 1;
        }
        QCOMPARE(control<TsuiProgressBar>(&window, "suiProgressBar_2")->value(), 100);
        const QStringList titles = lsdvdTitles(image);
        QCOMPARE(titles.size(), 2);
        QString report;
        vt::common::RunTestCommand({"lsdvd", "-v", QString::fromStdString(image)}, &report);
        QCOMPARE(report.count("Width: 720, Height: 480"), 2);
        // The converted files are gone, the DVD folder stays.
        for (int i = 0; i < fixture.clips.count(); ++i)
            QVERIFY(!fs::exists(fixture.clips[i].vobFile));
        QVERIFY(fs::exists(fixture.folder.file("D/Out/DVD_DISC/VIDEO_TS/VIDEO_TS.IFO")));
        QVERIFY(fixture.opened.isEmpty());
        vt::saveScreenshot(&window, QStringLiteral("BuilderWindow"));
    }

    void withoutABlankDiscNoMakesTheDvdFolderOnlyAndOpensTheOutputFolder()
    {
        QTemporaryDir scratch;
        Fixture fixture(Fixture::Burner::Scripted, "[drive0]\ntype=2\n");  // a CD-R
        fixture.addClip(makeClip(scratch.filePath("one.mp4").toStdString()));
        fixture.dialogs().answerMessage(MessageAnswer::No);
        TBuilderWindow window(fixture.services());
        window.show();
        click(&window, "suiImageButton_Start");
        QCOMPARE(window.outcome(), int(vt::production::kProcessFinish));
        const QStringList texts = fixture.dialogs().messageTexts();
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts[0].startsWith("Please inset a blank DVD disc first!"));
        QCOMPARE(fixture.dialogs().shown()[0].caption, QStringLiteral("Burn to disc ?"));
        QVERIFY(fs::exists(fixture.folder.file("D/Out/DVD_DISC/VIDEO_TS/VIDEO_TS.IFO")));
        QCOMPARE(fixture.opened, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(fixture.folder.file("D/Out/")))});
        QVERIFY(!logLines(&window).contains("Check DVD disc >>>"));
        QVERIFY(!fs::exists(fixture.folder.file("drives.ini.log")));  // nothing burned
    }

    void aStartWithoutClipsOrWithYesToTheDeviceQuestionDoesNotRun()
    {
        QTemporaryDir scratch;
        Fixture fixture(Fixture::Burner::Scripted, "[drive0]\ntype=2\n");
        TBuilderWindow window(fixture.services());
        window.show();
        click(&window, "suiImageButton_Start");
        QCOMPARE(fixture.dialogs().messageTexts(), QStringList{"No file to convert."});
        fixture.addClip(makeClip(scratch.filePath("one.mp4").toStdString()));
        fixture.dialogs().answerMessage(MessageAnswer::Yes);
        click(&window, "suiImageButton_Start");
        QCOMPARE(window.outcome(), -1);
        QVERIFY(logLines(&window).isEmpty());
        QVERIFY(!fs::exists(fixture.folder.file("D/Out/DVD_DISC")));
    }

    void theBurnWindowBurnsAnAuthoredFolderAndReportsAMissingOne()
    {
        QTemporaryDir scratch;
        const std::string dvd = authoredDvd(scratch.path().toStdString());
        Fixture fixture(Fixture::Burner::Scripted, "[drive0]\ntype=13\n");
        TBurnWindow window(fixture.services());
        QVERIFY(control<QWidget>(&window, "suiGroupBox_Output")->isHidden());
        window.setDvdFolder(dvd + "/VIDEO_TS", vt::production::kNtsc);
        window.show();
        click(&window, "suiImageButton_Start");
        QCOMPARE(window.outcome(), int(vt::production::kProcessFinish));
        QVERIFY(fixture.dialogs().messageTexts().isEmpty());
        std::ifstream burned(fixture.folder.file("drives.ini.log"));
        std::string line;
        std::getline(burned, line);
        QCOMPARE(QString::fromStdString(line), QString::fromStdString("burn " + dvd + "/VIDEO_TS DVD_DISC"));
        vt::saveScreenshot(&window, QStringLiteral("BurnWindow"));

        // The disc now holds the burned folder: the device question comes
        // too, and No goes on to the burn step, which finds no folder.
        window.setDvdFolder(scratch.filePath("gone/VIDEO_TS").toStdString(), vt::production::kNtsc);
        fixture.dialogs().answerMessage(MessageAnswer::Ok);
        fixture.dialogs().answerMessage(MessageAnswer::No);
        click(&window, "suiImageButton_Start");
        QCOMPARE(window.outcome(), int(vt::production::kBurningProcessWrong));
        const QStringList texts = fixture.dialogs().messageTexts();
        QCOMPARE(texts.size(), 3);
        QCOMPARE(texts[0], QStringLiteral("No DVD folder selected!"));
        QVERIFY(texts[1].startsWith("Please inset a blank DVD disc first!"));
        QCOMPARE(texts[2], QStringLiteral("Can not create burning process! -- No DVD folder to burn!"));
    }

    void aRewritableDiscWhoseEraseFailsIsGivenUpAfterTwoRounds()
    {
        QTemporaryDir scratch;
        const std::string dvd = authoredDvd(scratch.path().toStdString());
        Fixture fixture(Fixture::Burner::Scripted, "[drive0]\ntype=8\ndata=1\nused=1000000\nerase=fail\n");
        fixture.dialogs().answerMessage(MessageAnswer::Yes);     // erase the disc
        fixture.dialogs().answerMessage(MessageAnswer::Cancel);  // no other disc
        TBurnWindow window(fixture.services());
        window.setDvdFolder(dvd + "/VIDEO_TS", vt::production::kNtsc);
        window.show();
        click(&window, "suiImageButton_Start");
        QCOMPARE(window.outcome(), int(vt::production::kUserCancelsBurning));
        const QStringList log = logLines(&window);
        const qsizetype first = log.indexOf("Start to erase disc -- 1");
        const qsizetype second = log.indexOf("Start to erase disc -- 2");
        const qsizetype givenUp =
            log.indexOf("Can not erase this disc, please use other special disc tool to erase it");
        QVERIFY2(first >= 0 && first < second && second < givenUp, qPrintable(log.join('\n')));
        QCOMPARE(log.last(), QStringLiteral("<<< User cancels burning process"));
        const QStringList texts = fixture.dialogs().messageTexts();
        QCOMPARE(texts.size(), 2);
        QVERIFY(texts[0].startsWith("Erasing will delete ALL data on your disc"));
        QVERIFY(texts[1].startsWith("Can not create burning process! -- Unknown or Unsupported disc"));
    }

    void theDeviceWindowShowsTheDiscAndErasesOnlyAfterYes()
    {
        Fixture fixture(Fixture::Burner::Scripted,
                        "[drive0]\ntype=8\ndata=1\nused=104857600\nspeeds=\nerase_ms=1500\n[drive1]\ntype=13\n");
        fixture.facade->InitDevices(false, true);
        TDeviceWindow &window = *fixture.device;
        window.prepare(0);
        QCOMPARE(control<TLabel>(&window, "lblUsedSize")->text(), QStringLiteral("100.00"));
        QCOMPARE(control<TLabel>(&window, "lblType")->text(), QStringLiteral("DVD-RW"));
        QCOMPARE(control<TLabel>(&window, "lblMaxWrite")->text(), QStringLiteral("N/A"));
        QVERIFY(control<QWidget>(&window, "suiImageButton_Start")->isEnabled());
        vt::saveScreenshot(&window, QStringLiteral("DeviceWindow"));

        fixture.dialogs().answerMessage(MessageAnswer::No);
        click(&window, "suiImageButton_Start");
        QVERIFY(!fs::exists(fixture.folder.file("drives.ini.log")));

        // Yes: the erase runs; Close meanwhile is refused with text 134.
        window.show();
        fixture.dialogs().answerMessage(MessageAnswer::Yes);
        bool closedWhileErasing = true;
        QTimer::singleShot(600, [&] {
            click(&window, "suiImageButton_Close");
            closedWhileErasing = !window.isVisible();
        });
        click(&window, "suiImageButton_Start");
        QVERIFY(!closedWhileErasing);
        QCOMPARE(fixture.dialogs().messageTexts().mid(1),
                 (QStringList{"Erasing will delete ALL data on your disc, and cannot stop in progress, this opertation "
                              "cannot get back.\nDo you want to continue?",
                              "Erasing disc now, please wait.", "Erase disc finish"}));
        QCOMPARE(control<TsuiProgressBar>(&window, "suiProgressBar_Erase")->value(), 100);
        QVERIFY(!control<QWidget>(&window, "suiImageButton_Start")->isEnabled());  // blank now
        QCOMPARE(control<TLabel>(&window, "lblUsedSize")->text(), QStringLiteral("0.00"));
        window.close();
        QVERIFY(!window.isVisible());

        window.prepare(1);  // a blank DVD+R: nothing to erase
        QVERIFY(!control<QWidget>(&window, "suiImageButton_Start")->isEnabled());
        QCOMPARE(control<TLabel>(&window, "lblMaxWrite")->text(), QStringLiteral("8.0x"));
    }

    void theEraseClockAndBar()
    {
        const struct {
            int tick, percent;
            const char *elapsed;
        } ticks[] = {{0, 0, "00:00:00"}, {3, 0, "00:00:01"}, {180, 50, "00:01:30"}, {356, 98, "00:02:58"},
                     {359, 99, "00:02:59"}, {1200, 99, "00:10:00"}};
        for (const auto &t : ticks) {
            const vt::burn::EraseTick shown = vt::burn::EraseTickDisplay(t.tick);
            QCOMPARE(shown.percent, t.percent);
            QCOMPARE(QString::fromStdString(shown.elapsed), QLatin1String(t.elapsed));
        }
    }

    void theBurnSourceWindowListsAFolderOrItsVobFiles()
    {
        QTemporaryDir scratch;
        const std::string dvd = authoredDvd(scratch.path().toStdString());
        Fixture fixture(Fixture::Burner::Scripted, "[drive0]\ntype=13\n");
        TSetupDVDFileWindow window({fixture.folder.settings, fixture.folder.language, fixture.clips, kBin,
                                    fixture.folder.file("Temp/")});
        std::string burned;
        int compiledAspect = 0;
        window.setNextWindows({[&](const std::string &folder) { burned = folder; },
                               [&](int aspect) { compiledAspect = aspect; }});
        window.show();
        auto *grid = control<TsuiStringGrid>(&window, "suiStringGrid_DVDFiles");
        QCOMPARE(grid->rowCount(), 16);
        for (int column = 0; column < grid->columnCount(); ++column)
            QVERIFY2(grid->columnWidth(column) >= grid->horizontalHeader()->sectionSizeHint(column),
                     qPrintable(grid->horizontalHeaderItem(column)->text()));

        for (const std::string &chosen : {dvd, dvd + "/VIDEO_TS"}) {
            fixture.dialogs().answerFolder(QString::fromStdString(chosen));
            click(&window, "suiImageButton_Folder");
            QStringList formats;
            for (int row = 0; row < 5; ++row)
                formats << grid->cell(1, row);
            QCOMPARE(formats, (QStringList{"IFO", "IFO", "BUP", "BUP", "VOB"}));
            QCOMPARE(grid->cell(3, 0), QStringLiteral("-"));
        }
        vt::saveScreenshot(&window, QStringLiteral("SetupDVDFileWindow"));
        click(&window, "suiImageButton_Burn");
        QCOMPARE(burned, dvd + "/VIDEO_TS/");

        // Twenty VOB files created in scrambled order list by name.
        const std::string vobs = scratch.filePath("vobs").toStdString();
        fs::create_directories(vobs);
        const std::string one = makeClip(vobs + "/source.mpg", "720x480", "30000/1001", "ntsc-dvd");
        for (int i : {7, 19, 2, 11, 20, 1, 14, 5, 17, 9, 3, 12, 16, 8, 4, 18, 10, 15, 6, 13})
            fs::copy_file(one, vobs + "/" + (i % 2 ? "Part" : "part") + std::to_string(100 + i) + (i % 3 ? ".vob" : ".VOB"));
        fs::remove(one);
        fixture.dialogs().answerFolder(QString::fromStdString(vobs));
        click(&window, "suiImageButton_Folder");
        QCOMPARE(grid->rowCount(), 20);  // 21 with the header row
        for (int row = 0; row < 20; ++row)
            QVERIFY2(QString::fromStdString(fs::path(grid->cell(0, row).toStdString()).stem().string())
                             .compare(QString("part%1").arg(101 + row), Qt::CaseInsensitive) == 0,
                     qPrintable(grid->cell(0, row)));
        QCOMPARE(grid->cell(1, 0), QStringLiteral("NTSC VOB"));

        // The right-clicked row is found through the scrolled grid.
        grid->resize(grid->width(), 120);
        grid->scrollToBottom();
        QApplication::processEvents();
        const int lastData = grid->rowCount() - 1;
        const QPoint onLast(10, grid->rowViewportPosition(lastData) + 5);
        QCOMPARE(window.gridRowAt(onLast), lastData + 1);
        QMenu *menu = window.gridMenuAt(onLast);
        QCOMPARE(grid->selectedRow(), lastData);
        QList<QAction *> actions = menu->actions();
        QCOMPARE(actions[0]->text(), QStringLiteral("Remove Select"));
        QVERIFY(actions[0]->isVisible());
        actions[0]->trigger();
        QCOMPARE(fixture.clips.count(), 19);
        QCOMPARE(grid->rowCount(), 19);

        click(&window, "suiImageButton_Burn");
        QCOMPARE(compiledAspect, int(vt::production::kAspect4x3));

        // A PAL file among them: the TV systems are named, Burn refuses.
        const std::string pal = makeClip(vobs + "/pal.vob", "720x576", "25", "pal-dvd");
        fixture.dialogs().answerFiles({QString::fromStdString(pal)});
        click(&window, "suiImageButton_File");
        QCOMPARE(fixture.dialogs().shown().back().caption.isEmpty(), false);
        QVERIFY(fixture.dialogs().messageTexts().last().startsWith("Unmatched video format clips added."));
        QVERIFY(fixture.dialogs().messageTexts().last().contains("PAL : \n" + QString::fromStdString(pal) + "\n"));
        compiledAspect = 0;
        click(&window, "suiImageButton_Burn");
        QCOMPARE(compiledAspect, 0);
        QCOMPARE(fixture.dialogs().shown().back().kind, vt::ScriptedDialogService::Kind::Message);

        // Clear, then Burn with nothing: text 74.
        window.gridMenuAt(QPoint(5, 5))->actions()[1]->trigger();
        QVERIFY(fixture.clips.empty());
        click(&window, "suiImageButton_Burn");
        QCOMPARE(fixture.dialogs().messageTexts().last(), QStringLiteral("No file to convert."));
        QCOMPARE(compiledAspect, 0);

        // The size figure speaks the language the window is shown in.
        auto *figure = control<QLabel>(&window, "Label_DiscSize");
        QCOMPARE(figure->text(), QStringLiteral("0 MB of 4300 MB"));
        window.hide();
        QVERIFY(fixture.folder.language.LoadUILanguage("Deutsch.ini"));
        window.show();
        QCOMPARE(figure->text(), QStringLiteral("0 MB von 4300 MB"));
    }

    void aLowerCaseCopyOfAFolderBurnsToAValidImage()
    {
        QTemporaryDir scratch;
        const std::string lower = authoredDvd(scratch.path().toStdString(), true);
        const std::string image = scratch.filePath("lower.iso").toStdString();
        Fixture fixture(Fixture::Burner::Real, "stdio:" + image + ",type=DVD+R,capacity=4700372992");
        TSetupDVDFileWindow source({fixture.folder.settings, fixture.folder.language, fixture.clips, kBin,
                                    fixture.folder.file("Temp/")});
        TBurnWindow window(fixture.services());
        source.setNextWindows({[&](const std::string &folder) {
                                   window.setDvdFolder(folder, vt::production::kNtsc);
                                   window.show();
                                   click(&window, "suiImageButton_Start");
                               },
                               {}});
        source.show();
        fixture.dialogs().answerFolder(QString::fromStdString(lower));
        click(&source, "suiImageButton_Folder");
        QCOMPARE(source.sources().mode(), vt::burn::BurnSourceMode::Folder);
        click(&source, "suiImageButton_Burn");
        QCOMPARE(window.outcome(), int(vt::production::kProcessFinish));
        QCOMPARE(lsdvdTitles(image).size(), 1);
    }

    void theCompilerAuthorsVobFilesAndBurnsThem()
    {
        QTemporaryDir scratch;
        const std::string image = scratch.filePath("compiled.iso").toStdString();
        Fixture fixture(Fixture::Burner::Real, "stdio:" + image + ",type=DVD+R,capacity=4700372992");
        for (const char *name : {"a.vob", "b.vob"})
            fixture.addClip(makeClip(scratch.filePath(name).toStdString(), "720x480", "30000/1001", "ntsc-dvd"))
                .vobFile = scratch.filePath(name).toStdString();
        TCompilerWindow window(fixture.services());
        QVERIFY(control<QWidget>(&window, "suiComboBox_OutputQuality")->isHidden());
        window.show();
        click(&window, "suiImageButton_Start");
        QCOMPARE(window.outcome(), int(vt::production::kProcessFinish));
        QCOMPARE(lsdvdTitles(image).size(), 2);
        QVERIFY(fs::exists(scratch.filePath("a.vob").toStdString()));  // the sources stay
        vt::saveScreenshot(&window, QStringLiteral("CompilerWindow"));
    }
};

QTEST_MAIN(BurnWindowsTest)
#include "burn_windows_test.moc"
