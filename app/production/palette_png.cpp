#include "app/production/palette_png.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace vt::production {

namespace {

bool writePng(const QImage &image, FILE *file)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width(), image.height(), 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const QList<QRgb> table = image.colorTable();
    std::vector<png_color> palette;
    for (QRgb colour : table)
        palette.push_back({static_cast<png_byte>(qRed(colour)), static_cast<png_byte>(qGreen(colour)),
                           static_cast<png_byte>(qBlue(colour))});
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_byte transparent = 0;
    png_set_tRNS(png, info, &transparent, 1, nullptr);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y)
        png_write_row(png, image.constScanLine(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePalettePng(const QImage &image, const std::string &path)
{
    if (image.format() != QImage::Format_Indexed8 || image.colorCount() == 0)
        return false;
    const std::string temporary = path + ".part";
    FILE *file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    const bool written = writePng(image, file);
    if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace vt::production
