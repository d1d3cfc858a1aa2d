// The pixel layouts the module's picture nodes exchange: how a layout is
// described, how big its planes are, and how the planes of a picture
// sample are found (checked against their data) or written.
#pragma once

#include "framework/include/zif.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

#include <cstdint>

namespace ffplug {

struct PixelLayout {
    AVPixelFormat pixelFormat;
    const char *format;  // "rgb.interleaved" or "yuv.separate"
    int bitsPerPixel;    // packed layouts; 0 for planar
    int offsetR, offsetG, offsetB;
};

// The four layouts the converter and the resizer know, in their fixed order:
// 32-bit RGB words, RGB24, BGR24, planar YUV 4:2:0.
constexpr int kPixelLayoutCount = 4;
const PixelLayout *pixelLayouts();
const PixelLayout &yuv420Layout();

// {"portclass": "data", "format", and the bit, offset or ratio keys}.
zif_object *pixelLayoutDescription(zif_context *context, const PixelLayout &layout);

// The layout a picture description or sample satisfies completely, or null.
const PixelLayout *pixelLayoutOf(zif_object *picture);

// Bytes per visible row and rows of each plane of a width x height picture.
// Chroma of 4:2:0 has (width + 1) / 2 bytes and (height + 1) / 2 rows.
struct PlaneShape {
    int64_t rowBytes = 0;
    int64_t rows = 0;
};
struct PictureShape {
    int planes = 0;
    PlaneShape plane[3];
};
// Packed RGB/BGR (24 and 32 bits), planar YUV 4:2:0 (also full-range) and
// 4:4:4; planes = 0 for any other pixel format.
PictureShape pictureShape(AVPixelFormat format, int width, int height);

// Pointers and line steps of a picture's planes.
struct PlaneRefs {
    const uint8_t *data[4] = {};
    int lineSize[4] = {};
};

// Finds the planes of a picture sample in layout format: for packed layouts
// "data", "linedelta" (0: row bytes; negative: bottom-up) and
// "firstlineoffset"; for planar ones the "yuv.data.", "yuv.linedelta." and
// "yuv.firstlineoffset." keys of each plane. Every plane must lie inside its
// data (checked in 64 bits): false with error 22 when one does not, false
// with error 14 when an entry is missing.
bool planesRead(zif_object *picture, AVPixelFormat format, int width, int height, PlaneRefs *planes);

// Adds zeroed planes for a width x height picture to table with the given
// line steps (each at least the row bytes), and fills writable pointers.
struct PlaneTargets {
    uint8_t *data[4] = {};
    int lineSize[4] = {};
};
bool planesAdd(zif_object *table, AVPixelFormat format, int width, int height, const int64_t lineSize[3],
               const int64_t rows[3], PlaneTargets *planes);

}  // namespace ffplug
