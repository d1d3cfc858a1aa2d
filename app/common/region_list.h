// The region list: DVD and subtitle languages with their character set,
// subtitle font file and DVD language code.
//
// "Language.ini" ships with the program; "Subtitle.ini" holds the regions the
// user defines. Both have the same layout:
//   [RegionCount]        Region=<number of regions in the file>
//   [RegionLanguage]     Region0=<name>, Region1=…
//   [CharacterSet]       <name>=<iconv character set>
//   [RegionFontFileName] <name>=<font file>
//   [LanguageCode]       <name>=<two-letter code>
// The combined list is the shipped regions (indices 0 … N−1) followed by
// the user's (N …). The combo boxes and every lookup use this one list, so
// an index means the same region everywhere.
#pragma once

#include "platform/ini_file.h"

#include <string>
#include <vector>

namespace vt::common {

inline constexpr const char *kDefaultCharacterSet = "ISO-8859-1";
inline constexpr const char *kDefaultRegionFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr const char *kDefaultLanguageCode = "EN";
// More regions than this in a hand-edited count are taken as this many.
inline constexpr int kMaxRegionsPerFile = 1000;

struct AddRegionResult {
    bool ok = false;
    bool appended = false;  // a new user region was added to the list
    std::string message;    // why it failed
};

class RegionList {
public:
    // languageIni: the shipped table. subtitleIniRead / subtitleIniWrite:
    // where the user's table is read from and written to (the same file
    // unless the program folder is read-only).
    RegionList(std::string languageIni, std::string subtitleIniRead, std::string subtitleIniWrite);

    // The program's list: Language.ini in the program folder, Subtitle.ini
    // in the settings folder.
    static RegionList program();

    // Number of shipped regions N (1 when the file does not say).
    int shippedCount() const;
    int userCount() const;
    int combinedCount() const { return shippedCount() + userCount(); }

    // Region names, as the combo boxes list them. Missing names read
    // "Others"; an index past the list gives "Other".
    std::vector<std::string> shippedNames() const;
    std::vector<std::string> userNames() const;
    std::vector<std::string> combinedNames() const;
    std::string nameAt(int index) const;

    // Properties of the region at a combined index. A user entry for a
    // shipped name overrides the shipped one.
    std::string GetRegionCharacterSet(int index) const;
    std::string GetRegionFontFile(int index) const;
    std::string GetRegionLanguageCode(int index) const;

    // Adds or updates a user-defined subtitle language (the settings
    // window's Load button). Nothing happens when a text is empty; a name
    // that cannot be an ini key is refused with a message.
    AddRegionResult addUserRegion(const std::string &name, const std::string &fontFile,
                                  const std::string &characterSet, const std::string &languageCode);

private:
    std::string property(const char *section, int index, const char *defaultValue) const;

    IniFile language_;
    IniFile subtitleRead_;
    std::string subtitleWritePath_;
};

} // namespace vt::common
