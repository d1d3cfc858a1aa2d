// The program-wide settings, under the names the whole program uses for
// them, and their file "Option.ini": one table (settings.cpp) names each
// key, the field it feeds, and the range a hand-edited value is held to.
// The settings window loads and saves them (option_window_model.h);
// everyone else reads them.
#pragma once

#include <cstdint>
#include <string>

namespace vt {
class IniFile;
}

namespace vt::common {

inline constexpr const char *kDefaultVobDialogFilter = "VOB File (*.vob,*.VOB)|*.vob";

// Ranges of the two settings the settings window edits in spin boxes.
inline constexpr int kDurationMin = 5, kDurationMax = 999;
inline constexpr int kSafeDistanceMin = 0, kSafeDistanceMax = 50;

struct Settings {
    // File dialog filters, "description|pattern;pattern|…" (only ever changed by hand).
    std::string videoDialogFilter;
    std::string musicDialogFilter;
    std::string vobDialogFilter = kDefaultVobDialogFilter;

    // Size estimate per minute of video and usable disc sizes, in KB.
    int64_t discKBPerMinute = 30720;
    int64_t dvd5SizeKB = 4403200;
    int64_t dvd9SizeKB = 8704000;

    int menuSafeDistance = 10;     // menu safe margin, preview pixels (0–50)
    int menuDuration = 5;          // seconds of generated menu video (5–999)
    int subtitleFontSize = 20;     // default subtitle font size, points
    int outputQuality = 1;         // 0 image quality, 1 speed, 2 max speed / min size
    int parallelConversions = 0;   // clips converted at the same time; 0 chosen from cores and memory
    bool addChapterMenu = false;

    bool firstBurnEngine = true;   // burning engine: true the first, false the second
    bool modifyIfo = true;
    bool useSpti = false;          // device transport: true SPTI, false ASPI
    std::string outputFolder = "nodef";
    bool deleteTempFiles = true;
    bool shape4x3 = true;          // picture shape: true 4:3, false 16:9
    bool ntsc = true;              // TV system: true NTSC, false PAL
    bool dvd5 = true;              // disc: true DVD-5, false DVD-9

    // Indices into the combined region list (region_list.h).
    int subtitleLanguageIndex = 0;
    int menuLanguageIndex = 0;
};

Settings &programSettings();

// Everything "Option.ini" stores: the settings, and the two values only the
// settings window keeps.
struct OptionFile {
    Settings settings;
    bool useDefault = true;               // until the first save: first-run defaults apply
    std::string uiLanguage = "Nodef";     // file name in the Lang folder; "Nodef" when not chosen
};

// The section every key lives in.
extern const char *const kOptionSection;
// The name of the UI language file's key (the registry value has the same name).
extern const char *const kUILanguageKey;

// Every key of the file, with the defaults of OptionFile for absent ones and
// hand-edited values held to their ranges.
OptionFile readOptionFile(const IniFile &ini);
// Writes the keys the program saves, in their fixed order; false, with the
// ini file's error set, when the file cannot be written.
bool writeOptionFile(IniFile &ini, const OptionFile &values);
// Makes sure the user's copy of the settings file exists before a key is
// written to it: when it is missing it starts as a copy of the file read so
// far (the shipped one), so the keys only that file holds (the file
// filters, the disc sizes) are kept. False when the copy cannot be made.
bool StartUserOptionFile(const std::string &readFrom, const std::string &userCopy);
// Copies the settings that no control of the settings window shows.
void copyWindowlessSettings(const Settings &from, Settings &to);

// The key that stores a setting, for the windows that write one key alone.
const char *optionKey(int Settings::*field);
const char *optionKey(bool Settings::*field);
// A value for a setting held to the setting's range, as loading holds it.
int heldToRange(int Settings::*field, int64_t value);

} // namespace vt::common
