// What the burner mode burns: an authored DVD folder, or loose VOB files
// that the compiler authors first. The plain logic of the burn-source
// window: checking a chosen folder, adding VOB files, the rows of the
// grid, the TV-system check and the disc-size bar.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vt::project {
class ClipRecordList;
struct ClipRecord;
} // namespace vt::project

namespace vt::burn {

enum class BurnSourceMode { Vob, Folder };

// One grid row below the header.
struct BurnSourceRow {
    std::string path, format, sizeMB, duration;
};

// Probes a VOB file; null when the converter library cannot read it.
using VobProbe = std::function<std::unique_ptr<project::ClipRecord>(const std::string &path)>;

class BurnSourceList {
public:
    // clips: the project (the VOB files of VOB mode live there). Files
    // inside workFolder are refused: every run empties it.
    BurnSourceList(project::ClipRecordList &clips, VobProbe probe, std::string workFolder);

    // Empty, VOB mode, no folder (every show of the window).
    void reset();

    // The folder the user chose: the VIDEO_TS folder itself or its parent
    // with a valid VIDEO_TS gives folder mode; otherwise the loose VOB
    // files (of an invalid VIDEO_TS, or of the folder) are added. True in
    // folder mode.
    bool chooseFolder(const std::string &folder);

    // A VIDEO_TS folder counts as authored when it holds VIDEO_TS.IFO and
    // VIDEO_TS.BUP and every IFO has its BUP. A valid one replaces any VOB
    // list (the project is cleared) and gives folder mode.
    bool useDvdFolder(const std::string &videoTs);
    static bool IsAuthoredVideoTs(const std::string &videoTs);

    // Adds VOB files in the order given; progress(i) before file i. The
    // paths that were refused (not ".vob", unreadable, a picture size a DVD
    // does not hold, inside the work folder).
    std::vector<std::string> addVobFiles(const std::vector<std::string> &files,
                                         const std::function<void(int)> &progress = {});
    bool addVobFile(const std::string &path);

    // Removes clip index (VOB mode), or every clip; both leave VOB mode.
    void remove(int clipIndex);
    void clear();

    BurnSourceMode mode() const { return mode_; }
    const std::string &folder() const { return folder_; }
    int64_t totalKB() const { return totalKB_; }
    const std::vector<BurnSourceRow> &rows() const { return rows_; }
    int clipCount() const;
    project::ClipRecordList &clips() { return clips_; }

private:
    void rebuildFromClips();

    project::ClipRecordList &clips_;
    VobProbe probe_;
    std::string workFolder_;
    BurnSourceMode mode_ = BurnSourceMode::Vob;
    std::string folder_;
    int64_t totalKB_ = 0;
    std::vector<BurnSourceRow> rows_;
};

// The files of folder whose extension is extension (".vob"), any letter
// case, ordered by name without regard to case.
std::vector<std::string> FilesWithExtension(const std::string &folder, const std::string &extension);

// The width of the size bar: the total held to 0..limit, as a share of
// fullWidth; 0 when the limit is 0 or less.
int DiscBarWidth(int64_t totalKB, int64_t limitKB, int fullWidth);

// The compiler's picture shape for the first clip's aspect code: 16:9 for
// 3 (16:9) and 4 (2.21:1), 4:3 for every other code.
int CompilerAspect(int32_t aspectCode);

} // namespace vt::burn
