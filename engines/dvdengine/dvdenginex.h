/* The second burning engine: a DVD engine object with devices, a data
 * image and events, over the same drives and image maker as the burning
 * library (optical drives, and the pseudo-drives of $VANTOREL_BURN_DRIVES).
 *
 * Calls return DVDENGINEX_OK (0) or a DVDENGINEX_E_ code; the text of the
 * last failure of an engine is DVDEngineX_LastErrorText. Writing and
 * erasing run on the engine's worker and end with an event; events are
 * called on that worker. Texts are zero-terminated UTF-8.
 */
#ifndef VANTOREL_ENGINES_DVDENGINE_DVDENGINEX_H
#define VANTOREL_ENGINES_DVDENGINE_DVDENGINEX_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(DVDENGINEX_BUILDING_LIBRARY)
#define DVDENGINEX_API __attribute__((visibility("default")))
#else
#define DVDENGINEX_API
#endif

#define DVDENGINEX_VENDOR_INIT "VANTOREL-DVDENGINE-1"

#define DVDENGINEX_OK 0
#define DVDENGINEX_E_FAIL 1
#define DVDENGINEX_E_INVALIDARG 2
#define DVDENGINEX_E_NOTINITIALIZED 3
#define DVDENGINEX_E_BUSY 4
#define DVDENGINEX_E_NOTREADY 5
#define DVDENGINEX_E_UNSUPPORTED 6

/* Media types. */
#define DVDENGINEX_MEDIA_NONE 0
#define DVDENGINEX_MEDIA_DVDROM 1
#define DVDENGINEX_MEDIA_DVDRAM 2
#define DVDENGINEX_MEDIA_DVDR 3
#define DVDENGINEX_MEDIA_DVDRW 4
#define DVDENGINEX_MEDIA_DVDPLUSRW 5
#define DVDENGINEX_MEDIA_DVDPLUSR 6
#define DVDENGINEX_MEDIA_DVDR_DL 7
#define DVDENGINEX_MEDIA_DVDPLUSR_DL 8
#define DVDENGINEX_MEDIA_CDRW 9
#define DVDENGINEX_MEDIA_CDR 10
#define DVDENGINEX_MEDIA_BDR 14
#define DVDENGINEX_MEDIA_BDRE 15
#define DVDENGINEX_MEDIA_BDROM 16
#define DVDENGINEX_MEDIA_CDROM 255

/* Disc status. */
#define DVDENGINEX_DISC_BLANK 0
#define DVDENGINEX_DISC_APPENDABLE 1
#define DVDENGINEX_DISC_COMPLETE 2

/* Features of IsFeatureSupported. */
#define DVDENGINEX_FEATURE_DVDR 18
#define DVDENGINEX_FEATURE_DVDPLUSRW 23
#define DVDENGINEX_FEATURE_DVDPLUSR 24
#define DVDENGINEX_FEATURE_DUAL_LAYER 25

/* Write status events. */
#define DVDENGINEX_WRITE_PROGRESS 3
#define DVDENGINEX_WRITE_DONE 9
#define DVDENGINEX_WRITE_FAILED 11
/* Erase status events. */
#define DVDENGINEX_ERASE_DONE 2
#define DVDENGINEX_ERASE_FAILED 3

#define DVDENGINEX_IMAGE_DVD_VIDEO 5

typedef struct DVDEngineX DVDEngineX;
typedef struct DeviceX DeviceX;
typedef struct DataImageX DataImageX;

typedef struct DVDENGINEX_EVENTS {
    void (*OnWriteStatus)(void *context, int32_t status, int32_t progress);
    void (*OnEraseStatus)(void *context, int32_t status);
    /* A file of the layout cannot be read; return nonzero to go on without it. */
    int32_t (*OnTrackFileWarning)(void *context, const char *file, const char *reason);
    void (*OnEraseError)(void *context, int32_t code, const char *text);
} DVDENGINEX_EVENTS;

DVDENGINEX_API DVDEngineX *DVDEngineX_Create(const char *vendor_init);
DVDENGINEX_API void DVDEngineX_Destroy(DVDEngineX *engine);
/* Finds the drives. use_aspi is accepted for compatibility. */
DVDENGINEX_API int32_t DVDEngineX_Initialize(DVDEngineX *engine, int32_t use_aspi);
DVDENGINEX_API void DVDEngineX_SetEvents(DVDEngineX *engine, const DVDENGINEX_EVENTS *events, void *context);
DVDENGINEX_API const char *DVDEngineX_LastErrorText(DVDEngineX *engine);
/* True while a write or erase runs on the engine's worker. */
DVDENGINEX_API int32_t DVDEngineX_IsWorking(DVDEngineX *engine);

DVDENGINEX_API int32_t DVDEngineX_GetDeviceCount(DVDEngineX *engine);
/* Borrowed; valid while the engine lives. */
DVDENGINEX_API DeviceX *DVDEngineX_GetDevice(DVDEngineX *engine, int32_t index);

DVDENGINEX_API int32_t DeviceX_GetDeviceString(DeviceX *device, char *text, uint32_t size);
/* "/dev/sr0", "stdio:PATH" */
DVDENGINEX_API int32_t DeviceX_GetDeviceAddress(DeviceX *device, char *text, uint32_t size);
DVDENGINEX_API int32_t DeviceX_Refresh(DeviceX *device);
/* Reads the disc facts the getters below answer from. */
DVDENGINEX_API int32_t DeviceX_GetDiscInfo(DeviceX *device);
DVDENGINEX_API int32_t DeviceX_GetMediaType(DeviceX *device, int32_t *media_type);
DVDENGINEX_API int32_t DeviceX_IsDVDMediaType(DeviceX *device, int32_t *is_dvd);
DVDENGINEX_API int32_t DeviceX_GetDiscStatus(DeviceX *device, int32_t *status);
DVDENGINEX_API int32_t DeviceX_IsErasable(DeviceX *device, int32_t *erasable);
/* The volume label of the disc's file system; "" when it holds none. */
DVDENGINEX_API int32_t DeviceX_GetVolumeLabel(DeviceX *device, char *text, uint32_t size);
DVDENGINEX_API int32_t DeviceX_GetUsedSpaceBlocks(DeviceX *device, int64_t *blocks);
DVDENGINEX_API int32_t DeviceX_GetFreeSpaceBlocks(DeviceX *device, int64_t *blocks);
DVDENGINEX_API int32_t DeviceX_GetLastTrackNumber(DeviceX *device, int32_t *track);
DVDENGINEX_API int32_t DeviceX_GetSessionCount(DeviceX *device, int32_t *sessions);
DVDENGINEX_API int32_t DeviceX_IsFeatureSupported(DeviceX *device, int32_t feature, int32_t *supported);
DVDENGINEX_API int32_t DeviceX_IsCDWriter(DeviceX *device, int32_t *writer);
DVDENGINEX_API int32_t DeviceX_GetWriteSpeedCount(DeviceX *device, int32_t *count);
/* KB/s of speed index (ascending). */
DVDENGINEX_API int32_t DeviceX_GetWriteSpeedValue(DeviceX *device, int32_t index, int32_t *kbps);
/* The speed as a multiple of the disc family's 1x. */
DVDENGINEX_API int32_t DeviceX_CalculateDisplaySpeed(DeviceX *device, int32_t kbps, double *times);
DVDENGINEX_API int32_t DeviceX_GetMaxWriteSpeed(DeviceX *device, int32_t *kbps);
/* Starts an erase; OnEraseStatus ends it. */
DVDENGINEX_API int32_t DeviceX_EraseDisc(DeviceX *device, int32_t quick, int32_t kbps);
DVDENGINEX_API int32_t DeviceX_Eject(DeviceX *device);
DVDENGINEX_API int32_t DeviceX_Load(DeviceX *device);
DVDENGINEX_API int32_t DeviceX_LockDevice(DeviceX *device);
DVDENGINEX_API int32_t DeviceX_UnlockDevice(DeviceX *device);

DVDENGINEX_API DataImageX *DVDEngineX_CreateDataImage(DVDEngineX *engine);
DVDENGINEX_API void DataImageX_Destroy(DataImageX *image);
DVDENGINEX_API int32_t DataImageX_ResetFileLayout(DataImageX *image);
DVDENGINEX_API int32_t DataImageX_SetImageType(DataImageX *image, int32_t type, int32_t flag);
/* Adds an authored VIDEO_TS folder; checks it and measures the image. */
DVDENGINEX_API int32_t DataImageX_AddDVDVideoLayout(DataImageX *image, const char *video_ts_folder);
DVDENGINEX_API int32_t DataImageX_SetVolumeLabel(DataImageX *image, const char *label);
DVDENGINEX_API int32_t DataImageX_SetWriteSpeed(DataImageX *image, int32_t kbps);
/* Starts writing the image to device; OnWriteStatus reports and ends it. */
DVDENGINEX_API int32_t DataImageX_WriteDisc(DataImageX *image, DeviceX *device);

#ifdef __cplusplus
}
#endif

#endif
