/* The authoring library: muxes subpictures into VOB files and authors DVD
 * folders by running the dvdauthor and spumux programs.
 *
 * Texts are zero-terminated UTF-8 paths. The runs block; the progress
 * counters may be polled from another thread meanwhile. Messages of the
 * programs that report errors or warnings are copied to stderr.
 */
#ifndef VANTOREL_ENGINES_AUTHORING_DVDAUTHOR_LIBRARY_H
#define VANTOREL_ENGINES_AUTHORING_DVDAUTHOR_LIBRARY_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(DVDAUTHOR_BUILDING_LIBRARY)
#define DVDAUTHOR_API __attribute__((visibility("default")))
#else
#define DVDAUTHOR_API
#endif

/* The value to hand to setreg before each run. A run after setreg with any
 * other value (or without setreg) is refused. */
#define DVDAUTHOR_LIBRARY_INIT 0x56544442

/* The programs run. */
#define DVDAUTHOR_SPUMUX_PROGRAM "/usr/bin/spumux"
#define DVDAUTHOR_DVDAUTHOR_PROGRAM "/usr/bin/dvdauthor"

/* Prepares the next run: records the initialisation value and resets both
 * progress counters to 0. */
DVDAUTHOR_API void setreg(int init_value);

/* Muxes the subpictures described by the spumux control file into input_vob,
 * writing output_vob ("spumux -m dvd -s 0 CONTROL < input > output").
 * Returns 0 on success. On failure (spumux exits non-zero or reports an
 * ERR: line, a file cannot be read or written) returns non-zero and leaves
 * no output file. */
DVDAUTHOR_API int spumux_main(const char *control_file, const char *input_vob, const char *output_vob);

/* Per cent (0..100) of the input fed to the running spumux_main. */
DVDAUTHOR_API int *getSubtitleMuxPercent(void);

/* Authors the DVD folder described by author_xml ("dvdauthor -x FILE").
 * Returns 0 when dvdauthor succeeded, else its non-zero exit status (1 when
 * it exited with 0 but reported an ERR: line, -1 when it could not be run).
 * Success also shows as VIDEO_TS/VIDEO_TS.IFO in the folder named there. */
DVDAUTHOR_API int author_main(const char *author_xml);

/* Megabytes of VOB data the running author_main has written so far. */
DVDAUTHOR_API int *getVOBsMB(void);

#ifdef __cplusplus
}
#endif

#endif
