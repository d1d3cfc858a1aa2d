// The disc's volume label and the DVD folder named after it.
#pragma once

#include <string>

namespace vt::production {

inline constexpr const char *kDefaultVolumeLabel = "DVD_DISC";
inline constexpr size_t kMaxVolumeLabelLength = 32;

// The label the user typed (UTF-8), trimmed and upper-cased, as a DVD volume
// id and a folder name allow it: A–Z, 0–9 and '_'. Accented Latin letters
// become their base letter (é → E, ß → SS); any other character becomes one
// '_'. At most 32 characters; "DVD_DISC" when nothing is left.
std::string CleanVolumeLabel(const std::string &typed);

// "DVD_DISC" when outputFolder has no such folder, else "DVD_DISC_n" with
// the smallest free n from 1.
std::string DefaultVolumeLabel(const std::string &outputFolder);

// outputFolder + label, or that path followed by "_1", "_2", … when taken.
std::string DvdFolderPath(const std::string &outputFolder, const std::string &label);

} // namespace vt::production
