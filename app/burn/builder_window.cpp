#include "app/burn/builder_window.h"

#include "app/burn/one_step_chain.h"
#include "app/project/clip_record.h"
#include "app/shell/settings.h"

TBuilderWindow::TBuilderWindow(vt::burn::DiscWindowServices services, QWidget *parent)
    : TDiscWindow("BuilderWindow", "One-Step Builder", OutputGroup | QualityRow | VideoGroup, std::move(services),
                  parent)
    , aspect_(services_.settings.b_4_3 ? vt::production::kAspect4x3 : vt::production::kAspect16x9)
{
}

TBuilderWindow::~TBuilderWindow() = default;

void TBuilderWindow::start()
{
    vt::burn::OneStepChain chain(run_, services_.clips, services_.regions,
                                 services_.settings.i_MenuLanguageCodeIndex, menus_, services_.settings.i_MenuDuration);
    chain.setDeleteConvertedVobs(services_.settings.b_DeleteTempFile);
    const vt::production::RunChoices choices = choicesFromControls(aspect_);
    if (!services_.clips.empty())
        services_.settings.g_i_OutputQuality = choices.qualityIndex;
    chain_ = &chain;
    runDiscChain(chain, choices);
    chain_ = nullptr;
}

void TBuilderWindow::stop()
{
    if (chain_)
        chain_->stop();
}
