// Clips to a DVD folder: conversion, subtitles, title and chapter menus,
// authoring — the one-step chain without burning. The windows add their
// steps around the same objects; vantorel-cli runs it as it stands.
#pragma once

#include "app/production/authoring_step.h"
#include "app/production/clip_conversion.h"
#include "app/production/menu_steps.h"
#include "app/production/subtitle_step.h"

namespace vt::production {

class DvdBuildChain {
public:
    // menus: the designed menus (nullptr: a disc without menus), read while
    // the run lasts; menuDuration: seconds of a menu with music.
    DvdBuildChain(ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions,
                  int menuLanguageIndex, const DiscMenus *menus = nullptr, int menuDuration = 5);

    // PrepareRun, the checks that need no work (subtitle files, chapter
    // counts, sources), then the steps; the run's outcome (1 when the DVD
    // folder was made). An empty clip list shows "No file to convert." and
    // does not start (outcome −1). A run that is stopped or fails leaves
    // nothing of its own in the output folder: no VOBs, no half-made DVD
    // folder. With fit to disc, a project that overfills the disc even at
    // the lowest bitrate is refused before anything is converted (outcome 2).
    int run(const RunChoices &choices);

    // After a good DVD, delete the converted VOB files (the "delete
    // temporary files" setting). Off unless set.
    void setDeleteConvertedVobs(bool remove) { deleteConvertedVobs_ = remove; }

    // Leaves the run busy after a good DVD folder (run() then gives 1
    // without ending it): the window that burns next ends it.
    void setLeaveRunOpen(bool open) { leaveRunOpen_ = open; }

    // Stop pressed (see ClipConversion::Stop, MenuSteps::Stop).
    void stop();

    const std::string &dvdFolder() const { return authoring_.dvdFolder(); }
    // Whether the clip's title got subtitles in the last run.
    bool subtitlesMuxed(int clipIndex) const { return subtitles_.muxed(clipIndex); }
    // What the last run decided and made about menus.
    const MenuPlan &menuPlan() const { return menus_.plan(); }

private:
    void deleteConvertedVobs();

    ProductionRun &run_;
    project::ClipRecordList &clips_;
    ClipConversion conversion_;
    SubtitleStep subtitles_;
    const DiscMenus *designedMenus_;
    MenuSteps menus_;
    AuthoringStep authoring_;
    bool deleteConvertedVobs_ = false;
    bool leaveRunOpen_ = false;
};

} // namespace vt::production
