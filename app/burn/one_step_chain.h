// Clips to a DVD folder for the one-step builder: conversion, subtitles and
// authoring (DvdBuildChain), the converted VOB files deleted afterwards
// when the settings say so.
#pragma once

#include "app/burn/dvd_folder_chain.h"
#include "app/production/dvd_build_chain.h"

namespace vt::burn {

class OneStepChain : public DvdFolderChain {
public:
    OneStepChain(production::ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions,
                 int menuLanguageIndex, const production::DiscMenus *menus = nullptr, int menuDuration = 5);

    void setDeleteConvertedVobs(bool remove) { chain_.setDeleteConvertedVobs(remove); }

    int makeDvdFolder(const production::RunChoices &choices) override;
    std::string videoTsFolder() const override;
    void stop() override { chain_.stop(); }

private:
    production::DvdBuildChain chain_;
};

} // namespace vt::burn
