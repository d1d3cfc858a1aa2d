#include "engines/converter/bmp_file.h"

#include <cstdio>
#include <vector>

namespace corvane {

namespace {

void put_le(std::vector<uint8_t> &out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

bool write_bmp24(const std::string &path, const uint8_t *bgr, int width, int height)
{
    const uint32_t row_bytes = static_cast<uint32_t>(width) * 3;
    const uint32_t stride = (row_bytes + 3) & ~3u;
    const uint32_t image_bytes = stride * static_cast<uint32_t>(height);
    std::vector<uint8_t> header;
    header.push_back('B');
    header.push_back('M');
    put_le(header, 54 + image_bytes, 4); // file size
    put_le(header, 0, 4);                // reserved
    put_le(header, 54, 4);               // offset of the pixels
    put_le(header, 40, 4);               // BITMAPINFOHEADER
    put_le(header, static_cast<uint32_t>(width), 4);
    put_le(header, static_cast<uint32_t>(height), 4); // positive: bottom row first
    put_le(header, 1, 2);                // planes
    put_le(header, 24, 2);               // bits per pixel
    put_le(header, 0, 4);                // BI_RGB
    put_le(header, image_bytes, 4);
    put_le(header, 2835, 4);             // 72 dpi
    put_le(header, 2835, 4);
    put_le(header, 0, 4);
    put_le(header, 0, 4);

    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    const uint8_t padding[3] = {0, 0, 0};
    for (int y = height - 1; ok && y >= 0; --y) {
        ok = std::fwrite(bgr + static_cast<size_t>(y) * row_bytes, 1, row_bytes, file) == row_bytes &&
             std::fwrite(padding, 1, stride - row_bytes, file) == stride - row_bytes;
    }
    return std::fclose(file) == 0 && ok;
}

} // namespace corvane
