#include "app/menu/background_list.h"

#include "platform/ini_file.h"
#include "platform/paths.h"

#include <QImageReader>

#include <filesystem>

namespace vt::menu {

namespace {

constexpr const char *kSection = "Background";

} // namespace

std::vector<std::string> LoadBackgroundList(const std::string &programFolder)
{
    const std::string folder = programFolder + kBackgroundFolder;
    const IniFile ini(resolveCaseInsensitive(folder + kBackgroundListFile));
    const int64_t count = ini.readInt(kSection, "Count", 0);
    std::vector<std::string> files;
    for (int64_t i = 0; i < count; ++i) {
        const std::string name = ini.readString(kSection, "Image" + std::to_string(i), "");
        if (name.empty())
            continue;
        const std::string path = resolveCaseInsensitive(folder + name);
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            files.push_back(path);
    }
    return files;
}

QImage LoadBackgroundPicture(const std::string &path)
{
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    QImage picture = reader.read();
    if (picture.isNull())
        return {};
    return picture.convertToFormat(QImage::Format_RGB32);
}

QImage ScaledBackground(const QImage &picture, QSize size)
{
    if (picture.isNull() || size.isEmpty())
        return {};
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace vt::menu
