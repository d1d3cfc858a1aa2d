/* Bitmap resampler on libswscale. */
#include "engines/resize/rs_resize.h"

#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>

#define RS_MAX_SIDE 16384

static int rs_pixel_format(int bitsPerPixel, enum AVPixelFormat *format)
{
    switch (bitsPerPixel) {
    case 24: *format = AV_PIX_FMT_BGR24; return 1;
    case 32: *format = AV_PIX_FMT_BGR0; return 1;
    default: return 0;
    }
}

/* Device-independent bitmap rows are padded to whole 32-bit words. */
static int rs_stride(int bitsPerPixel, int width)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

static int rs_valid_side(int side)
{
    return side > 0 && side <= RS_MAX_SIDE;
}

__attribute__((visibility("default")))
int RS_ReSize(const uint8_t *src, int srcBitsPerPixel, int srcWidth, int srcHeight,
              uint8_t *dst, int dstBitsPerPixel, int dstWidth, int dstHeight, int quality)
{
    enum AVPixelFormat srcFormat, dstFormat;
    if (!src || !dst || !rs_pixel_format(srcBitsPerPixel, &srcFormat) || !rs_pixel_format(dstBitsPerPixel, &dstFormat))
        return 0;
    if (!rs_valid_side(srcWidth) || !rs_valid_side(srcHeight) || !rs_valid_side(dstWidth) || !rs_valid_side(dstHeight))
        return 0;

    /* Full-resolution chroma on both sides: RGB in, RGB out, without the
     * colour bleeding of subsampled intermediate planes. */
    const int flags = (quality ? SWS_LANCZOS : SWS_BICUBIC) | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT | SWS_FULL_CHR_H_INP;
    struct SwsContext *sws = sws_getContext(srcWidth, srcHeight, srcFormat, dstWidth, dstHeight, dstFormat, flags,
                                            NULL, NULL, NULL);
    if (!sws)
        return 0;

    const uint8_t *srcPlanes[4] = {src, NULL, NULL, NULL};
    const int srcStrides[4] = {rs_stride(srcBitsPerPixel, srcWidth), 0, 0, 0};
    uint8_t *dstPlanes[4] = {dst, NULL, NULL, NULL};
    const int dstStrides[4] = {rs_stride(dstBitsPerPixel, dstWidth), 0, 0, 0};
    const int rows = sws_scale(sws, srcPlanes, srcStrides, 0, srcHeight, dstPlanes, dstStrides);
    sws_freeContext(sws);
    return rows == dstHeight ? 1 : 0;
}
