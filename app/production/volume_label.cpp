#include "app/production/volume_label.h"

#include "platform/paths.h"

#include <QList>
#include <QString>

#include <filesystem>

namespace vt::production {

namespace {

bool taken(const std::string &path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

bool allowed(char32_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Letters that do not decompose into a base letter and accents.
std::string specialLetter(char32_t c)
{
    switch (c) {
    case U'ß': return "SS";
    case U'Æ': case U'æ': return "AE";
    case U'Œ': case U'œ': return "OE";
    case U'Ø': case U'ø': return "O";
    case U'Đ': case U'đ': case U'Ð': case U'ð': return "D";
    case U'Ł': case U'ł': return "L";
    case U'Þ': case U'þ': return "TH";
    case U'ı': return "I";
    default: return "";
    }
}

// One character of the label: itself when allowed, its base letter when it
// is an accented Latin letter (é → E), else '_'.
std::string labelCharacter(char32_t c)
{
    if (c < 0x80)
        return std::string(1, allowed(c) ? static_cast<char>(c) : '_');
    const std::string special = specialLetter(c);
    if (!special.empty())
        return special;
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D).toUpper();
    const char32_t base = decomposed.isEmpty() ? 0 : decomposed.at(0).unicode();
    for (qsizetype i = 1; i < decomposed.size(); ++i)
        if (decomposed.at(i).category() != QChar::Mark_NonSpacing)
            return "_";
    return std::string(1, base < 0x80 && allowed(base) ? static_cast<char>(base) : '_');
}

} // namespace

std::string CleanVolumeLabel(const std::string &typed)
{
    const QString text = QString::fromUtf8(typed.data(), static_cast<qsizetype>(typed.size())).trimmed().toUpper();
    std::string label;
    for (char32_t c : text.toUcs4())
        label += labelCharacter(c);
    if (label.size() > kMaxVolumeLabelLength)
        label.resize(kMaxVolumeLabelLength);
    return label.empty() ? kDefaultVolumeLabel : label;
}

std::string DefaultVolumeLabel(const std::string &outputFolder)
{
    const std::string folder = withTrailingSlash(outputFolder);
    if (!taken(folder + kDefaultVolumeLabel))
        return kDefaultVolumeLabel;
    for (int n = 1;; ++n) {
        const std::string label = std::string(kDefaultVolumeLabel) + "_" + std::to_string(n);
        if (!taken(folder + label))
            return label;
    }
}

std::string DvdFolderPath(const std::string &outputFolder, const std::string &label)
{
    const std::string base = withTrailingSlash(outputFolder) + label;
    if (!taken(base))
        return base;
    for (int n = 1;; ++n) {
        const std::string candidate = base + "_" + std::to_string(n);
        if (!taken(candidate))
            return candidate;
    }
}

} // namespace vt::production
