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

} // namespace

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
