#include "app/production/volume_label.h"

#include "platform/paths.h"

#include <filesystem>

namespace vt::production {

namespace {

bool taken(const std::string &path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

} // namespace

std::string CleanVolumeLabel(const std::string &typed)
{
    const size_t first = typed.find_first_not_of(" \t\r\n");
    const size_t last = typed.find_last_not_of(" \t\r\n");
    std::string label;
    if (first != std::string::npos) {
        for (char c : typed.substr(first, last - first + 1)) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            const bool allowed = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
            label += allowed ? c : '_';
        }
    }
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
