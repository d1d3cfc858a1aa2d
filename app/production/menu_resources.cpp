#include "app/production/menu_resources.h"

#include "platform/paths.h"

namespace vt::production {

namespace {

QImage loadBitmap(const std::string &folder, const char *name)
{
    const std::string path = resolveCaseInsensitive(withTrailingSlash(folder) + name);
    QImage image;
    if (!path.empty())
        image.load(QString::fromStdString(path));
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

MenuResources LoadMenuResources(const std::string &resFolder)
{
    return {loadBitmap(resFolder, kBackBmpFile), loadBitmap(resFolder, kBackPngFile),
            loadBitmap(resFolder, kMouseOnFile), loadBitmap(resFolder, kMouseDownFile)};
}

} // namespace vt::production
