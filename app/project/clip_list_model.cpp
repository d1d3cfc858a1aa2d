#include "app/project/clip_list_model.h"

#include "app/project/clip_list_layout.h"
#include "app/common/project_reset.h"
#include "app/common/settings.h"

namespace vt::project {

ClipListModel::ClipListModel(ClipRecordList &clips, const vt::common::Settings &settings)
    : clips_(clips)
    , settings_(settings)
    , dvd5SizeKB_(settings.dvd5SizeKB)
    , dvd9SizeKB_(settings.dvd9SizeKB)
{
}

void ClipListModel::enterMode(ClipListMode mode)
{
    mode_ = mode;
    busy_ = false;
    select(-1);
    settingsConfirmed();
}

void ClipListModel::settingsConfirmed()
{
    discType_ = settings_.dvd5 ? DiscType::DVD5 : DiscType::DVD9;
    pictureShape4_3_ = settings_.shape4x3;
}

void ClipListModel::leaveSelection()
{
    if (stopPreview)
        stopPreview();
}

bool ClipListModel::select(int index)
{
    if (index < 0 || index >= clips_.count())
        index = -1;
    if (index == selected_)
        return false;
    leaveSelection();
    selected_ = index;
    return true;
}

ClipListModel::AddOutcome ClipListModel::addFiles(const std::vector<std::string> &files, bool letterbox,
                                                  const std::string &libraryFolder,
                                                  const std::function<void(const std::string &)> &progress)
{
    AddOutcome outcome;
    if (busy_ || files.empty()) {
        outcome.refused = true;
        return outcome;
    }
    leaveSelection();
    busy_ = true;
    AddClipsOptions options;
    options.builderMode = mode_ == ClipListMode::Builder;
    options.letterbox = letterbox;
    options.libraryFolder = libraryFolder;
    options.progress = progress;
    const AddClipsResult result = AddClips(clips_, files, options);
    busy_ = false;

    if (selected_ < 0 && result.firstAdded >= 0)
        selected_ = result.firstAdded;
    if (!result.failed.empty())
        outcome.messages.push_back(UnsupportedFilesMessage(result.failed));
    if (mode_ == ClipListMode::Builder) {
        const std::string limit = DiscLimitMessage(estimate(), discType_);
        if (!limit.empty())
            outcome.messages.push_back(limit);
    }
    return outcome;
}

bool ClipListModel::removeSelected()
{
    if (busy_ || selected_ < 0)
        return false;
    const int removed = selected_;
    leaveSelection();
    clips_.removeAt(removed);
    selected_ = SelectionAfterRemoval(removed, clips_.count());
    return true;
}

bool ClipListModel::moveSelected(int (ClipRecordList::*move)(int))
{
    if (busy_ || selected_ < 0)
        return false;
    leaveSelection();
    selected_ = (clips_.*move)(selected_);
    return true;
}

void ClipListModel::setSelectedTimes(int32_t start, int32_t end)
{
    if (selected_ >= 0)
        clips_[selected_].setTimes(start, end);
}

void ClipListModel::setSelectedLetterbox(bool letterbox)
{
    if (selected_ >= 0)
        clips_[selected_].letterbox = letterbox;
}

DiscEstimate ClipListModel::estimate() const
{
    return EstimateDiscSize(clips_.totalSeconds(), settings_.discKBPerMinute, discType_, dvd5SizeKB_, dvd9SizeKB_);
}

bool ClipListModel::canEditSubtitle(int index) const
{
    return !busy_ && mode_ == ClipListMode::Builder && index >= 0 && index < clips_.count();
}

NextStage ClipListModel::handOver(bool withMenu)
{
    if (busy_)
        return NextStage::None;
    leaveSelection();
    if (mode_ == ClipListMode::Converter)
        return NextStage::Converter;
    return withMenu ? NextStage::MenuEditor : NextStage::Builder;
}

bool ClipListModel::close()
{
    if (busy_)
        return false;
    leaveSelection();
    selected_ = -1;
    // The project lives as long as the mode's clip list is open.
    clips_.clear();
    vt::common::ClearProject();
    vt::common::FreeTitleTexts();
    return true;
}

} // namespace vt::project
