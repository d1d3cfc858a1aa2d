#include "app/burn/builder_window.h"

#include "app/burn/one_step_chain.h"
#include "app/common/settings.h"
#include "app/project/clip_record.h"

TBuilderWindow::TBuilderWindow(vt::burn::DiscWindowServices services, QWidget *parent)
    : TDiscWindow("BuilderWindow", "One-Step Builder", OutputGroup | QualityRow | VideoGroup, std::move(services),
                  parent)
    , aspect_(services_.settings.shape4x3 ? vt::production::kAspect4x3 : vt::production::kAspect16x9)
{
}

TBuilderWindow::~TBuilderWindow() = default;

void TBuilderWindow::start()
{
    vt::burn::OneStepChain chain(run_, services_.clips, services_.regions,
                                 services_.settings.menuLanguageIndex, menus_, services_.settings.menuDuration);
    chain.setDeleteConvertedVobs(services_.settings.deleteTempFiles);
    const vt::production::RunChoices choices = choicesFromControls(aspect_);
    if (!services_.clips.empty())
        services_.settings.outputQuality = choices.qualityIndex;
    chain_ = &chain;
    runDiscChain(chain, choices);
    chain_ = nullptr;
}

void TBuilderWindow::stop()
{
    if (chain_)
        chain_->stop();
}
