// vantorel-cli build with menus, as a user runs it with the real engines:
// the menus are read back from the DVD folder with dvdunauthor and spuunmux.
#include "app/production/disc_menu_reader.h"
#include "engines/converter/test_support/fixtures.h"
#include "engines/converter/test_support/test_media.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

namespace fs = std::filesystem;
using corvane_test::run_command;
using vt::production::EdgeRect;

std::string cli()
{
    return corvane_test::bin_dir() + "/vantorel-cli";
}

std::string clip(const char *name, const std::string &source)
{
    return corvane_test::fixture(name, {"-f", "lavfi", "-i", source + ":rate=25", "-f", "lavfi", "-i",
                                        "sine=frequency=440:sample_rate=44100", "-t", "3", "-c:v", "mpeg4", "-q:v",
                                        "3", "-c:a", "aac", "-shortest"});
}

std::string background()
{
    return corvane_test::fixture("menu background.jpeg",
                                 {"-f", "lavfi", "-i", "gradients=s=1024x768:c0=0x16305c:c1=0x5c1640:x0=0:y0=0:"
                                                       "x1=1024:y1=768:duration=1",
                                  "-frames:v", "1", "-f", "image2", "-c:v", "mjpeg"});
}

std::set<QRgb> coloursIn(const QImage &image, const EdgeRect &r)
{
    std::set<QRgb> colours;
    for (int y = r.top; y < r.bottom && y < image.height(); ++y)
        for (int x = r.left; x <= r.right && x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

TEST(CliMenus, TitleAndChapterMenusReachTheDisc)
{
    struct {
        const char *name;
        std::vector<std::string> options;
        const char *format, *aspect;
    } cases[] = {
        {"pal_4_3", {"--pal", "--4:3"}, "Format: PAL", "Aspect ratio: 4/3"},
        {"ntsc_16_9", {"--ntsc", "--16:9"}, "Format: NTSC", "Aspect ratio: 16/9"},
    };
    const std::vector<std::string> clips = {clip("menu_a.mp4", "mandelbrot=size=320x240"),
                                            clip("menu_b.mp4", "testsrc2=size=320x240"),
                                            clip("menu_c.mp4", "life=size=320x240:mold=10:ratio=0.2:"
                                                               "life_color=#ffcc33:death_color=#102040")};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // XML-special and non-ASCII characters in the work and output paths.
        const std::string folder = corvane_test::scratch_dir() + "/cli menus " + c.name + "/Tom & \"Jerry\" <été's>";
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::vector<std::string> argv = {cli(), "build", "-o", folder + "/out", "--label", "SUMMER_TRIP",
                                         "--work-folder", folder + "/work", "--title-menu", "--chapter-menus",
                                         "--background", background()};
        argv.insert(argv.end(), c.options.begin(), c.options.end());
        argv.insert(argv.end(), {clips[0], "--chapters", "1,2", clips[1], clips[2]});
        const auto result = run_command(argv);
        ASSERT_EQ(result.status, 0) << result.output;
        EXPECT_NE(result.output.find("Menus: title menu (3 buttons), root menu, 1 chapter menu, back buttons"),
                  std::string::npos)
            << result.output;

        const std::string dvd = folder + "/out/SUMMER_TRIP";
        const auto lsdvd = run_command({"lsdvd", "-v", dvd});
        EXPECT_NE(lsdvd.output.find(c.format), std::string::npos) << lsdvd.output;
        EXPECT_NE(lsdvd.output.find(c.aspect), std::string::npos) << lsdvd.output;
        EXPECT_NE(lsdvd.output.find("Title: 01, Length: 00:00:03"), std::string::npos) << lsdvd.output;
        EXPECT_NE(lsdvd.output.find("Chapters: 03"), std::string::npos) << lsdvd.output;
        EXPECT_NE(lsdvd.output.find("Title: 03"), std::string::npos) << lsdvd.output;

        const auto programs = vt::production::ReadDiscMenus(dvd, folder + "/unauthor");
        ASSERT_EQ(programs.size(), 3u);
        EXPECT_EQ(programs[0].buttons,
                  (std::vector<std::string>{"jump title 1;", "jump titleset 1 menu entry root;"}));
        EXPECT_EQ(programs[1].buttons, (std::vector<std::string>{"jump vmgm menu entry title;", "jump pgc 2;",
                                                                  "jump title 2;", "jump title 3;"}));
        EXPECT_EQ(programs[2].buttons,
                  (std::vector<std::string>{"jump pgc 1;", "jump title 1 chapter 1;", "jump title 1 chapter 2;",
                                            "jump title 1 chapter 3;"}));

        // The subpicture buttons are the ones planned in the control files,
        // and no button region of the highlight and select images holds more
        // than four colours.
        const std::string work = folder + "/work/vantorel-work/";
        for (const auto &[program, menu] : {std::pair{&programs[1], std::string("Title")},
                                            std::pair{&programs[2], std::string("Chapter_0")}}) {
            SCOPED_TRACE(menu);
            const std::vector<EdgeRect> planned = vt::production::ReadControlFileButtons(work + menu + ".xml");
            EXPECT_EQ(vt::production::ReadSpuButtons(program->vobFile, folder + "/spu"), planned);
            const std::string on = menu == "Title" ? "Title_on.png" : "Chapter_on_0.png";
            const std::string down = menu == "Title" ? "Title_down.png" : "Chapter_down_0.png";
            for (const std::string &layer : {on, down}) {
                const QImage image(QString::fromStdString(work + layer));
                ASSERT_FALSE(image.isNull()) << layer;
                for (const EdgeRect &button : planned)
                    EXPECT_LE(coloursIn(image, button).size(), 4u) << layer;
            }
        }

        if (std::string(c.name) == "pal_4_3") {
            // The title menu as a player shows it: the frame, with the
            // highlight of the button it starts on (the first clip's).
            const std::vector<EdgeRect> buttons = vt::production::ReadControlFileButtons(work + "Title.xml");
            const EdgeRect &first = buttons.at(1);
            const std::string crop = std::to_string(first.right - first.left + 1) + ":" +
                                     std::to_string(first.bottom - first.top) + ":" + std::to_string(first.left) +
                                     ":" + std::to_string(first.top);
            const std::string shots = corvane_test::bin_dir() + "/../screenshots";
            fs::create_directories(shots);
            const auto shot = run_command(
                {"ffmpeg", "-v", "error", "-y", "-i", programs[1].vobFile, "-i", work + "Title_on.png",
                 "-filter_complex",
                 "[1]format=rgba,crop=" + crop + "[h];[0][h]overlay=" + std::to_string(first.left) + ":" +
                     std::to_string(first.top),
                 "-frames:v", "1", shots + "/TitleMenuFrame.png"});
            EXPECT_EQ(shot.status, 0) << shot.output;
            run_command({"ffmpeg", "-v", "error", "-y", "-i", programs[0].vobFile, "-frames:v", "1",
                         shots + "/RootMenuFrame.png"});
        }
    }
}

TEST(CliMenus, BadMenuInputsAreRefusedBeforeAnyWork)
{
    const std::string folder = corvane_test::scratch_dir() + "/cli menus bad";
    fs::create_directories(folder);
    const std::string notPicture = folder + "/notes.jpg";
    std::ofstream(notPicture) << "not a picture";
    const std::string source = clip("menu_a.mp4", "mandelbrot=size=320x240");
    struct {
        std::vector<std::string> options;
        std::string message;
    } cases[] = {
        {{"--title-menu", "--background", folder + "/none.jpg"}, "menu background " + folder + "/none.jpg does not exist"},
        {{"--title-menu", "--background", notPicture}, "is not a picture"},
        {{"--title-menu", "--menu-music", folder + "/none.mp3"}, "menu music " + folder + "/none.mp3 does not exist"},
        {{"--chapter-menus"}, "--chapter-menus, --background and --menu-music need --title-menu"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> argv = {cli(), "build", "-o", folder + "/out", "--work-folder", folder + "/work"};
        argv.insert(argv.end(), c.options.begin(), c.options.end());
        argv.push_back(source);
        const auto result = run_command(argv);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
        EXPECT_FALSE(fs::exists(folder + "/out/DVD_DISC"));
    }
}

} // namespace
