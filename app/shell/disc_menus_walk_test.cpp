// The desktop program's way to a disc with menus, as a user takes it, with
// the real engines: the home window, the clip list with clips added through
// the file dialog, the menu editor with a changed design, the production
// window's run; then the disc is read back (lsdvd, dvdunauthor, spuunmux)
// and its menus must be the designed ones.
#include "app/burn/builder_window.h"
#include "app/common/test_command.h"
#include "app/burn/compiler_window.h"
#include "app/menu/menu_design.h"
#include "app/menu/setup_menu_window.h"
#include "app/production/disc_menu_reader.h"
#include "app/production/menu_mapping.h"
#include "app/production/production_params.h"
#include "app/production/run_outcome.h"
#include "app/project/clip_record.h"
#include "app/project/setup_clip_window.h"
#include "app/shell/main_window.h"
#include "app/shell/test_program_windows.h"
#include "app/widgets/desktop_opener.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/label.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_edit.h"
#include "app/widgets/window_test_controls.h"

#include <QApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using vt::production::EdgeRect;
using vt::testing::click;
using vt::testing::control;

namespace {

const QString kBin = QStringLiteral(VANTOREL_BIN_DIR "/");

// A short clip made by the ffmpeg command: a test picture and a tone.
QString makeClip(const QString &path, const QString &video, const QStringList &extra = {})
{
    QStringList argv{"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", video, "-f", "lavfi", "-i",
                     "sine=frequency=660:duration=2:sample_rate=48000", "-t", "2", "-shortest"};
    argv << extra << path;
    QString output;
    if (!vt::common::RunTestCommand(argv, &output))
        qWarning("%s", qPrintable(output));
    return path;
}

// A plain picture of one colour, the menu background the user picks.
QString makeBackground(const QString &path, const QString &colour)
{
    QString output;
    if (!vt::common::RunTestCommand(
            {"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "color=c=" + colour + ":s=640x480:d=1", "-frames:v", "1", path},
            &output))
        qWarning("%s", qPrintable(output));
    return path;
}

// The first picture of a menu VOB as a player shows it.
QImage menuFrame(const std::string &vob, const QString &png)
{
    vt::common::RunTestCommand({"ffmpeg", "-v", "error", "-y", "-i", QString::fromStdString(vob), "-frames:v", "1", png});
    return QImage(png);
}

// A subpicture's buttons cover whole line pairs: spumux widens a button to
// start on an even line and end before one.
EdgeRect onLinePairs(EdgeRect r)
{
    r.top &= ~1;
    r.bottom += r.bottom & 1;
    return r;
}

EdgeRect edgesOf(const QRect &r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// What the disc's title menu is expected to hold, taken from the design
// when the user leaves the editor with chapter menus asked for.
struct DesignedTitleMenu {
    std::vector<EdgeRect> buttons;         // in clip order, on the frame
    std::vector<std::string> commands;     // back button first
};

DesignedTitleMenu designedTitleMenu(const vt::production::DesignMapping &mapping)
{
    const vt::menu::MenuDesign &design = vt::menu::programMenuDesign();
    const vt::project::ClipRecordList &clips = vt::project::programClips();
    DesignedTitleMenu expected;
    expected.commands.push_back("jump vmgm menu entry title;");
    int chapterMenu = 1;
    for (int i = 0; i < clips.count(); ++i) {
        const vt::menu::ClipMenu *menu = design.menuOf(clips[i]);
        if (!menu || !menu->titleButton)
            continue;
        expected.buttons.push_back(onLinePairs(mapping.MapButtonRect(edgesOf(menu->titleButton->bounds))));
        expected.commands.push_back(menu->chapterPage
                                        ? "jump pgc " + std::to_string(++chapterMenu) + ";"
                                        : "jump title " + std::to_string(i + 1) + ";");
    }
    return expected;
}

bool near(QColor a, QColor b, int tolerance = 24)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Runs the production window shown (the builder or the compiler) and closes
// it; the menus' highlight images and control files are kept in keep first
// (closing empties the work folder).
void startAndClose(QWidget *window, const std::string &programFolder, const std::string &keep)
{
    click(window, "suiImageButton_Start");
    QTRY_VERIFY_WITH_TIMEOUT(!static_cast<TDiscWindow *>(window)->busy(), 240000);
    fs::create_directories(keep);
    for (const auto &entry : fs::recursive_directory_iterator(programFolder)) {
        const std::string name = entry.path().filename().string();
        if (name == "Title_on.png" || name == "Chapter_on_0.png" || name == "Title.xml" || name == "Chapter_0.xml")
            fs::copy_file(entry.path(), keep + "/" + name, fs::copy_options::overwrite_existing);
    }
    click(window, "suiImageButton_Close");
}

// A menu as a player shows it, for the screenshots: the menu VOB's picture
// at its display shape with the highlight of the button it starts on (the
// first after the back button).
void saveMenuShot(const std::string &vob, const std::string &highlight, const std::string &controlFile,
                  const QString &name)
{
    const std::vector<EdgeRect> buttons = vt::production::ReadControlFileButtons(controlFile);
    QVERIFY(buttons.size() >= 2);
    const EdgeRect &first = buttons[1];
    const QString crop = QString("%1:%2:%3:%4").arg(first.right - first.left + 1).arg(first.bottom - first.top + 1)
                             .arg(first.left).arg(first.top);
    const QString shots = kBin + "../screenshots/";
    fs::create_directories(shots.toStdString());
    QString output;
    const bool ok = vt::common::RunTestCommand({"ffmpeg", "-v", "error", "-y", "-i", QString::fromStdString(vob), "-i",
                                QString::fromStdString(highlight), "-filter_complex",
                                "[1]format=rgba,crop=" + crop + "[h];[0][h]overlay=" + QString::number(first.left) +
                                    ":" + QString::number(first.top) + ",scale=trunc(iw*sar/2)*2:ih,setsar=1",
                                "-frames:v", "1", shots + name + ".png"},
                               &output);
    QVERIFY2(ok, qPrintable(output));
}

// The authored disc (its folder and burned image): lsdvd reads both, the
// title menu's buttons are the designed ones with their targets, each
// chapter menu leads back and to its clip's chapter, and the picked
// background is what the title menu shows between its buttons.
void checkDisc(const std::string &dvd, const QString &image, const QString &format,
               const DesignedTitleMenu &expected, const QTemporaryDir &scratch, const QString &shotName)
{
    const int titles = int(expected.buttons.size());
    for (const QString &disc : {QString::fromStdString(dvd), image}) {
        QString report;
        vt::common::RunTestCommand({"lsdvd", "-v", disc}, &report);
        QVERIFY2(report.contains(format), qPrintable(report));
        QCOMPARE(report.count(QRegularExpression("^Title: \\d+", QRegularExpression::MultilineOption)), titles);
    }
    const auto programs = vt::production::ReadDiscMenus(dvd, scratch.filePath("unauthor").toStdString());
    QCOMPARE(programs.size(), size_t(2 + titles));  // root, title and one chapter menu per clip
    QCOMPARE(programs[1].buttons, expected.commands);
    std::vector<EdgeRect> spu =
        vt::production::ReadSpuButtons(programs[1].vobFile, scratch.filePath("spu").toStdString());
    QCOMPARE(spu.size(), expected.buttons.size() + 1);
    spu.erase(spu.begin());  // the back button
    QCOMPARE(spu, expected.buttons);
    for (int i = 0; i < titles; ++i)
        QCOMPARE(programs[size_t(2 + i)].buttons,
                 (std::vector<std::string>{"jump pgc 1;", "jump title " + std::to_string(i + 1) + " chapter 1;"}));

    const QImage frame = menuFrame(programs[1].vobFile, scratch.filePath("title.png"));
    QCOMPARE(frame.width(), 720);
    const QPoint between(360, frame.height() - 16);
    QVERIFY2(near(frame.pixelColor(between), QColor(0x20, 0x60, 0xc0)), qPrintable(frame.pixelColor(between).name()));

    const std::string kept = scratch.filePath("menus/").toStdString();
    saveMenuShot(programs[1].vobFile, kept + "Title_on.png", kept + "Title.xml", "TitleMenuFrame_" + shotName);
    saveMenuShot(programs[2].vobFile, kept + "Chapter_on_0.png", kept + "Chapter_0.xml",
                 "ChapterMenuFrame_" + shotName);
}

} // namespace

class DiscMenusWalkTest : public QObject {
    Q_OBJECT

    // The engines the runs use, beside the test program folder's data.
    void addEngines(vt::common::TestProgramFolder &folder)
    {
        for (const char *name : {"libCorvane.so", "libdvdauthor.so", "libstarburn.so", "libdvdenginex.so", "vantorel-convert-worker",
                                 "Background"})
            fs::create_symlink((kBin + name).toStdString(), folder.file(name));
    }

    vt::DesktopOpener previousOpener_;
    QList<QUrl> opened_;

private slots:
    void initTestCase()
    {
        previousOpener_ = vt::setDesktopOpener([this](const QUrl &url) {
            opened_.push_back(url);
            return true;
        });
    }
    void cleanupTestCase() { vt::setDesktopOpener(previousOpener_); }

    // Builder mode, PAL 4:3: two clips, the menu given another background
    // and a text, a burn to a disc image.
    void theBuilderBurnsTheDesignedMenus()
    {
        QTemporaryDir scratch;
        const QString image = scratch.filePath("disc.iso");
        qputenv("VANTOREL_BURN_DRIVES", ("stdio:" + image + ",type=DVD+R,capacity=4700372992").toUtf8());
        vt::common::TestProgramFolder folder;
        addEngines(folder);
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        auto windows = vt::shell::createProgramWindows(folder);
        folder.settings.outputFolder = folder.file("D/Out/");
        folder.settings.ntsc = false;
        folder.settings.shape4x3 = true;
        folder.settings.parallelConversions = 1;
        folder.settings.videoDialogFilter = "Video|*.mp4;*.mkv";
        fs::create_directories(folder.file("D/Out"));

        const QStringList clips = {
            makeClip(scratch.filePath("beach.mp4"), "testsrc2=size=320x240:rate=25"),
            makeClip(scratch.filePath("garden.mkv"), "mandelbrot=size=352x288:rate=25"),
        };
        const QString background = makeBackground(scratch.filePath("sea blue.jpg"), "0x2060c0");
        const vt::production::DesignMapping mapping(576, 540);  // PAL lines over the 4:3 design height

        DesignedTitleMenu expected;
        bool walked = false;
        TMainWindow *home = windows->MainWindow;
        home->show();
        QTimer::singleShot(0, [&] {
            auto *clipList = qobject_cast<TSetupClipWindow *>(QApplication::activeModalWidget());
            QVERIFY(clipList);
            dialogs.answerFiles(clips);
            click(clipList, "suiImageButton_AddFile");
            QCOMPARE(vt::project::programClips().count(), 2);
            control<TsuiCheckBox>(clipList, "suiCheckBox_AddDVDMenu")->setChecked(true);
            QTimer::singleShot(0, [&] {
                auto *editor = qobject_cast<TSetupMenuWindow *>(QApplication::activeModalWidget());
                QVERIFY(editor);
                QTRY_VERIFY_WITH_TIMEOUT(editor->built(), 30000);
                control<TsuiCheckBox>(editor, "suiCheckBox_AddDVDMenu")->setChecked(true);
                dialogs.answerFiles({background});
                click(editor, "suiImageButton_AddImage");
                QCOMPARE(vt::menu::programMenuDesign().titlePage.backgroundFile, background.toStdString());
                // The heading renamed in the text dialog, which a double click on it
                // opens once the click has been handled.
                const auto &texts = vt::menu::programMenuDesign().titlePage.texts;
                const auto heading = std::find_if(texts.begin(), texts.end(), [](const vt::menu::TextItem &t) {
                    return t.role == vt::menu::TextRole::Heading;
                });
                QVERIFY(heading != texts.end());
                QTest::mouseDClick(editor->textViews().at(size_t(heading - texts.begin())), Qt::LeftButton);
                QTimer::singleShot(0, [&] {
                    QWidget *textWindow = QApplication::activeModalWidget();
                    QVERIFY(textWindow);
                    control<TsuiEdit>(textWindow, "suiEdit_Sample")->setText("Summer 2026");
                    click(textWindow, "suiImageButton2");
                });
                QTRY_COMPARE(heading->text, std::string("Summer 2026"));
                QVERIFY(std::abs(heading->bounds.center().x() - editor->panelSize().width() / 2) <= 1);
                expected = designedTitleMenu(mapping);
                QTimer::singleShot(0, [&] {
                    auto *builder = qobject_cast<TBuilderWindow *>(QApplication::activeModalWidget());
                    QVERIFY(builder);
                    QCOMPARE(builder->aspect(), int(vt::production::kAspect4x3));
                    startAndClose(builder, folder.path().toStdString(), scratch.filePath("menus").toStdString());
                    QCOMPARE(builder->outcome(), int(vt::production::kProcessFinish));
                    walked = true;
                });
                click(editor, "suiImageButton_Burn");
                editor->closeProject();
            });
            click(clipList, "suiImageButton_Menu");
        });
        click(home, "suiImageButton_Builder");
        qunsetenv("VANTOREL_BURN_DRIVES");
        QVERIFY(walked);
        QCOMPARE(dialogs.messageTexts(), QStringList());
        QCOMPARE(expected.buttons.size(), size_t(2));

        checkDisc(folder.file("D/Out/DVD_DISC"), image, "Format: PAL, Aspect ratio: 4/3", expected, scratch, "PAL_4_3");
    }

    // Compiler mode, NTSC 16:9: VOB files added in the menu editor, the
    // shape switched there, the compiler's run burned to a disc image.
    void theCompilerAuthorsVobFilesWithTheDesignedMenus()
    {
        QTemporaryDir scratch;
        const QString image = scratch.filePath("disc.iso");
        qputenv("VANTOREL_BURN_DRIVES", ("stdio:" + image + ",type=DVD+R,capacity=4700372992").toUtf8());
        vt::common::TestProgramFolder folder;
        addEngines(folder);
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        auto windows = vt::shell::createProgramWindows(folder);
        folder.settings.outputFolder = folder.file("D/Out/");
        folder.settings.ntsc = true;
        folder.settings.shape4x3 = true;
        fs::create_directories(folder.file("D/Out"));

        const QStringList dvdVideo{"-target", "ntsc-dvd", "-aspect", "16:9"};
        const QStringList vobs = {
            makeClip(scratch.filePath("first.vob"), "testsrc2=size=720x480:rate=30000/1001", dvdVideo),
            makeClip(scratch.filePath("second.vob"), "smptebars=size=720x480:rate=30000/1001", dvdVideo),
            makeClip(scratch.filePath("third.vob"), "rgbtestsrc=size=720x480:rate=30000/1001", dvdVideo),
        };
        const QString background = makeBackground(scratch.filePath("background.jpg"), "0x2060c0");
        const vt::production::DesignMapping mapping(480, 404);  // NTSC lines over the 16:9 design height

        DesignedTitleMenu expected;
        bool walked = false;
        QTimer::singleShot(0, [&] {
            auto *editor = qobject_cast<TSetupMenuWindow *>(QApplication::activeModalWidget());
            QVERIFY(editor);
            QCOMPARE(editor->mode(), TSetupMenuWindow::Mode::Compiler);
            QTRY_VERIFY_WITH_TIMEOUT(editor->built(), 30000);
            dialogs.answerFiles(vobs);
            click(editor, "suiImageButton_AddFile");
            QCOMPARE(vt::project::programClips().count(), 3);
            click(editor, "suiImageButton_4_3");
            QCOMPARE(vt::menu::programMenuDesign().shape, vt::menu::PictureShape::Wide);
            control<TsuiCheckBox>(editor, "suiCheckBox_AddDVDMenu")->setChecked(true);
            dialogs.answerFiles({background});
            click(editor, "suiImageButton_AddImage");
            expected = designedTitleMenu(mapping);
            QTimer::singleShot(0, [&] {
                auto *compiler = qobject_cast<TCompilerWindow *>(QApplication::activeModalWidget());
                QVERIFY(compiler);
                startAndClose(compiler, folder.path().toStdString(), scratch.filePath("menus").toStdString());
                QCOMPARE(compiler->outcome(), int(vt::production::kProcessFinish));
                walked = true;
            });
            click(editor, "suiImageButton_Burn");
            editor->closeProject();
        });
        windows->MainWindow->show();
        click(windows->MainWindow, "suiImageButton_Compiler");
        qunsetenv("VANTOREL_BURN_DRIVES");
        QVERIFY(walked);
        QCOMPARE(expected.buttons.size(), size_t(3));
        checkDisc(folder.file("D/Out/DVD_DISC"), image, "Format: NTSC, Aspect ratio: 16/9", expected, scratch, "NTSC_16_9");
    }
};

QTEST_MAIN(DiscMenusWalkTest)
#include "disc_menus_walk_test.moc"
