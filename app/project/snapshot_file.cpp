#include "app/project/snapshot_file.h"

#include <algorithm>
#include <cctype>

namespace vt::project {

SnapshotFormat SnapshotFormatOfFilter(int filterIndex)
{
    return filterIndex == 2 ? SnapshotFormat::Bitmap : SnapshotFormat::Jpeg;
}

std::string SnapshotFileName(const std::string &chosen, SnapshotFormat format)
{
    const std::string extension = format == SnapshotFormat::Bitmap ? ".BMP" : ".JPG";
    const size_t dot = chosen.find_last_of("./");
    std::string current = dot != std::string::npos && chosen[dot] == '.' ? chosen.substr(dot) : std::string();
    std::transform(current.begin(), current.end(), current.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (current == extension)
        return chosen;
    return chosen + (format == SnapshotFormat::Bitmap ? ".bmp" : ".jpg");
}

} // namespace vt::project
