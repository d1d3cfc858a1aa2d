// The file a preview snapshot is saved to: the chosen name with the
// format's extension appended unless it already ends with it (in any case).
#pragma once

#include <string>

namespace vt::project {

enum class SnapshotFormat { Jpeg, Bitmap };

// The save dialog's filter; its first entry is JPEG, its second bitmap.
inline constexpr const char *kSnapshotFilter = "JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp";
inline constexpr int kSnapshotJpegQuality = 100;

SnapshotFormat SnapshotFormatOfFilter(int filterIndex);
std::string SnapshotFileName(const std::string &chosen, SnapshotFormat format);

} // namespace vt::project
