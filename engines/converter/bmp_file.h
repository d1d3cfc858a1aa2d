// Writing 24-bit Windows bitmap files.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// Writes width x height BGR pixels (top row first, rows without gaps) as an
// uncompressed 24-bit bitmap. False when the file cannot be written.
bool write_bmp24(const std::string &path, const uint8_t *bgr, int width, int height);

} // namespace corvane
