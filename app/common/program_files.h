// Names of the files and folders the program keeps in its program folder
// (ExePath) and in its writable folders.
#pragma once

namespace vt::common {

inline constexpr const char *kLangFolder = "Lang/";           // UI language files
inline constexpr const char *kResFolder = "RES/";             // item bitmaps, back buttons, root-menu VOBs
inline constexpr const char *kOptionIni = "Option.ini";       // settings, section "Option"
inline constexpr const char *kLanguageIni = "Language.ini";   // shipped region table
inline constexpr const char *kSubtitleIni = "Subtitle.ini";   // user-defined region table
inline constexpr const char *kConverterLibrary = "libCorvane.so";  // probing, previews, conversion
inline constexpr const char *kAuthoringLibrary = "libdvdauthor.so"; // dvdauthor and spumux runs
inline constexpr const char *kVersionIni = "version.ini";     // [Vantorel Version] Version, Build
inline constexpr const char *kWorkFolderName = "Temp/";       // default output folder name below a disk

// The registry key the first-run language comes from.
inline constexpr const char *kRegistryKey = "\\SOFTWARE\\Pellorn";

} // namespace vt::common
