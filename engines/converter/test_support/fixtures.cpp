#include "engines/converter/test_support/fixtures.h"

#include "engines/converter/test_support/test_media.h"

namespace corvane_test {

namespace {

std::vector<std::string> pictures(const std::string &size, const std::string &rate, const std::string &seconds)
{
    return {"-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=" + rate + ":duration=" + seconds};
}

std::vector<std::string> sound(const std::string &seconds, const std::string &layout = "stereo")
{
    return {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=" + seconds, "-af",
            "aformat=channel_layouts=" + layout};
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

std::string clip_pal_4_3()
{
    return fixture("pal43.avi", join(join(pictures("320x240", "25", "3"), sound("3")),
                                     {"-c:v", "mpeg4", "-q:v", "4", "-c:a", "libmp3lame", "-b:a", "128k"}));
}

std::string clip_h264_16_9()
{
    return fixture("h264_169.mp4", join(join(pictures("640x360", "25", "2"), sound("2")),
                                        {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a",
                                         "aac", "-b:a", "128k"}));
}

std::string clip_ntsc_interlaced()
{
    return fixture("ntsc_interlaced.vob",
                   join(join(pictures("720x480", "30000/1001", "2"), sound("2")),
                        {"-c:v", "mpeg2video", "-b:v", "4000k", "-flags", "+ilme+ildct", "-top", "1", "-aspect", "4:3",
                         "-c:a", "mp2", "-ar", "48000", "-f", "vob"}));
}

std::string clip_anamorphic_16_9()
{
    return fixture("anamorphic.mkv", join(pictures("720x576", "25", "2"),
                                          {"-vf", "setsar=64/45", "-c:v", "mpeg4", "-q:v", "6", "-an"}));
}

std::string clip_silent()
{
    return fixture("silent.avi", join(pictures("320x240", "25", "2"), {"-c:v", "mpeg4", "-an"}));
}

std::string clip_surround()
{
    return fixture("surround.mkv", join(join(pictures("320x240", "25", "2"), sound("2", "5.1")),
                                        {"-c:v", "mpeg4", "-c:a", "ac3", "-b:a", "384k"}));
}

std::string clip_red()
{
    return fixture("red.avi", {"-f", "lavfi", "-i", "color=c=red:size=64x48:rate=25:duration=2", "-c:v", "mpeg4",
                               "-q:v", "2", "-an"});
}

std::string clip_long()
{
    return fixture("long.avi", join(join(pictures("320x240", "25", "20"), sound("20")),
                                    {"-c:v", "mpeg4", "-c:a", "libmp3lame"}));
}

std::string clip_two_sound_tracks()
{
    return fixture("two_sound_tracks.mkv",
                   {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2", "-f", "lavfi", "-i",
                    "sine=frequency=440:sample_rate=48000:duration=2", "-f", "lavfi", "-i",
                    "anullsrc=channel_layout=5.1:sample_rate=48000:duration=2", "-map", "0:v", "-map", "1:a", "-map",
                    "2:a", "-c:v", "mpeg4", "-c:a:0", "ac3", "-b:a:0", "96k", "-c:a:1", "ac3", "-b:a:1", "448k",
                    "-metadata:s:a:0", "language=eng", "-metadata:s:a:1", "language=fra", "-disposition:a:0",
                    "default", "-disposition:a:1", "default", "-t", "2"});
}

std::string clip_rotated(int degrees)
{
    const std::string upright = fixture(
        "half_white.mp4", {"-f", "lavfi", "-i", "color=c=white:size=160x180:rate=25:duration=2,pad=320:180:0:0:black",
                           "-c:v", "libx264", "-pix_fmt", "yuv420p"});
    if (degrees == 0)
        return upright;
    // The display matrix is only stored when the stream is copied.
    return fixture("half_white_" + std::to_string(degrees) + ".mp4",
                   {"-i", upright, "-c", "copy", "-metadata:s:v:0", "rotate=" + std::to_string(degrees)});
}

namespace {

std::string flash_at(double seconds, double duration)
{
    return "color=c=black:size=320x240:rate=25:duration=" + std::to_string(duration) +
           ",drawbox=x=0:y=0:w=iw:h=ih:color=white:t=fill:enable='between(t," + std::to_string(seconds) + "," +
           std::to_string(seconds + 0.039) + ")'";
}

std::string beep_at(double seconds, double duration)
{
    return "aevalsrc=exprs='if(between(t," + std::to_string(seconds) + "," + std::to_string(seconds + 0.1) +
           "),0.5*sin(2*PI*1000*t),0)':sample_rate=48000:duration=" + std::to_string(duration);
}

} // namespace

std::string clip_late_video()
{
    return fixture("late_video.mkv", {"-f", "lavfi", "-i", flash_at(1.0, 3), "-f", "lavfi", "-i", beep_at(1.6, 3.6),
                                      "-filter_complex", "[0:v]setpts=PTS+0.6/TB[v]", "-map", "[v]", "-map", "1:a",
                                      "-c:v", "mpeg4", "-c:a", "flac"});
}

std::string clip_transport_stream()
{
    return fixture("sync.ts", {"-f", "lavfi", "-i", flash_at(3.5, 8), "-f", "lavfi", "-i", beep_at(3.5, 8), "-c:v",
                               "libx264", "-g", "50", "-pix_fmt", "yuv420p", "-c:a", "mp2"});
}

std::string clip_sound_stamps_slip()
{
    return fixture("sound_slips.mkv",
                   {"-f", "lavfi", "-i", flash_at(2.5, 3), "-f", "lavfi", "-i", beep_at(2.5, 3), "-af",
                    "asetnsamples=1536,asetpts='PTS+1536*(eq(N,30720)+eq(N,61440)+eq(N,92160))'", "-c:v", "mpeg4",
                    "-c:a", "ac3"});
}

std::string clip_sound_gap()
{
    return fixture("sound_gap.mkv", {"-f", "lavfi", "-i", flash_at(2.0, 3), "-f", "lavfi", "-i", beep_at(1.7, 2.7),
                                     "-af", "asetnsamples=1536,asetpts='PTS+14400*gte(N,30720)'", "-c:v", "mpeg4",
                                     "-c:a", "ac3"});
}

std::string clip_short()
{
    return fixture("short.avi", join(pictures("320x240", "25", "0.5"), {"-c:v", "mpeg4", "-an"}));
}

std::string sound_only()
{
    return fixture("sound.wav", sound("2"));
}

std::string sound_with_cover()
{
    return fixture("cover.mp3", {"-f", "lavfi", "-i", "sine=duration=2", "-f", "lavfi", "-i",
                                 "color=c=red:size=64x64:duration=0.04", "-map", "0:a", "-map", "1:v", "-c:a",
                                 "libmp3lame", "-c:v", "png", "-disposition:v", "attached_pic"});
}

} // namespace corvane_test
