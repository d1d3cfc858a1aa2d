// The clips the converter tests share, each made once per test program.
#pragma once

#include <string>

namespace corvane_test {

std::string clip_pal_4_3();          // 320x240 25 fps, 3 s, stereo sound (MPEG-4 Part 2 + MP3 in AVI)
std::string clip_h264_16_9();        // 640x360 H.264 25 fps, 2 s, AAC stereo (MP4)
std::string clip_ntsc_interlaced();  // 720x480 MPEG-2, DAR 4:3, interlaced top field first, 2 s, MP2 (VOB)
std::string clip_anamorphic_16_9();  // 720x576 with sample aspect 64:45 (DAR 16:9), 2 s, no sound
std::string clip_silent();           // 320x240, 2 s, no sound stream
std::string clip_surround();         // 320x240, 2 s, 5.1 sound
std::string clip_red();              // a plain red 64x48 picture, 2 s
std::string clip_long();             // 320x240 25 fps, 20 s, for stopping
std::string clip_two_sound_tracks(); // 320x240, 2 s; both marked default; track 1 a 440 Hz mono tone, track 2 silent 5.1 at a higher rate
// 320x180 H.264 (MP4) with a white left half and a black right half, stored
// with a display rotation of degrees (0, 90, 180, 270).
std::string clip_rotated(int degrees);
// Sync clips, 320x240 at 25 fps: one white picture and a 1 kHz beep at the
// same moment, in a black and silent clip.
// Matroska whose pictures start 0.6 s after the sound; flash and beep at 1.6 s
// of the file (1.0 s after the first picture).
std::string clip_late_video();
// MPEG transport stream of 8 s, H.264 with a key picture every 2 s, flash and
// beep at 3.5 s.
std::string clip_transport_stream();
// Flash and beep at 2.5 s; three sound frames on the way are stamped a
// frame late (as program streams' packets often stamp them).
std::string clip_sound_stamps_slip();
// Flash and beep at 2 s; 0.3 s of sound is missing at 0.64 s.
std::string clip_sound_gap();
std::string clip_short();            // 0.5 s
std::string sound_only();            // 2 s of sound, no pictures
std::string sound_with_cover();      // 2 s of MP3 sound with cover art

} // namespace corvane_test
