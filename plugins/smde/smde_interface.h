// The SMDE decoder interface: what an outside decoder library exports and
// the two function tables it hands out, a decoder type and a decoder
// instance. Each table is an object whose pointer-sized slots hold plain
// functions, called with the object itself first. The interface was first
// laid out for 32-bit code, where the slot of an operation sat at 4 bytes
// times its index; here every slot is one pointer wide, at the same index.
// Strings are zero-terminated UTF-16, times are seconds as doubles, and a
// read that reaches the end of a stream returns kSmdeEndOfStream.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

struct SmdeDecoderType;
struct SmdeDecoder;

// The first two slots of either table are the library's own.
struct SmdeDecoderType {
    void *reserved[2];
    const char16_t *(*name)(SmdeDecoderType *self);
    // May be null. A list of strings ended by an empty string.
    const char16_t *(*extensions)(SmdeDecoderType *self);
    int32_t (*prepare)(SmdeDecoderType *self);
    // mode is always 1. 0 on success.
    int32_t (*open)(SmdeDecoderType *self, SmdeDecoder **instance, const char16_t *path, int32_t mode, double startTime);
};

struct SmdeInfo {
    int32_t flags;  // kSmdeHasSound | kSmdeHasPicture
    int32_t reserved;
    double duration;
};

struct SmdeDecoder {
    void *reserved[1];
    void (*destroy)(SmdeDecoder *self);
    int32_t (*info)(SmdeDecoder *self, SmdeInfo *info);
    int32_t (*videoFormat)(SmdeDecoder *self, int32_t *width, int32_t *height, double *frameRate, double *pixelAspect);
    int32_t (*pixelFormat)(SmdeDecoder *self);
    int32_t (*audioFormat)(SmdeDecoder *self, int32_t *sampleRate, int32_t *channels, int32_t *bitsPerSample);
    void *reserved2[2];
    int32_t (*nextPicture)(SmdeDecoder *self);
    double (*pictureTime)(SmdeDecoder *self);
    int32_t (*lockPicture)(SmdeDecoder *self, const uint8_t **data, int32_t *lineLength);
    int32_t (*releasePicture)(SmdeDecoder *self);
    int32_t (*nextSoundBlock)(SmdeDecoder *self);
    double (*soundBlockTime)(SmdeDecoder *self);
    int32_t (*lockSoundBlock)(SmdeDecoder *self, const uint8_t **data, int32_t *size);
    int32_t (*releaseSoundBlock)(SmdeDecoder *self);
    int32_t (*soundBlockFormat)(SmdeDecoder *self, int32_t *sampleRate, int32_t *channels, int32_t *bitsPerSample);
};

typedef int32_t (*SmdeInitFunc)(void);
typedef int32_t (*SmdeDeinitFunc)(void);
typedef int32_t (*SmdeGetDecoderTypeCountFunc)(void);
typedef int32_t (*SmdeGetDecoderTypeFunc)(SmdeDecoderType **type, int32_t index);

}  // extern "C"

enum : int32_t {
    kSmdeHasSound = 1,
    kSmdeHasPicture = 2,
    kSmdePixelRgb24 = 1,  // bytes in R, G, B order
    kSmdeEndOfStream = -3,
};

// Slot index of each operation: its 32-bit byte offset / 4.
#define SMDE_SLOT(type, member, index) static_assert(offsetof(type, member) == (index) * sizeof(void *), #member)
SMDE_SLOT(SmdeDecoderType, name, 2);
SMDE_SLOT(SmdeDecoderType, extensions, 3);
SMDE_SLOT(SmdeDecoderType, prepare, 4);
SMDE_SLOT(SmdeDecoderType, open, 5);
SMDE_SLOT(SmdeDecoder, destroy, 1);
SMDE_SLOT(SmdeDecoder, info, 2);
SMDE_SLOT(SmdeDecoder, videoFormat, 3);
SMDE_SLOT(SmdeDecoder, pixelFormat, 4);
SMDE_SLOT(SmdeDecoder, audioFormat, 5);
SMDE_SLOT(SmdeDecoder, nextPicture, 8);
SMDE_SLOT(SmdeDecoder, pictureTime, 9);
SMDE_SLOT(SmdeDecoder, lockPicture, 10);
SMDE_SLOT(SmdeDecoder, releasePicture, 11);
SMDE_SLOT(SmdeDecoder, nextSoundBlock, 12);
SMDE_SLOT(SmdeDecoder, soundBlockTime, 13);
SMDE_SLOT(SmdeDecoder, lockSoundBlock, 14);
SMDE_SLOT(SmdeDecoder, releaseSoundBlock, 15);
SMDE_SLOT(SmdeDecoder, soundBlockFormat, 16);
#undef SMDE_SLOT
static_assert(sizeof(SmdeInfo) == 16, "info: two ints and a double");
