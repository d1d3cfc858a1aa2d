#include "app/project/clip_probe.h"

#include "app/project/frame_preview.h"
#include "app/common/file_name.h"
#include "app/common/program_files.h"
#include "engines/converter/corvane.h"
#include "platform/module_loader.h"
#include "platform/paths.h"

#include <algorithm>
#include <bit>
#include <filesystem>
#include <cstring>
#include <vector>

namespace vt::project {

namespace {

float floatValue(int32_t bits)
{
    return std::bit_cast<float>(bits);
}

StreamFacts factsOf(const int32_t *values)
{
    StreamFacts facts;
    facts.duration = values[CORVANE_INFO_DURATION];
    facts.frameRate = floatValue(values[CORVANE_INFO_FRAME_RATE]);
    facts.videoBitrate = floatValue(values[CORVANE_INFO_VIDEO_BITRATE]);
    facts.width = values[CORVANE_INFO_WIDTH];
    facts.height = values[CORVANE_INFO_HEIGHT];
    facts.aspectCode = values[CORVANE_INFO_ASPECT_CODE];
    facts.sampleRate = values[CORVANE_INFO_SAMPLE_RATE];
    facts.audioValue = values[CORVANE_INFO_CHANNELS];
    facts.audioBitrate = floatValue(values[CORVANE_INFO_AUDIO_BITRATE]);
    facts.progressive = values[CORVANE_INFO_PROGRESSIVE];
    return facts;
}

std::vector<SoundTrack> soundTracksOf(decltype(&X_Get_SoundTracks) getSoundTracks)
{
    const int count = getSoundTracks(nullptr, 0);
    if (count <= 0)
        return {};
    std::vector<CorvaneSoundTrack> raw(static_cast<size_t>(count));
    std::vector<SoundTrack> tracks;
    const int filled = std::min(count, getSoundTracks(raw.data(), count));
    for (int i = 0; i < filled; ++i) {
        SoundTrack track;
        track.streamIndex = raw[i].stream_index;
        track.sampleRate = raw[i].sample_rate;
        track.channels = raw[i].channels;
        track.kbps = raw[i].kbps;
        track.used = raw[i].used != 0;
        track.language.assign(raw[i].language, strnlen(raw[i].language, sizeof raw[i].language));
        tracks.push_back(track);
    }
    return tracks;
}

} // namespace

ProbeResult ProbeClip(const std::string &path, bool letterbox, const std::string &libraryFolder)
{
    ProbeResult result;
    std::error_code missing;
    if (!std::filesystem::exists(path, missing)) {
        result.error = "no such file";
        return result;
    }
    Module library;
    const std::string folder = libraryFolder.empty() ? ExePath() : withTrailingSlash(libraryFolder);
    decltype(&X_GetFileinfo_GetPic) getFileInfo = nullptr;
    decltype(&X_Get_Frame) getFrame = nullptr;
    if (!library.open(folder + common::kConverterLibrary) || !library.bind("X_GetFileinfo_GetPic", getFileInfo) ||
        !library.bind("X_Get_Frame", getFrame)) {
        result.error = "converter library unusable: " + library.error();
        return result;
    }

    // The library takes a writable copy of the path with 10 spare bytes.
    std::vector<char> buffer(path.begin(), path.end());
    buffer.resize(path.size() + 10, '\0');
    int32_t values[CORVANE_INFO_VALUES] = {};
    if (getFileInfo(buffer.data(), CORVANE_INFO_VALUES, values) == -1) {
        result.error = "unsupported or unreadable file";
        return result;
    }

    decltype(&X_Get_SoundTracks) getSoundTracks = nullptr;
    if (library.bind("X_Get_SoundTracks", getSoundTracks))
        result.soundTracks = soundTracksOf(getSoundTracks);

    auto clip = std::make_unique<ClipRecord>();
    clip->fileName = path;
    clip->setStreamFacts(factsOf(values));
    clip->setSubtitleFile("");

    uint8_t *pixels = nullptr;
    int32_t second = 0;
    if (getFrame(clip->width, clip->height, nullptr, &pixels, &second) == 0 && pixels)
        clip->setSnapshot(PictureFromBgr(pixels, clip->width, clip->height));
    clip->letterbox = letterbox;
    result.clip = std::move(clip);
    return result;
}

std::string SameNamedSubtitle(const std::string &clipPath)
{
    // Exact name first, then any letter case of the extension.
    return resolveCaseInsensitive(common::FileNameWithoutExtension(clipPath) + ".srt");
}

} // namespace vt::project
