#include "app/cli/cli_menus.h"

#include "app/menu/background_list.h"
#include "app/menu/frame_grabber.h"
#include "app/menu/menu_editor_model.h"
#include "app/production/menu_resources.h"
#include "app/production/offscreen_gui.h"
#include "app/project/clip_record.h"
#include "app/common/program_files.h"
#include "platform/paths.h"

#include <algorithm>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace vt::cli {

namespace {

std::string existingFile(const std::string &path, const char *what, std::string &problem)
{
    if (path.empty())
        return "";
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        problem = std::string(what) + " " + path + " does not exist";
        return "";
    }
    return fs::absolute(path).lexically_normal().string();
}

// The editor gives a clip shorter than a minute a single chapter; on the
// command line the chapters asked for are the chapters: the missing buttons
// are added, with the frame at each time, and the page laid out again.
void addRequestedChapters(menu::MenuEditorModel &model, menu::FrameSource &frames, const project::ClipRecord &clip,
                          menu::ChapterPage &page)
{
    if (!clip.chapters || clip.chapters->times() == page.times() || !frames.open(clip.fileName, std::max(clip.start, 1)))
        return;
    const std::vector<int32_t> wanted = clip.chapters->times();
    const project::PictureSize previewSize{clip.previewWidth, clip.previewHeight};
    std::vector<menu::ChapterButton> buttons;
    for (int32_t time : wanted) {
        menu::ChapterButton button;
        button.chapterTime = time;
        button.picture = frames.frameAt(time, previewSize);
        if (button.picture.isNull())
            button.picture = buttons.empty() ? clip.preview : buttons.back().picture;
        buttons.push_back(std::move(button));
    }
    frames.close();
    page.buttons = std::move(buttons);
    model.layOutChapterButtons(page, clip);
}

// "SUMMER_2024" as "SUMMER 2024".
std::string labelText(std::string label)
{
    std::replace(label.begin(), label.end(), '_', ' ');
    return label;
}

} // namespace

std::string BuildMenuDesign(const BuildRequest &request, project::ClipRecordList &clips, menu::MenuDesign &design)
{
    std::string problem;
    const std::string background = existingFile(request.menuBackground, "menu background", problem);
    const std::string music = existingFile(request.menuMusic, "menu music", problem);
    if (!problem.empty())
        return problem;
    if (!background.empty() && menu::LoadBackgroundPicture(background).isNull())
        return "menu background " + request.menuBackground + " is not a picture";

    production::EnsureGuiApplication();
    menu::MenuEditorModel model(design, clips);
    const QImage backButton(QString::fromStdString(
        resolveCaseInsensitive(ExePath() + common::kResFolder + production::kBackBmpFile)));
    model.setBackButtonSize(backButton.size());
    model.setBackgrounds(menu::LoadBackgroundList(ExePath()));
    if (request.wide)
        model.switchShape(menu::PictureShape::Wide);
    // The chapters asked for, as the clip list would hand them to the editor.
    std::vector<std::unique_ptr<project::TSubChapter>> requested;
    for (int i = 0; i < clips.count(); ++i)
        requested.push_back(clips[i].chapters ? project::TSubChapter::fromTimes(clips[i].chapters->times()) : nullptr);
    model.setTitleHeading(labelText(request.label));
    menu::FrameGrabber frames(ExePath());
    model.buildMenu(frames);

    design.chapterMenus = request.chapterMenus;
    if (!background.empty())
        design.titlePage.backgroundFile = background;
    design.titlePage.musicFile = music;
    for (int i = 0; i < clips.count(); ++i) {
        menu::ClipMenu *clipMenu = design.menuOf(clips[i]);
        if (!clipMenu)
            continue;
        // Only the clips given chapters get a chapter menu; the others play
        // from the title menu straight away.
        if (request.clips[static_cast<size_t>(i)].chapters.empty()) {
            clipMenu->chapterPage.reset();
        } else if (clipMenu->chapterPage) {
            clips[i].chapters = std::move(requested[static_cast<size_t>(i)]);
            addRequestedChapters(model, frames, clips[i], *clipMenu->chapterPage);
            clipMenu->chapterPage->backgroundFile = design.titlePage.backgroundFile;
        }
        menu::WriteToClipRecord(*clipMenu, clips[i]);
    }
    frames.close();
    return "";
}

} // namespace vt::cli
