#include "app/burn/compiler_window.h"

#include "app/burn/vob_compile_chain.h"
#include "app/shell/settings.h"

TCompilerWindow::TCompilerWindow(vt::burn::DiscWindowServices services, QWidget *parent)
    : TDiscWindow("CompilerWindow", "Compiler", OutputGroup, std::move(services), parent)
    , aspect_(services_.settings.b_4_3 ? vt::production::kAspect4x3 : vt::production::kAspect16x9)
{
    factory_ = [this](vt::production::ProductionRun &run, vt::project::ClipInfo &clips,
                      const vt::production::DiscMenus *menus) {
        return std::make_unique<vt::burn::VobCompileChain>(
            run, clips, services_.regions, services_.settings.i_MenuLanguageCodeIndex, menus,
            services_.settings.i_MenuDuration);
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
