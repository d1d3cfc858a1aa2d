// VOB files to a DVD folder for the compiler: the designed menus (or none)
// and authoring (CompileChain), the run left open for the burn step.
#pragma once

#include "app/burn/dvd_folder_chain.h"
#include "app/production/compile_chain.h"

namespace vt::burn {

class VobCompileChain : public DvdFolderChain {
public:
    VobCompileChain(production::ProductionRun &run, project::ClipRecordList &clips, const common::RegionList &regions,
                    int menuLanguageIndex, const production::DiscMenus *menus = nullptr, int menuDuration = 5);

    int makeDvdFolder(const production::RunChoices &choices) override;
    std::string videoTsFolder() const override;
    void stop() override { chain_.stop(); }

private:
    production::CompileChain chain_;
};

} // namespace vt::burn
