// VOB files to a DVD folder for the compiler: the clips already are DVD
// program streams, so the run is the authoring step alone, in the TV
// system of the first clip. The menus of the compile chain are not part of
// it: its titles play one after another.
#pragma once

#include "app/burn/dvd_folder_chain.h"
#include "app/production/authoring_step.h"

namespace vt::burn {

class VobCompileChain : public DvdFolderChain {
public:
    VobCompileChain(production::ProductionRun &run, project::ClipInfo &clips, const shell::RegionList &regions,
                    int menuLanguageIndex);

    int makeDvdFolder(const production::RunChoices &choices) override;
    std::string videoTsFolder() const override { return authoring_.videoTsPath(); }

private:
    production::ProductionRun &run_;
    project::ClipInfo &clips_;
    production::AuthoringStep authoring_;
};

} // namespace vt::burn
