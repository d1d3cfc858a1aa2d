// The files of one menu in the work folder, and writing what the compositor
// drew into them.
#pragma once

#include "app/production/menu_compositor.h"

#include <string>

namespace vt::production {

struct MenuFiles {
    std::string background;  // 24-bit BMP, the converter's input
    std::string highlight, select;  // palette PNGs
    std::string control;     // spumux control file
    std::string vob;         // the menu VOB; holds the muxed one once spumux is done
    std::string muxOutput;   // spumux's output, renamed over vob
};

// "Title.bmp", "Title_on.png", "Title_down.png", "Title.xml", "Title.vob",
// "Title_sub.vob".
MenuFiles TitleMenuFiles(const std::string &workFolder);
// "Chapter_{i}.bmp", "Chapter_on_{i}.png", "Chapter_down_{i}.png",
// "Chapter_{i}.xml", "Chapter_{i}.vob", "Chapter_sub_{i}.vob".
MenuFiles ChapterMenuFiles(const std::string &workFolder, int clip);

// Writes the background, the highlight and select images and the control
// file; "" on success, otherwise which file could not be written.
std::string WriteMenuFiles(const ComposedMenu &menu, const MenuFiles &files);

// Removes every file of the set that exists.
void RemoveMenuFiles(const MenuFiles &files);

} // namespace vt::production
