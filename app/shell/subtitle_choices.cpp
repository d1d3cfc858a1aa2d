#include "app/shell/subtitle_choices.h"

#include "app/common/region_list.h"

#include <fontconfig/fontconfig.h>
#include <iconv.h>

#include <algorithm>
#include <set>

namespace vt::shell {

namespace {

// Western, Central and Eastern European, Cyrillic, Greek, Turkish, Hebrew,
// Arabic, Baltic, Thai, Vietnamese, Chinese, Japanese and Korean encodings.
constexpr const char *kCandidateCharacterSets[] = {
    "UTF-8",      "ISO-8859-1", "ISO-8859-2", "ISO-8859-3", "ISO-8859-4",  "ISO-8859-5",  "ISO-8859-6",
    "ISO-8859-7", "ISO-8859-8", "ISO-8859-9", "ISO-8859-10", "ISO-8859-13", "ISO-8859-14", "ISO-8859-15",
    "ISO-8859-16", "CP1250",    "CP1251",     "CP1252",     "CP1253",      "CP1254",      "CP1255",
    "CP1256",     "CP1257",     "CP1258",     "KOI8-R",     "KOI8-U",      "TIS-620",     "CP874",
    "GB2312",     "GBK",        "GB18030",    "BIG5",       "BIG5-HKSCS",  "SHIFT_JIS",   "EUC-JP",
    "ISO-2022-JP", "EUC-KR",    "CP949",      "UTF-16",
};

bool iconvOpens(const char *characterSet)
{
    const iconv_t converter = iconv_open("UTF-8", characterSet);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(converter);
    return true;
}

} // namespace

std::vector<std::string> SubtitleFontFiles()
{
    std::set<std::string> files;
    if (!FcInit())
        return {};
    FcPattern *pattern = FcPatternCreate();
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcObjectSet *wanted = FcObjectSetBuild(FC_FILE, nullptr);
    if (FcFontSet *fonts = FcFontList(nullptr, pattern, wanted)) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FcChar8 *file = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) == FcResultMatch && file)
                files.insert(reinterpret_cast<const char *>(file));
        }
        FcFontSetDestroy(fonts);
    }
    FcObjectSetDestroy(wanted);
    FcPatternDestroy(pattern);
    return {files.begin(), files.end()};
}

std::vector<std::string> SubtitleCharacterSets()
{
    std::vector<std::string> sets;
    for (const char *candidate : kCandidateCharacterSets)
        if (iconvOpens(candidate))
            sets.emplace_back(candidate);
    return sets;
}

std::vector<std::string> RegionLanguageCodes(const common::RegionList &regions)
{
    std::set<std::string> codes;
    for (int i = 0; i < regions.combinedCount(); ++i)
        codes.insert(regions.GetRegionLanguageCode(i));
    return {codes.begin(), codes.end()};
}

} // namespace vt::shell
