/* The converter library: probing, frame grabbing and preview, DVD MPEG-2
 * conversion and still-picture menu encoding.
 *
 * Every entry point is a plain C function; integers are 32-bit, texts are
 * zero-terminated UTF-8 paths and decimal numbers. Where a window handle is
 * expected the caller passes a VtMessageTarget (platform/message_target.h);
 * it may be null when nobody listens (a command-line driver).
 *
 * The library keeps one "current frame": the first picture of the last probed
 * file, or the last picture the preview decoded. X_Get_Frame hands it out.
 */
#ifndef VANTOREL_ENGINES_CONVERTER_CORVANE_H
#define VANTOREL_ENGINES_CONVERTER_CORVANE_H

#include <stdint.h>

#include "platform/message_target.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(CORVANE_BUILDING_LIBRARY)
#define CORVANE_API __attribute__((visibility("default")))
#else
#define CORVANE_API
#endif

/* The fixed last argument of X_MpegEnc. A caller built against another
 * version of this header is refused (X_MpegEnc returns -1). */
#define CORVANE_ABI_VERSION 20261209

/* Messages posted to the preview's target (and, without meaning, to the
 * target of X_MpegEnc when it starts and ends). */
#define CORVANE_MSG_READY 2312   /* preview ready (also when opening failed) */
#define CORVANE_MSG_FRAME 2412   /* answer to a request: wparam 1 with a frame, 0 without; lparam the second asked for */
#define CORVANE_MSG_STOPPED 2512 /* preview ended; nothing of the library runs any more */

/* Number of values X_GetFileinfo_GetPic fills, in this order: */
#define CORVANE_INFO_VALUES 10
enum CorvaneInfoValue {
    CORVANE_INFO_DURATION = 0,       /* int32, whole seconds (at least 1) */
    CORVANE_INFO_FRAME_RATE = 1,     /* float32 bit pattern, average frames per second */
    CORVANE_INFO_VIDEO_BITRATE = 2,  /* float32 bit pattern, kbit/s */
    CORVANE_INFO_WIDTH = 3,          /* int32, width as shown (coded size turned by the display rotation) */
    CORVANE_INFO_HEIGHT = 4,         /* int32, height as shown */
    CORVANE_INFO_ASPECT_CODE = 5,    /* int32, display aspect: 1 1:1, 2 4:3, 3 16:9, 4 2.21:1, 0 other */
    CORVANE_INFO_SAMPLE_RATE = 6,    /* int32, Hz, 0 without sound */
    CORVANE_INFO_CHANNELS = 7,       /* int32, audio channel count, 0 without sound */
    CORVANE_INFO_AUDIO_BITRATE = 8,  /* float32 bit pattern, kbit/s, 0 without sound */
    CORVANE_INFO_PROGRESSIVE = 9     /* int32, 0 interlaced, 1 progressive */
};

/* Probes path and keeps its first picture, turned upright, as the current
 * frame. count is the number of values the caller's array holds (10); at
 * most that many are filled. Returns 0, or -1 for an unreadable file, a file without a video
 * stream, or one shorter than a second. path is only read. */
CORVANE_API int X_GetFileinfo_GetPic(char *path, int count, int32_t *values);

/* One sound track of a probed file. */
typedef struct CorvaneSoundTrack {
    int32_t stream_index; /* the stream's index in the file, as X_MpegEnc's audio_stream takes it */
    int32_t sample_rate;  /* Hz */
    int32_t channels;
    float kbps;           /* 0 when the file does not say */
    int32_t used;         /* 1 for the track converted when audio_stream is "-1" */
    char language[4];     /* ISO 639-2 code from the file, "" when none */
} CorvaneSoundTrack;

/* The sound tracks of the file X_GetFileinfo_GetPic probed last, in file
 * order. Fills at most count entries and returns the number of tracks the
 * file has (0 without sound); -1 when no file was probed. The track used is
 * the first one marked as the default, else the first one. */
CORVANE_API int X_Get_SoundTracks(CorvaneSoundTrack *tracks, int count);

/* The current frame scaled to width x height: 3 bytes per pixel in blue,
 * green, red order, top row first, rows without gaps, in a buffer the library
 * owns until the next call. *second receives the frame's time in whole
 * seconds. When bmp_path is not null the picture is also written there as a
 * 24-bit Windows bitmap. Returns 0; without a current frame (or for a size
 * outside 1..4096) returns -1 and sets *pixels to null. */
CORVANE_API int X_Get_Frame(int width, int height, const char *bmp_path, uint8_t **pixels, int32_t *second);

/* Starts the preview of path on a worker thread. mode is 2 (frames on
 * request); reserved is "". start_second (decimal text) is the first frame the
 * worker decodes before it posts CORVANE_MSG_READY. Returns 0 when the worker
 * started (its opening may still fail: READY is posted anyway and every
 * request is answered without a frame), -1 when a preview is already running
 * or an argument is wrong. */
CORVANE_API int X_GetFrame_Init(VtMessageTarget *target, int mode, const char *path, const char *reserved,
                                const char *start_second);
/* Asks the preview for the frame at second; answered by one CORVANE_MSG_FRAME.
 * Requests that queue up while the worker is busy are all answered, with the
 * latest one's frame. Returns 0, or -1 without a running preview. */
CORVANE_API int X_Set_NextFrame_Time(int second);
/* Ends the preview: the worker is joined, then CORVANE_MSG_STOPPED is posted
 * from the calling thread. Returns 0, or -1 without a running preview. */
CORVANE_API int X_GetFrame_UnInit(void);

/* Converts one clip to a DVD MPEG-2 program stream (MPEG-2 MP@ML video,
 * AC-3 48 kHz stereo sound, "dvd" packs with navigation packets). Works on
 * an internal thread; the calling thread pumps the target meanwhile. Returns
 * 0 when done or stopped (a stopped run leaves a valid, shorter file) and -1
 * on failure (the reason is written to stderr). Arguments:
 *   target        messages are pumped (and READY/STOPPED posted) here
 *   source        input file
 *   start         first second to convert ("0")
 *   sample_rate   "48000" (the only DVD rate)
 *   aspect        display aspect of the output, "4:3" or "16:9"
 *   video_codec   "mpeg2"
 *   format        "dvd"
 *   video_kbps    average video bitrate in kbit/s, 500..9000 ("5000"); the
 *                 peak rate is always 9000
 *   audio_kbps    AC-3 bitrate in kbit/s ("192"), an AC-3 rate from 64 to 448
 *   picture_size  "W:H" the source is scaled to ("720:432" letterboxed)
 *   frame_size    "720:576" (PAL) or "720:480" (NTSC); the picture is padded
 *                 centred with black to this size
 *   title, author, comment   free labels ("MyVideo"); a DVD program stream has
 *                 no place for them and they are not stored
 *   frame_rate    "25" or "30000/1001", matching the standard
 *   video_stream  index of the source stream to use for pictures, "-1" the best one
 *   audio_stream  index of the source stream to use for sound, "-1" the best one
 *   output        the VOB file written (replaced)
 *   audio_delay_ms  milliseconds of silence put before the sound, 0..60000 ("0")
 *   duration      seconds to convert, "0" for up to the end of the source
 *   flags         0 (no flags are defined; other values are refused)
 *   standard      1 NTSC, 2 PAL
 *   audio_codec   "ac3"
 *   quality       0 best pictures (slowest), 1 balanced, 2 fastest
 *   deinterlace   1 deinterlaces the source; an interlaced source that is
 *                 scaled vertically is deinterlaced anyway
 *   abi_version   CORVANE_ABI_VERSION
 * Only one conversion runs at a time; a second call meanwhile returns -1. */
CORVANE_API int X_MpegEnc(VtMessageTarget *target, const char *source, const char *start, const char *sample_rate,
                          const char *aspect, const char *video_codec, const char *format, const char *video_kbps,
                          const char *audio_kbps, const char *picture_size, const char *frame_size,
                          const char *title, const char *author, const char *comment, const char *frame_rate,
                          const char *video_stream, const char *audio_stream, const char *output,
                          const char *audio_delay_ms, const char *duration, int flags, int standard,
                          const char *audio_codec, int quality, int deinterlace, int abi_version);

/* Progress of the running (or last) conversion: values[0] seconds converted,
 * values[1] frames per second of the conversion, values[2] the current frame
 * number, values[3] per cent done (0..100). Returns 0. */
CORVANE_API int X_Get_Info(int32_t *values);

/* Makes a running X_MpegEnc or X_SetPar_BMP2VOB finish its file and return
 * soon. Returns 0. */
CORVANE_API int X_StopConvert(void);

/* Encodes a still picture with optional music into a menu VOB:
 *   target        messages are pumped here while the work runs
 *   standard      1 NTSC, 2 PAL
 *   bitmap        the picture (Windows bitmap, or any picture FFmpeg reads)
 *   duration      length in whole seconds (decimal text, at least 1)
 *   picture_size  "W:H" the bitmap is scaled to
 *   frame_size    "720:576" or "720:480"; the picture is padded centred to it
 *   aspect        "4/3" or "16/9" (also "4:3", "16:9")
 *   output        the VOB file written (replaced)
 *   with_music    1: music holds a sound file, decoded and cut to the
 *                 duration, or looped when shorter; 0: silent AC-3 ("NoFile")
 *   music         the sound file or "NoFile"
 * Returns 0 on success, -1 on failure. */
CORVANE_API int X_SetPar_BMP2VOB(VtMessageTarget *target, int standard, const char *bitmap, const char *duration,
                                 const char *picture_size, const char *frame_size, const char *aspect,
                                 const char *output, int with_music, const char *music);

#ifdef __cplusplus
}
#endif

#endif
