#include "app/burn/burn_window.h"

#include "app/common/settings.h"
#include "app/common/ui_text_ids.h"
#include "app/project/clip_record.h"
#include "app/widgets/label.h"
#include "app/widgets/sui_edit.h"
#include "app/widgets/sui_group_box.h"
#include "app/widgets/sui_image_button.h"

#include <filesystem>

TBurnWindow::TBurnWindow(vt::burn::DiscWindowServices services, QWidget *parent)
    : TDiscWindow("BurnWindow", "Burner", 0, std::move(services), parent)
    , videoStandard_(vt::production::kNtsc)
{
}

TBurnWindow::~TBurnWindow() = default;

void TBurnWindow::reset()
{
    folderFlag_ = false;
    videoTsFolder_.clear();
    videoStandard_ = vt::production::kNtsc;
}

void TBurnWindow::setDvdFolder(const std::string &videoTsFolder, int videoStandard)
{
    folderFlag_ = true;
    videoTsFolder_ = videoTsFolder;
    videoStandard_ = videoStandard;
}

void TBurnWindow::start()
{
    if (folderFlag_) {
        std::error_code error;
        if (videoTsFolder_.empty() || !std::filesystem::is_directory(videoTsFolder_, error))
            showMessage(text(vt::common::kNoDvdFolderSelectedText));  // the burn step reports it again
    } else if (services_.clips.empty()) {
        showMessage(text(vt::common::kNoVobToAuthorText));
        return;
    }
    if (vt::burn::AskBeforeStart(services_.facade, jobFromControls("").drive, *this, services_.language) ==
        vt::burn::StartAnswer::DoNotStart)
        return;
    vt::production::RunChoices choices = choicesFromControls(vt::production::kAspect4x3);
    choices.ntsc = videoStandard_ == vt::production::kNtsc;
    run_.setOutputFolder(services_.settings.outputFolder);
    if (!run_.PrepareRun(choices, {videoTsFolder_})) {
        run_.EndRun(vt::production::kBurningProcessWrong);
        return;
    }
    burnAndFinish(videoTsFolder_);
}
