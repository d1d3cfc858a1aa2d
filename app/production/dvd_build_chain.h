// Clips to a DVD folder: conversion, subtitles, authoring — the one-step
// chain without menus and burning. The windows add their steps around the
// same objects; vantorel-cli runs it as it stands.
#pragma once

#include "app/production/authoring_step.h"
#include "app/production/clip_conversion.h"
#include "app/production/subtitle_step.h"

namespace vt::production {

class DvdBuildChain {
public:
    DvdBuildChain(ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions,
                  int menuLanguageIndex, MenuFlags flags = {});

    // PrepareRun, the checks that need no work (subtitle files, chapter
    // counts, sources), then the steps; the run's outcome (1 when the DVD
    // folder was made). An empty clip list shows "No file to convert." and
    // does not start (outcome −1). A run that is stopped or fails leaves
    // nothing of its own in the output folder: no VOBs, no half-made DVD
    // folder.
    int run(const RunChoices &choices);

    // After a good DVD, delete the converted VOB files (the "delete
    // temporary files" setting). Off unless set.
    void setDeleteConvertedVobs(bool remove) { deleteConvertedVobs_ = remove; }

    // Stop pressed (see ClipConversion::Stop).
    void stop() { conversion_.Stop(); }

    const std::string &dvdFolder() const { return authoring_.dvdFolder(); }
    // Whether the clip's title got subtitles in the last run.
    bool subtitlesMuxed(int clipIndex) const { return subtitles_.muxed(clipIndex); }

private:
    void deleteConvertedVobs();

    ProductionRun &run_;
    project::ClipRecordList &clips_;
    ClipConversion conversion_;
    SubtitleStep subtitles_;
    AuthoringStep authoring_;
    bool deleteConvertedVobs_ = false;
};

} // namespace vt::production
