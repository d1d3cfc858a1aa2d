#include "app/production/font_file.h"

#include "platform/paths.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace vt::production {

namespace {

bool isFile(const std::string &path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// fontconfig's best installed match for a family name, or "".
std::string matchFamily(const std::string &family)
{
    if (!FcInit())
        return "";
    std::string file;
    FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>(family.c_str()));
    if (!pattern)
        return "";
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        FcChar8 *path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
            file = reinterpret_cast<const char *>(path);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return isFile(file) ? file : "";
}

// The printable characters of UTF-8 text (a null set for broken text).
FcCharSet *charactersOf(const std::string &text)
{
    FcCharSet *set = FcCharSetCreate();
    const auto *bytes = reinterpret_cast<const FcChar8 *>(text.data());
    int left = static_cast<int>(text.size());
    while (left > 0) {
        FcChar32 c = 0;
        const int length = FcUtf8ToUcs4(bytes, &c, left);
        if (length <= 0) {
            FcCharSetDestroy(set);
            return nullptr;
        }
        if (c > 0x20 && c != 0x7F && c != 0xFEFF)
            FcCharSetAddChar(set, c);
        bytes += length;
        left -= length;
    }
    return set;
}

// Whether the installed font file has every character of needed; true when
// fontconfig does not list the file.
bool fileCovers(const std::string &file, const FcCharSet *needed)
{
    FcPattern *pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8 *>(file.c_str()));
    FcObjectSet *objects = FcObjectSetBuild(FC_CHARSET, nullptr);
    FcFontSet *fonts = FcFontList(nullptr, pattern, objects);
    bool covers = true;
    if (fonts && fonts->nfont > 0) {
        FcCharSet *charset = nullptr;
        covers = FcPatternGetCharSet(fonts->fonts[0], FC_CHARSET, 0, &charset) == FcResultMatch &&
                 FcCharSetIsSubset(needed, charset);
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return covers;
}

// The first sans font in fontconfig's order that has every character of
// needed, or "".
std::string coveringSansFont(FcCharSet *needed)
{
    FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>("sans-serif"));
    if (!pattern)
        return "";
    FcPatternAddCharSet(pattern, FC_CHARSET, needed);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet *sorted = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    std::string file;
    for (int i = 0; sorted && i < sorted->nfont && file.empty(); ++i) {
        FcCharSet *charset = nullptr;
        FcChar8 *path = nullptr;
        if (FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &charset) == FcResultMatch &&
            FcCharSetIsSubset(needed, charset) &&
            FcPatternGetString(sorted->fonts[i], FC_FILE, 0, &path) == FcResultMatch && path &&
            isFile(reinterpret_cast<const char *>(path)))
            file = reinterpret_cast<const char *>(path);
    }
    if (sorted)
        FcFontSetDestroy(sorted);
    FcPatternDestroy(pattern);
    return file;
}

} // namespace

std::string FontCoveringText(const std::string &fontFile, const std::string &utf8Text)
{
    if (!FcInit())
        return fontFile;
    FcCharSet *needed = charactersOf(utf8Text);
    if (!needed)
        return fontFile;
    std::string file = fontFile;
    if (!fileCovers(fontFile, needed)) {
        const std::string covering = coveringSansFont(needed);
        if (!covering.empty())
            file = covering;
    }
    FcCharSetDestroy(needed);
    return file;
}

std::string ResolveFontFile(const std::string &fontName, const std::string &programFolder)
{
    const std::string name = fontName.empty() || fontName == "0" ? kDefaultSubtitleFont : fontName;
    if (fs::path(name).is_absolute() && isFile(name))
        return name;
    const std::string fileName = fs::path(name).filename().string();
    const std::string shipped = resolveCaseInsensitive(withTrailingSlash(programFolder) + "Fonts/" + fileName);
    if (!shipped.empty() && isFile(shipped))
        return shipped;
    const std::string family = fs::path(fileName).stem().string();
    if (!family.empty()) {
        const std::string matched = matchFamily(family);
        if (!matched.empty())
            return matched;
    }
    return matchFamily("sans-serif");
}

} // namespace vt::production
