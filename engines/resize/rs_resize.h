/* The bitmap resampler's entry point, exported by libresize.so.
 *
 * Pixel buffers are device-independent bitmaps as the caller keeps them:
 * 24-bit rows are B,G,R triples padded to a multiple of 4 bytes, 32-bit rows
 * are B,G,R,X quadruples. Rows may be stored bottom-up or top-down; the
 * picture keeps the same orientation in the destination.
 */
#ifndef VANTOREL_ENGINES_RESIZE_RS_RESIZE_H
#define VANTOREL_ENGINES_RESIZE_RS_RESIZE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Resamples the source picture into the whole destination picture: bicubic
 * when quality is 0, Lanczos otherwise. Bits per pixel are 24 or 32.
 * Returns 1 on success, 0 for invalid arguments or when resampling fails. */
int RS_ReSize(const uint8_t *src, int srcBitsPerPixel, int srcWidth, int srcHeight,
              uint8_t *dst, int dstBitsPerPixel, int dstWidth, int dstHeight, int quality);

typedef int (*RS_ReSizeFn)(const uint8_t *, int, int, int, uint8_t *, int, int, int, int);

#ifdef __cplusplus
}
#endif

#endif
