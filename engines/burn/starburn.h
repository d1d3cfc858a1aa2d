/* The burning library: optical drives and disc-image pseudo-drives, the
 * DVD-Video file system of an authored folder, and writing it.
 *
 * Drives are the machine's optical drives (found with libburn) and the
 * pseudo-drives of the list in $VANTOREL_BURN_DRIVES (or added with
 * StarBurn_AddPseudoDrive), each an image file with an emulated disc:
 *
 *   stdio:PATH,type=DVD+R,capacity=BYTES,speeds=KBPS/KBPS/...,rate=KBPS,
 *       erase=fail,write=fail,ready=fail
 *
 * entries separated by ';'. Every key but the path is optional (DVD+RW of
 * DVD-5 size, speeds 5540/11080, unthrottled). "rate" limits the data rate
 * of a write; the "fail" switches make that operation fail.
 *
 * Burner calls take the burner object, a text buffer for the reason of a
 * failure, its size, the address of a status word and a second text
 * buffer of the same size (the detail of the failure), and return an
 * exception code: STARBURN_OK or one of the STARBURN_EXCEPTION_ codes.
 * Texts are zero-terminated UTF-8.
 */
#ifndef VANTOREL_ENGINES_BURN_STARBURN_H
#define VANTOREL_ENGINES_BURN_STARBURN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(STARBURN_BUILDING_LIBRARY)
#define STARBURN_API __attribute__((visibility("default")))
#else
#define STARBURN_API
#endif

/* The initialisation data StarBurn_UpStartEx accepts. */
#define STARBURN_VENDOR_INIT "VANTOREL-STARBURN-1"

#define STARBURN_TEXT_SIZE 1024

#define STARBURN_OK 0
#define STARBURN_EXCEPTION_GENERIC 1
#define STARBURN_EXCEPTION_NOT_STARTED 2
#define STARBURN_EXCEPTION_INVALID_PARAMETER 3
#define STARBURN_EXCEPTION_NO_DEVICE 4
#define STARBURN_EXCEPTION_DEVICE_BUSY 5
#define STARBURN_EXCEPTION_NOT_READY 6
#define STARBURN_EXCEPTION_NOT_SUPPORTED 7
#define STARBURN_EXCEPTION_NO_SPACE 8
#define STARBURN_EXCEPTION_DISC_NOT_BLANK 9
#define STARBURN_EXCEPTION_WRITE_FAILED 10
#define STARBURN_EXCEPTION_ERASE_FAILED 11
#define STARBURN_EXCEPTION_IMAGE_FAILED 12

/* Disc type codes of StarBurn_CdvdBurnerGrabber_GetInsertedDiscType. */
#define STARBURN_DISC_UNKNOWN 0
#define STARBURN_DISC_CDROM 1
#define STARBURN_DISC_CDR 2
#define STARBURN_DISC_CDRW 3
#define STARBURN_DISC_DVDROM 4
#define STARBURN_DISC_DVDR 5
#define STARBURN_DISC_DVDRAM 6
#define STARBURN_DISC_DVDRW_OVERWRITE 7
#define STARBURN_DISC_DVDRW_SEQUENTIAL 8
#define STARBURN_DISC_DVDPLUSRW 9
#define STARBURN_DISC_DVDPLUSR 13
#define STARBURN_DISC_EMPTY 14
#define STARBURN_DISC_DVDPLUSR_DL 15
#define STARBURN_DISC_DVDR_DL 16
#define STARBURN_DISC_BDROM 17
#define STARBURN_DISC_BDR 18
#define STARBURN_DISC_BDRE 19
#define STARBURN_DISC_HDDVD_ROM 20
#define STARBURN_DISC_HDDVD_R 21
#define STARBURN_DISC_HDDVD_RW 22

/* Events of the burn callback. */
#define STARBURN_EVENT_TARGET_FILE_ANALYZE_BEGIN 4
#define STARBURN_EVENT_TARGET_FILE_ANALYZE_END 5
#define STARBURN_EVENT_WAIT_CACHE_FULL_BEGIN 6
#define STARBURN_EVENT_WAIT_CACHE_FULL_END 7
#define STARBURN_EVENT_SYNCHRONIZE_CACHE_BEGIN 8
#define STARBURN_EVENT_SYNCHRONIZE_CACHE_END 9
#define STARBURN_EVENT_WRITE_PROGRESS 12 /* first: total bytes, second: bytes written */
#define STARBURN_EVENT_DVDPLUSRW_FORMAT_BEGIN 21
#define STARBURN_EVENT_DVDPLUSRW_FORMAT_END 22
#define STARBURN_EVENT_DVD_MEDIA_PADDING_SIZE 26
#define STARBURN_EVENT_DVD_MEDIA_PADDING_BEGIN 27
#define STARBURN_EVENT_DVD_MEDIA_PADDING_END 28
#define STARBURN_EVENT_DVDRW_QUICK_FORMAT_BEGIN 30
#define STARBURN_EVENT_DVDRW_QUICK_FORMAT_END 31

/* Called on the thread of the blocking call that causes the event. */
typedef void (*STARBURN_CALLBACK)(int event, void *context, uint64_t *first, uint64_t *second);

typedef struct STARBURN_DISC_INFORMATION {
    int32_t empty;      /* 1 when nothing is recorded */
    int32_t erasable;   /* 1 for rewritable media */
    int32_t sessions;
    int32_t last_track;
} STARBURN_DISC_INFORMATION;

typedef struct STARBURN_TOC_INFORMATION {
    int32_t first_track;
    int32_t last_track;
    int32_t sessions;
    uint32_t recorded_blocks; /* 2048-byte blocks */
} STARBURN_TOC_INFORMATION;

typedef struct STARBURN_TRACK_INFORMATION {
    int32_t blank;
    uint32_t recorded_blocks;
    uint32_t free_blocks;
} STARBURN_TRACK_INFORMATION;

#define STARBURN_CALL_ARGS \
    void *grabber, char *exception_text, uint32_t text_size, uint32_t *status, char *status_text

/* Starts the library: libburn, the drive scan and the pseudo-drive list.
 * init must be STARBURN_VENDOR_INIT (size without the terminator). Returns
 * STARBURN_OK; a second call rescans. */
STARBURN_API int StarBurn_UpStartEx(const void *init, uint32_t init_size);
/* Ends what UpStartEx started; burner objects must be destroyed first. */
STARBURN_API void StarBurn_DownShut(void);

/* Adds one pseudo-drive (the entry syntax above) after the listed ones;
 * STARBURN_OK, or STARBURN_EXCEPTION_INVALID_PARAMETER with the reason in
 * text. Its device name is the one StarBurn_GetDeviceLetter gives back. */
STARBURN_API int StarBurn_AddPseudoDrive(const char *entry, char *text, uint32_t text_size);

/* The address of a device name ("CdRom0" ... "CdRom19", in scan order:
 * optical drives, then pseudo-drives): "/dev/sr0" or "stdio:PATH".
 * STARBURN_EXCEPTION_NO_DEVICE for a name with no drive. */
STARBURN_API int StarBurn_GetDeviceLetter(const char *device_name, char *address, uint32_t address_size);

/* A burner object for a device name ("CdRomN") or an address. The callback
 * gets the events of the blocking calls with context. A drive in use by
 * another burner object gives STARBURN_EXCEPTION_DEVICE_BUSY. */
STARBURN_API int StarBurn_CdvdBurnerGrabber_CreateEx(void **grabber, char *exception_text, uint32_t text_size,
                                                     uint32_t *status, char *status_text,
                                                     STARBURN_CALLBACK callback, void *context,
                                                     const char *device_name, int cache);
STARBURN_API void StarBurn_CdvdBurnerGrabber_Destroy(void *grabber);

STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDeviceInformation(STARBURN_CALL_ARGS, char *vendor, char *product,
                                                                 char *revision, uint32_t *cache_size);
/* 16 flags, 1 or 0: 0 CD-R, 1 CD-RW, 2 CD-R write, 3 CD-RW write,
 * 4 DVD-ROM, 5 DVD-RAM, 6 DVD-RAM write, 7 test write, 8 DVD-R/-RW write,
 * 9 buffer-underrun protection, 10 BD read, 11 BD write, 12 DVD+RW read,
 * 13 DVD+RW write, 14 DVD+R write, 15 double-layer write. */
STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDeviceCapabilities(STARBURN_CALL_ARGS, uint8_t flags[16]);
STARBURN_API int StarBurn_CdvdBurnerGrabber_GetInsertedDiscType(STARBURN_CALL_ARGS, int32_t *disc_type);
STARBURN_API int StarBurn_CdvdBurnerGrabber_TestUnitReady(STARBURN_CALL_ARGS);
STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDiscInformation(STARBURN_CALL_ARGS, STARBURN_DISC_INFORMATION *info);
STARBURN_API int StarBurn_CdvdBurnerGrabber_GetTOCInformation(STARBURN_CALL_ARGS, STARBURN_TOC_INFORMATION *toc);
/* track 255 is the next writable track. */
STARBURN_API int StarBurn_CdvdBurnerGrabber_GetTrackInformation(STARBURN_CALL_ARGS, int32_t track,
                                                               STARBURN_TRACK_INFORMATION *info);
/* The volume label of the ISO 9660 file system on the disc; "" when the
 * disc holds none. */
STARBURN_API int StarBurn_CdvdBurnerGrabber_GetDiscLabel(STARBURN_CALL_ARGS, char *label, uint32_t label_size);

/* KB/s. The current write speed is the one the last SetSpeeds settled on
 * (the drive cannot be asked for it). */
STARBURN_API int StarBurn_CdvdBurnerGrabber_GetSpeeds(STARBURN_CALL_ARGS, uint32_t *current_read,
                                                      uint32_t *maximum_read, uint32_t *current_write,
                                                      uint32_t *maximum_write);
/* 0xFFFF leaves a speed unchanged; 0 means the maximum. The drive settles
 * on its fastest speed not above the request (its slowest when all are). */
STARBURN_API int StarBurn_CdvdBurnerGrabber_SetSpeeds(STARBURN_CALL_ARGS, uint32_t read_kbps, uint32_t write_kbps);

STARBURN_API int StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes(STARBURN_CALL_ARGS, int32_t *track_at_once,
                                                                   int32_t *session_at_once, int32_t *dao_pq,
                                                                   int32_t *dao_raw_pw);
STARBURN_API int StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes(STARBURN_CALL_ARGS, int32_t modes[6]);
STARBURN_API int StarBurn_CdvdBurnerGrabber_GetBUP(STARBURN_CALL_ARGS, int32_t *enabled, int32_t *supported);
STARBURN_API int StarBurn_CdvdBurnerGrabber_SetBUP(STARBURN_CALL_ARGS, int32_t enabled);
STARBURN_API int StarBurn_CdvdBurnerGrabber_SendOPC(STARBURN_CALL_ARGS);

/* The DVD-Video file system (ISO 9660 + UDF bridge) of an authored
 * VIDEO_TS folder. Create checks the folder and measures the image; the
 * image is made while TrackAtOnceFromTree writes it. modify_ifo is
 * accepted for compatibility: the file system keeps the IFO files as they
 * are, which is right for folders whose IFO addresses are relative to
 * their own files. The date is that of the day of the burn. */
STARBURN_API int StarBurn_DVDVideo_Create(void **dvdvideo, char *exception_text, uint32_t text_size,
                                         uint32_t *status, char *status_text, const char *video_ts_folder,
                                         int modify_ifo, const char *volume_label, const char *publisher,
                                         const char *application, int year, int month, int day, int hour,
                                         int minute, int second, int hundredths);
STARBURN_API uint64_t StarBurn_DVDVideo_GetSizeInUCHARs(void *dvdvideo);
STARBURN_API void *StarBurn_DVDVideo_GetTreeNodePointer(void *dvdvideo);
STARBURN_API void StarBurn_DVDVideo_Destroy(void *dvdvideo);

/* Writes the tree as one track, blocking, with write-progress events.
 * The fixed arguments are (1, test_write, 0, 1, 5); test_write must be 0.
 * Succeeds only when the whole image was made and written. */
STARBURN_API int StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree(STARBURN_CALL_ARGS, void *tree, int32_t real_write,
                                                               int32_t test_write, int32_t reserved,
                                                               int32_t close_track, int32_t write_method);
STARBURN_API int StarBurn_CdvdBurnerGrabber_CloseSession(STARBURN_CALL_ARGS);

/* Erases rewritable media, blocking. */
STARBURN_API int StarBurn_CdvdBurnerGrabber_Blank(STARBURN_CALL_ARGS, int32_t quick);
STARBURN_API int StarBurn_CdvdBurnerGrabber_Eject(STARBURN_CALL_ARGS);
STARBURN_API int StarBurn_CdvdBurnerGrabber_Load(STARBURN_CALL_ARGS);
STARBURN_API int StarBurn_CdvdBurnerGrabber_Lock(STARBURN_CALL_ARGS);
STARBURN_API int StarBurn_CdvdBurnerGrabber_Release(STARBURN_CALL_ARGS);

#ifdef __cplusplus
}
#endif

#endif
