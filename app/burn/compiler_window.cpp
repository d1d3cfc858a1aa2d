#include "app/burn/compiler_window.h"

#include "app/burn/vob_compile_chain.h"
#include "app/common/settings.h"

TCompilerWindow::TCompilerWindow(vt::burn::DiscWindowServices services, QWidget *parent)
    : TDiscWindow("CompilerWindow", "Compiler", OutputGroup, std::move(services), parent)
    , aspect_(services_.settings.shape4x3 ? vt::production::kAspect4x3 : vt::production::kAspect16x9)
{
    factory_ = [this](vt::production::ProductionRun &run, vt::project::ClipRecordList &clips,
                      const vt::production::DiscMenus *menus) {
        return std::make_unique<vt::burn::VobCompileChain>(
            run, clips, services_.regions, services_.settings.menuLanguageIndex, menus,
            services_.settings.menuDuration);
    };
}

TCompilerWindow::~TCompilerWindow() = default;

void TCompilerWindow::start()
{
    std::unique_ptr<vt::burn::DvdFolderChain> chain = factory_(run_, services_.clips, menus_);
    chain_ = chain.get();
    runDiscChain(*chain, choicesFromControls(aspect_));
    chain_ = nullptr;
}

void TCompilerWindow::stop()
{
    if (chain_)
        chain_->stop();
}
