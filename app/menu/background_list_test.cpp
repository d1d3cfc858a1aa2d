#include "app/menu/background_list.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vt::menu {
namespace {

QImage colourPicture(QColor colour, QSize size = {32, 24})
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

class BackgroundListTest : public ::testing::Test {
protected:
    std::string programFolder() const { return dir.path().toStdString() + "/"; }
    std::string backgroundFile(const std::string &name) const { return programFolder() + "Background/" + name; }
    void writeList(const std::string &text)
    {
        std::filesystem::create_directories(programFolder() + "Background");
        std::ofstream(backgroundFile("Background.ini")) << text;
    }
    QTemporaryDir dir;
};

TEST_F(BackgroundListTest, ListsExistingFilesInOrder)
{
    writeList("[Background]\r\nCount=4\r\nImage0=b.png\r\nImage1=gone.png\r\nImage2=\r\nImage3=a.bmp\r\nImage4=c.png\r\n");
    for (const char *name : {"a.bmp", "b.png", "c.png"})
        ASSERT_TRUE(colourPicture(Qt::red).save(QString::fromStdString(backgroundFile(name))));
    // Count limits the list: Image4 is not part of it.
    EXPECT_EQ(LoadBackgroundList(programFolder()),
              (std::vector<std::string>{backgroundFile("b.png"), backgroundFile("a.bmp")}));
}

TEST_F(BackgroundListTest, MissingListGivesNoBackgrounds)
{
    EXPECT_TRUE(LoadBackgroundList(programFolder()).empty());
    writeList("[Other]\nCount=2\n");
    EXPECT_TRUE(LoadBackgroundList(programFolder()).empty());
}

TEST_F(BackgroundListTest, PicturesAreRecognisedByContent)
{
    std::filesystem::create_directories(programFolder() + "Background");
    struct Case {
        const char *name;
        const char *format;
        QColor colour;
    };
    const Case cases[] = {
        {"photo.jpeg", "JPG", Qt::blue},
        {"PHOTO.JPG", "JPG", Qt::green},
        {"png-named.jpg", "PNG", Qt::red},
        {"bitmap.jpg", "BMP", Qt::yellow},
    };
    for (const Case &c : cases) {
        const std::string path = backgroundFile(c.name);
        ASSERT_TRUE(colourPicture(c.colour).save(QString::fromStdString(path), c.format));
        const QImage picture = LoadBackgroundPicture(path);
        ASSERT_FALSE(picture.isNull()) << c.name;
        const QColor centre = picture.pixelColor(16, 12);
        EXPECT_NEAR(centre.red(), c.colour.red(), 8) << c.name;
        EXPECT_NEAR(centre.green(), c.colour.green(), 8) << c.name;
        EXPECT_NEAR(centre.blue(), c.colour.blue(), 8) << c.name;
    }
    std::ofstream(backgroundFile("text.jpg")) << "not a picture";
    EXPECT_TRUE(LoadBackgroundPicture(backgroundFile("text.jpg")).isNull());
    EXPECT_TRUE(LoadBackgroundPicture(backgroundFile("absent.png")).isNull());
}

TEST(ScaledBackground, WholePictureStretchedNotCropped)
{
    // A picture of the frame's shape with a red left column and a blue right one.
    QImage picture(720, 576, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 8; ++x) {
            picture.setPixelColor(x, y, Qt::red);
            picture.setPixelColor(719 - x, y, Qt::blue);
        }
    const QImage shown = ScaledBackground(picture, {518, 292});
    ASSERT_EQ(shown.size(), QSize(518, 292));
    EXPECT_EQ(shown.pixelColor(1, 146), QColor(Qt::red));  // both edges still there
    EXPECT_EQ(shown.pixelColor(516, 146), QColor(Qt::blue));
    EXPECT_TRUE(ScaledBackground(QImage(), {518, 292}).isNull());
}

} // namespace
} // namespace vt::menu
