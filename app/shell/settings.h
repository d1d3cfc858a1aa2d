// The program-wide settings, under the names the whole program uses for
// them. The settings window loads them from "Option.ini" and saves them
// (option_window_model.h); everyone else reads them.
#pragma once

#include <cstdint>
#include <string>

namespace vt::shell {

inline constexpr const char *kDefaultOpenVOBDialogFilter = "VOB File (*.vob,*.VOB)|*.vob";

struct Settings {
    // File dialog filters, "description|pattern;pattern|…" (only ever changed by hand).
    std::string OpenDialogFilter;
    std::string OpenDialogMusicFilter;
    std::string OpenVOBDialogFilter = kDefaultOpenVOBDialogFilter;

    // Size estimate per minute of video and usable disc sizes, in KB.
    int64_t i_DiscSizePerMin = 30720;
    int64_t i_DVD5Size = 4403200;
    int64_t i_DVD9Size = 8704000;

    int i_CreateMenuSafeDistance = 10;  // menu safe margin, preview pixels (0–50)
    int i_MenuDuration = 5;             // seconds of generated menu video (5–999)
    int i_FontSize = 20;                // default subtitle font size, points
    int g_i_OutputQuality = 1;          // 0 image quality, 1 speed, 2 max speed / min size
    int i_ParallelConversions = 0;      // clips converted at the same time; 0 chosen from cores and memory
    bool g_b_AddChapterMenu = false;

    bool b_UseNMSDVD = true;  // burning engine: true the first, false the second
    bool b_ModifyIFO = true;
    bool b_UseSTPI = false;   // device transport: true SPTI, false ASPI
    std::string g_s_OutputFolder = "nodef";
    bool b_DeleteTempFile = true;
    bool b_4_3 = true;          // picture shape: true 4:3, false 16:9
    bool b_VideoForamt = true;  // TV system: true NTSC, false PAL
    bool b_DVD5 = true;         // disc: true DVD-5, false DVD-9

    // Indices into the combined region list (region_list.h).
    int i_SubTitleLanguageCodeIndex = 0;
    int i_MenuLanguageCodeIndex = 0;
};

Settings &programSettings();

} // namespace vt::shell
