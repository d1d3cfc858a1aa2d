#include "plugins/ffmpeg/pixel_layout.h"
#include "plugins/common/plugin_errors.h"

#include <climits>
#include <cstring>
#include <string>

namespace ffplug {

namespace {

// 32-bit RGB is one native (little-endian) word 0xAARRGGBB per pixel.
const PixelLayout kLayouts[kPixelLayoutCount] = {
    {AV_PIX_FMT_RGB32, "rgb.interleaved", 32, 16, 8, 0},
    {AV_PIX_FMT_RGB24, "rgb.interleaved", 24, 0, 8, 16},
    {AV_PIX_FMT_BGR24, "rgb.interleaved", 24, 16, 8, 0},
    {AV_PIX_FMT_YUV420P, "yuv.separate", 0, 0, 0, 0},
};

const char *const kPlaneSuffix[] = {"y", "u", "v"};

std::string planeKey(const char *prefix, int plane) { return std::string(prefix) + kPlaneSuffix[plane]; }

bool isPacked(AVPixelFormat f)
{
    return f == AV_PIX_FMT_RGB32 || f == AV_PIX_FMT_RGB24 || f == AV_PIX_FMT_BGR24;
}

// offset + step x (rows - 1) + row bytes within size, for either sign of step.
bool planeFits(int64_t size, int64_t offset, int64_t step, const PlaneShape &shape)
{
    if (offset < 0 || shape.rows < 1 || shape.rowBytes < 1)
        return false;
    int64_t magnitude = step < 0 ? -step : step;
    if (magnitude < shape.rowBytes || magnitude > INT_MAX)
        return false;
    int64_t span = magnitude * (shape.rows - 1);
    if (step < 0)
        return offset >= span && offset + shape.rowBytes <= size;
    return offset + span + shape.rowBytes <= size;
}

}  // namespace

const PixelLayout *pixelLayouts() { return kLayouts; }
const PixelLayout &yuv420Layout() { return kLayouts[3]; }

zif_object *pixelLayoutDescription(zif_context *context, const PixelLayout &layout)
{
    zif_object *d = zif_newTable(context);
    bool ok = d && zif_tableSetString(d, "portclass", "data") && zif_tableSetString(d, "format", layout.format);
    if (ok && layout.bitsPerPixel) {
        ok = zif_tableSetInt(d, "bitsperpixel", layout.bitsPerPixel) && zif_tableSetInt(d, "rgb.bits.r", 8) &&
             zif_tableSetInt(d, "rgb.bits.g", 8) && zif_tableSetInt(d, "rgb.bits.b", 8) &&
             zif_tableSetInt(d, "rgb.offset.r", layout.offsetR) && zif_tableSetInt(d, "rgb.offset.g", layout.offsetG) &&
             zif_tableSetInt(d, "rgb.offset.b", layout.offsetB);
    } else if (ok) {
        // Luma samples per chroma sample, as the luma ratio over the chroma ratios.
        for (int p = 0; p < 3 && ok; ++p)
            ok = zif_tableSetInt(d, planeKey("yuv.hratio.", p).c_str(), p == 0 ? 2 : 1) &&
                 zif_tableSetInt(d, planeKey("yuv.vratio.", p).c_str(), p == 0 ? 2 : 1);
    }
    if (ok)
        return d;
    zif_release(d);
    return nullptr;
}

const PixelLayout *pixelLayoutOf(zif_object *picture)
{
    if (!picture)
        return nullptr;
    zif_context *context = zif_objectGetContext(picture);
    for (const PixelLayout &layout : kLayouts) {
        zif_object *d = pixelLayoutDescription(context, layout);
        int32_t grade = d ? zif_constraintCheck(d, picture) : ZIF_MATCH_FAILURE;
        zif_release(d);
        if (grade == ZIF_MATCH_FULL)
            return &layout;
    }
    return nullptr;
}

PictureShape pictureShape(AVPixelFormat format, int width, int height)
{
    PictureShape s;
    if (width < 1 || height < 1)
        return s;
    int64_t w = width, h = height;
    switch (format) {
    case AV_PIX_FMT_RGB32:
    case AV_PIX_FMT_BGR32:
        s.planes = 1;
        s.plane[0] = {4 * w, h};
        break;
    case AV_PIX_FMT_RGB24:
    case AV_PIX_FMT_BGR24:
        s.planes = 1;
        s.plane[0] = {3 * w, h};
        break;
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:
        s.planes = 3;
        s.plane[0] = {w, h};
        s.plane[1] = s.plane[2] = {(w + 1) / 2, (h + 1) / 2};
        break;
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUVJ444P:
        s.planes = 3;
        s.plane[0] = s.plane[1] = s.plane[2] = {w, h};
        break;
    default:
        break;
    }
    return s;
}

bool planesRead(zif_object *picture, AVPixelFormat format, int width, int height, PlaneRefs *planes)
{
    PictureShape shape = pictureShape(format, width, height);
    if (shape.planes == 0)
        return plugins::fail(picture, plugins::kErrConversion);
    for (int p = 0; p < shape.planes; ++p) {
        bool packed = isPacked(format);
        std::string dataKey = packed ? "data" : planeKey("yuv.data.", p);
        std::string stepKey = packed ? "linedelta" : planeKey("yuv.linedelta.", p);
        std::string offsetKey = packed ? "firstlineoffset" : planeKey("yuv.firstlineoffset.", p);
        const uint8_t *bytes = nullptr;
        int32_t size = 0;
        if (!zif_tableGetData(picture, dataKey.c_str(), &bytes, &size, nullptr, -1) || size < 0 ||
            (!packed && !zif_tableContains(picture, stepKey.c_str())))
            return plugins::fail(picture, plugins::kErrConversion);
        int64_t step = zif_tableGetInt(picture, stepKey.c_str(), 0);
        if (step == 0)
            step = shape.plane[p].rowBytes;
        int64_t offset = zif_tableGetInt(picture, offsetKey.c_str(), 0);
        if (!planeFits(size, offset, step, shape.plane[p]))
            return plugins::fail(picture, plugins::kErrPlaneSize);
        planes->data[p] = bytes + offset;
        planes->lineSize[p] = static_cast<int>(step);
    }
    return true;
}

bool planesAdd(zif_object *table, AVPixelFormat format, int width, int height, const int64_t lineSize[3],
               const int64_t rows[3], PlaneTargets *planes)
{
    PictureShape shape = pictureShape(format, width, height);
    bool packed = isPacked(format);
    for (int p = 0; p < shape.planes; ++p) {
        int64_t bytes = lineSize[p] * rows[p];
        if (lineSize[p] < shape.plane[p].rowBytes || rows[p] < shape.plane[p].rows || bytes > INT_MAX)
            return plugins::fail(table, plugins::kErrConversion);
        zif_object *data = zif_newData(zif_objectGetContext(table), static_cast<int32_t>(bytes));
        bool ok = data && zif_dataSetSize(data, static_cast<int32_t>(bytes));
        if (ok) {
            std::memset(zif_dataGetWritePtr(data), 0, static_cast<size_t>(bytes));
            planes->data[p] = zif_dataGetWritePtr(data);
            planes->lineSize[p] = static_cast<int>(lineSize[p]);
            ok = zif_tableSet(table, packed ? "data" : planeKey("yuv.data.", p).c_str(), data) &&
                 zif_tableSetInt(table, packed ? "linedelta" : planeKey("yuv.linedelta.", p).c_str(), lineSize[p]);
        }
        zif_release(data);
        if (!ok)
            return false;
    }
    return shape.planes > 0 || plugins::fail(table, plugins::kErrConversion);
}

}  // namespace ffplug
