// The authoring step: "author.xml" from the project, then dvdauthor (through
// the authoring library, libdvdauthor.so) into the DVD folder named after the
// volume label. The folder only counts as made when dvdauthor succeeded and
// VIDEO_TS/VIDEO_TS.IFO exists.
#pragma once

#include "app/production/author_script.h"
#include "app/production/menu_flags.h"
#include "app/production/production_run.h"

#include <cstdint>
#include <string>

namespace vt::project {
class ClipRecordList;
}
namespace vt::common {
class RegionList;
}

namespace vt::production {

class AuthoringStep {
public:
    AuthoringStep(ProductionRun &run, const project::ClipRecordList &clips, const common::RegionList &regions,
                  int menuLanguageIndex, MenuFlags flags = {});

    // Before any work: every title has at most 99 chapters. False, with the
    // clip and its chapter count logged, when the run was ended (outcome 9).
    bool checkChapters();

    // The whole step; false when the run was ended (outcome 12, 13 or 14),
    // which removes the DVD folder this run began.
    bool run();

    // Writes "author.xml" into the work folder and sets the DVD folder, the
    // VIDEO_TS path and the total VOB size. False when it cannot be written.
    bool WriteAuthorScript();
    // On the worker: 2 when the library or an entry point is missing, 1 when
    // the DVD folder was made, 0 when dvdauthor failed.
    int RunAuthor();

    AuthorScriptInput scriptInput() const;

    const std::string &dvdFolder() const { return dvdFolder_; }
    const std::string &videoTsPath() const { return videoTsPath_; }
    const std::string &authorXmlPath() const { return authorXml_; }
    int64_t totalVobMB() const { return totalVobMB_; }

private:
    void authorTick();

    ProductionRun &run_;
    const project::ClipRecordList &clips_;
    const common::RegionList &regions_;
    int menuLanguageIndex_;
    MenuFlags flags_;
    std::string dvdFolder_, videoTsPath_, authorXml_;
    int64_t totalVobMB_ = 0;
    std::atomic<int *> vobsMB_{nullptr};
};

// Per cent of the VOB data written; a total of 0 or less counts as 1 MB.
int AuthoringPercent(int writtenMB, int64_t totalMB);

// True when folder holds an authored DVD: VIDEO_TS/VIDEO_TS.IFO.
bool IsDvdFolder(const std::string &folder);

} // namespace vt::production
