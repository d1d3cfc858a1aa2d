// The subtitle window's logic for one clip: what it shows when opened and
// what OK stores. Nothing reaches the clip, the program settings or
// "Option.ini" before OK; Cancel simply drops the session.
#pragma once

#include <string>

namespace vt::common {
struct Settings;
}

namespace vt::project {

struct ClipRecord;

class SubtitleSetup {
public:
    // Opens the session for clip. When the clip's subtitle file does not
    // exist, the session starts from the program's default language and
    // font size.
    SubtitleSetup(const ClipRecord &clip, const common::Settings &settings);

    // Editable state, as the window's controls show it.
    std::string path;
    int languageIndex = 0;
    int fontSize = 0;
    std::string fontName;

    // The status line: "Subtitle File  : name" or "No specified subtitle file".
    std::string statusText() const;

    void load(const std::string &chosenFile) { path = chosenFile; }
    void clear() { path.clear(); }

    // OK: stores the fields in the clip (the file only when it changed), the
    // defaults in settings, and "SubtitleLanguage" and "FontSize" of section
    // "Option" in optionIniPath. False, with error set, when the file could
    // not be written (the clip and settings are still updated).
    bool ok(ClipRecord &clip, common::Settings &settings, const std::string &optionIniPath, std::string *error = nullptr);

private:
    bool fileExists() const;
};

} // namespace vt::project
