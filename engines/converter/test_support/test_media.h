// Shared helpers of the converter tests: fixture clips made with the ffmpeg
// command, ffprobe queries, a dvdauthor check, and the library's entry
// points loaded by path as the program loads them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engines/converter/corvane.h"
#include "platform/module_loader.h"

namespace corvane_test {

struct CommandResult {
    int status = -1;
    std::string output; // stdout and stderr together
};

// Runs argv (no shell) and collects its output.
CommandResult run_command(const std::vector<std::string> &argv);

// A folder that lives as long as the test program, for its outputs.
const std::string &scratch_dir();

// The folder of the generated fixture clips, shared by every test program
// of the build (tests/fixtures/converter beside the test programs, or
// $VANTOREL_FIXTURE_DIR).
const std::string &fixture_dir();

// The fixture file name in fixture_dir(), made once with
// "ffmpeg -y -v error ARGS... PATH" when it does not exist yet.
std::string fixture(const std::string &name, const std::vector<std::string> &ffmpeg_args);

// ffprobe "key=value" entries of one stream ("v:0", "a:0") or, for an empty
// selector, of the format section.
std::map<std::string, std::string> probe_entries(const std::string &file, const std::string &stream,
                                                 const std::string &entries);

// Authors vob as the one title of a throw-away DVD folder with the real
// dvdauthor; returns its output when it failed (non-zero exit or an ERR:
// line) or found the sound discontinuous, "" when fine.
std::string dvdauthor_problems(const std::string &vob, bool ntsc);

std::string bin_dir();
std::string test_lib_dir();

// Every entry point of the converter library, bound by name.
struct CorvaneLibrary {
    vt::Module module;
    decltype(&X_GetFileinfo_GetPic) get_file_info = nullptr;
    decltype(&X_Get_Frame) get_frame = nullptr;
    decltype(&X_GetFrame_Init) frame_init = nullptr;
    decltype(&X_Set_NextFrame_Time) next_frame_time = nullptr;
    decltype(&X_GetFrame_UnInit) frame_uninit = nullptr;
    decltype(&X_MpegEnc) mpeg_enc = nullptr;
    decltype(&X_Get_Info) get_info = nullptr;
    decltype(&X_StopConvert) stop_convert = nullptr;
    decltype(&X_SetPar_BMP2VOB) bmp2vob = nullptr;

    // Loads path and binds everything; false (error in module.error()) when
    // anything is missing.
    bool load(const std::string &path);
};

// The 26 arguments of X_MpegEnc with the program's usual values.
struct MpegEncCall {
    std::string source, start = "0", aspect = "4:3", video_kbps = "3000", audio_kbps = "192";
    std::string picture_size = "720:576", frame_size = "720:576", frame_rate = "25", output, duration = "0";
    std::string audio_delay_ms = "0", video_stream = "-1", audio_stream = "-1";
    int standard = 2, quality = 1, deinterlace = 0, abi = CORVANE_ABI_VERSION;

    void ntsc();
    int run(CorvaneLibrary &lib, VtMessageTarget *target) const;
};

float float_value(int32_t bits);

// Positions (in decoding order) of the key-frame packets of the first video
// stream.
std::vector<int> key_packet_positions(const std::string &file);

// The DVD video buffer model run over the video packets of a program
// stream: the buffer (1835008 bits) fills at the peak rate of 9 Mbit/s, up to
// full, and every picture is taken out whole at its decoding time.
struct VideoBufferCheck {
    int pictures = 0;
    int underflows = 0;        // pictures not wholly in the buffer when due
    double average_kbps = 0;   // the video's average rate over the stream
};
VideoBufferCheck check_video_buffer(const std::string &file);

// Peak and RMS level in dBFS of the first sound stream, over all channels.
struct SoundLevels {
    double peak_db = 0;
    double rms_db = 0;
};
SoundLevels sound_levels(const std::string &file);

// Seconds from the first picture to the brightest one (a flash clip), and
// from the first sound sample to the first loud one (a beep).
double flash_seconds(const std::string &file);
double beep_seconds(const std::string &file);

} // namespace corvane_test
