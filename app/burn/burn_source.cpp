#include "app/burn/burn_source.h"

#include "app/production/production_params.h"
#include "app/project/clip_adding.h"
#include "app/project/clip_record.h"
#include "platform/paths.h"
#include "platform/text_case.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace vt::burn {

namespace {

constexpr const char *kVideoTs = "VIDEO_TS";

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

int64_t fileKB(const std::string &path)
{
    std::error_code error;
    const uintmax_t bytes = fs::file_size(path, error);
    return error ? 0 : int64_t(bytes / 1024);
}

std::string megabytes(int64_t kb, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, double(kb) / 1024.0);
    return text;
}

// The entry of folder called name, any letter case; "" when none.
std::string entryNamed(const std::string &folder, const std::string &name)
{
    for (const DirectoryEntry &entry : listFolder(folder))
        if (equalsIgnoreCase(entry.name, name))
            return withSlash(folder) + entry.name;
    return "";
}

// The picture sizes a DVD-Video title set holds.
bool isDvdPictureSize(int32_t width, int32_t height)
{
    const bool fullHeight = height == 480 || height == 576;
    const bool halfHeight = height == 240 || height == 288;
    return (fullHeight && (width == 720 || width == 704 || width == 352)) || (halfHeight && width == 352);
}

bool hasExtension(const std::string &path, const std::string &extension)
{
    const std::string name = fs::path(path).filename().string();
    return name.size() > extension.size() &&
           equalsIgnoreCase(std::string_view(name).substr(name.size() - extension.size()), extension);
}

} // namespace

std::vector<std::string> FilesWithExtension(const std::string &folder, const std::string &extension)
{
    std::vector<std::string> files;
    for (const DirectoryEntry &entry : listFolder(folder))  // ordered by name, any case
        if (!entry.isDirectory && !entry.isSymlink && hasExtension(entry.name, extension))
            files.push_back(withSlash(folder) + entry.name);
    return files;
}

int DiscBarWidth(int64_t totalKB, int64_t limitKB, int fullWidth)
{
    if (limitKB <= 0)
        return 0;
    const int64_t value = std::clamp<int64_t>(totalKB, 0, limitKB);
    return int(value * fullWidth / limitKB);
}

int CompilerAspect(int32_t aspectCode)
{
    return aspectCode == 3 || aspectCode == 4 ? production::kAspect16x9 : production::kAspect4x3;
}

BurnSourceList::BurnSourceList(project::ClipRecordList &clips, VobProbe probe, std::string workFolder)
    : clips_(clips)
    , probe_(std::move(probe))
    , workFolder_(std::move(workFolder))
{
}

void BurnSourceList::reset()
{
    mode_ = BurnSourceMode::Vob;
    folder_.clear();
    totalKB_ = 0;
    rows_.clear();
}

int BurnSourceList::clipCount() const
{
    return clips_.count();
}

bool BurnSourceList::IsAuthoredVideoTs(const std::string &videoTs)
{
    if (entryNamed(videoTs, "VIDEO_TS.IFO").empty() || entryNamed(videoTs, "VIDEO_TS.BUP").empty())
        return false;
    for (const std::string &ifo : FilesWithExtension(videoTs, ".ifo")) {
        const std::string name = fs::path(ifo).stem().string();
        if (entryNamed(videoTs, name + ".bup").empty())
            return false;
    }
    return true;
}

bool BurnSourceList::useDvdFolder(const std::string &videoTs)
{
    if (!IsAuthoredVideoTs(videoTs))
        return false;
    clips_.clear();
    rows_.clear();
    totalKB_ = 0;
    const struct {
        const char *extension, *format;
        int decimals;
    } groups[] = {{".ifo", "IFO", 3}, {".bup", "BUP", 3}, {".vob", "VOB", 2}};
    for (const auto &group : groups) {
        for (const std::string &file : FilesWithExtension(videoTs, group.extension)) {
            const int64_t kb = fileKB(file);
            totalKB_ += kb;
            rows_.push_back({file, group.format, megabytes(kb, group.decimals), "-"});
        }
    }
    mode_ = BurnSourceMode::Folder;
    folder_ = withSlash(videoTs);
    return true;
}

bool BurnSourceList::chooseFolder(const std::string &chosen)
{
    const std::string folder = withSlash(chosen);
    const std::string name = fs::path(folder).parent_path().filename().string();
    if (equalsIgnoreCase(name, kVideoTs)) {
        if (useDvdFolder(folder))
            return true;
        addVobFiles(FilesWithExtension(folder, ".vob"));
        return false;
    }
    const std::string videoTs = entryNamed(folder, kVideoTs);
    if (!videoTs.empty() && fs::is_directory(videoTs)) {
        if (useDvdFolder(videoTs))
            return true;
        // Not authored: its VOB files are loose files.
        addVobFiles(FilesWithExtension(videoTs, ".vob"));
        return false;
    }
    addVobFiles(FilesWithExtension(folder, ".vob"));
    return false;
}

std::vector<std::string> BurnSourceList::addVobFiles(const std::vector<std::string> &files,
                                                     const std::function<void(int)> &progress)
{
    std::vector<std::string> refused;
    for (size_t i = 0; i < files.size(); ++i) {
        if (progress)
            progress(int(i));
        if (!addVobFile(files[i]))
            refused.push_back(files[i]);
    }
    if (mode_ == BurnSourceMode::Folder)
        rebuildFromClips();
    return refused;
}

bool BurnSourceList::addVobFile(const std::string &path)
{
    if (!hasExtension(path, ".vob") || (!workFolder_.empty() && isSameOrInside(path, workFolder_)))
        return false;
    std::unique_ptr<project::ClipRecord> clip = probe_ ? probe_(path) : nullptr;
    // Progressive pictures are as valid on a DVD as interlaced ones (the
    // converter writes them); what a DVD cannot hold is another size.
    if (!clip || !isDvdPictureSize(clip->width, clip->height))
        return false;
    clip->fileName = path;
    clip->vobFile = path;
    clip->fileSize = fileKB(path);
    clips_.append(std::move(clip));
    rebuildFromClips();
    return true;
}

void BurnSourceList::remove(int clipIndex)
{
    if (mode_ == BurnSourceMode::Vob && clipIndex >= 0 && clipIndex < clips_.count())
        clips_.removeAt(clipIndex);
    rebuildFromClips();
}

void BurnSourceList::clear()
{
    clips_.clear();
    rebuildFromClips();
}

void BurnSourceList::rebuildFromClips()
{
    mode_ = BurnSourceMode::Vob;
    folder_.clear();
    rows_.clear();
    totalKB_ = 0;
    for (int i = 0; i < clips_.count(); ++i) {
        const project::ClipRecord &clip = clips_[i];
        totalKB_ += clip.fileSize;
        rows_.push_back({clip.vobFile, std::string(project::IsNtscClip(clip) ? "NTSC " : "PAL ") + "VOB",
                         megabytes(clip.fileSize, 2), std::to_string(clip.duration)});
    }
}

} // namespace vt::burn
