#include "app/production/menu_files.h"

#include "app/production/menu_control_file.h"
#include "app/production/palette_png.h"
#include "app/production/xml_text.h"

#include <filesystem>

namespace vt::production {

MenuFiles TitleMenuFiles(const std::string &work)
{
    return {work + "Title.bmp", work + "Title_on.png", work + "Title_down.png",
            work + "Title.xml", work + "Title.vob",    work + "Title_sub.vob"};
}

MenuFiles ChapterMenuFiles(const std::string &work, int clip)
{
    const std::string i = std::to_string(clip);
    return {work + "Chapter_" + i + ".bmp", work + "Chapter_on_" + i + ".png", work + "Chapter_down_" + i + ".png",
            work + "Chapter_" + i + ".xml", work + "Chapter_" + i + ".vob",    work + "Chapter_sub_" + i + ".vob"};
}

std::string WriteMenuFiles(const ComposedMenu &menu, const MenuFiles &files)
{
    if (!menu.background.save(QString::fromStdString(files.background), "BMP"))
        return files.background;
    if (!WritePalettePng(menu.highlight, files.highlight))
        return files.highlight;
    if (!WritePalettePng(menu.select, files.select))
        return files.select;
    if (!WriteTextFile(files.control, JoinCrLf(MakeMenuControlFile(files.highlight, files.select, menu.buttons))))
        return files.control;
    return "";
}

void RemoveMenuFiles(const MenuFiles &files)
{
    std::error_code error;
    for (const std::string *path :
         {&files.background, &files.highlight, &files.select, &files.control, &files.vob, &files.muxOutput})
        std::filesystem::remove(*path, error);
}

} // namespace vt::production
