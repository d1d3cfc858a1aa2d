#include "app/common/shared_bitmaps.h"

#include "platform/paths.h"

namespace vt::shell {

SharedBitmaps::SharedBitmaps()
    : bitmaps_ {{
          {"srt.bmp", std::nullopt, {}},
          {"srt_dis.bmp", std::nullopt, {}},
          {"srt_on.bmp", std::nullopt, {}},
          {"srt_dis_on.bmp", std::nullopt, {}},
          {"setup_select.bmp", kItemBackgroundColour, {}},
          {"setup_select_on.bmp", kItemBackgroundColour, {}},
          {"setup_unselect.bmp", kItemBackgroundColour, {}},
          {"setup_unselect_on.bmp", kItemBackgroundColour, {}},
          {"menu_select.bmp", kItemBackgroundColour, {}},
          {"menu_select_on.bmp", kItemBackgroundColour, {}},
          {"menu_unselect.bmp", kItemBackgroundColour, {}},
          {"menu_unselect_on.bmp", kItemBackgroundColour, {}},
      }}
{
}

std::vector<std::string> SharedBitmaps::load(const std::string &resFolder)
{
    std::vector<std::string> errors;
    for (SharedBitmap &bitmap : bitmaps_) {
        const std::string wanted = withTrailingSlash(resFolder) + bitmap.fileName;
        const std::string file = resolveCaseInsensitive(wanted);
        bitmap.image = file.empty() ? QImage() : QImage(QString::fromStdString(file));
        if (bitmap.image.isNull())
            errors.push_back("Cannot load the picture " + wanted);
    }
    return errors;
}

void SharedBitmaps::free()
{
    for (SharedBitmap &bitmap : bitmaps_)
        bitmap.image = QImage();
}

SharedBitmaps &programSharedBitmaps()
{
    static SharedBitmaps bitmaps;
    return bitmaps;
}

} // namespace vt::shell
