// The image property dialog: picks the frame a title or chapter button
// shows by scrubbing a knob through the clip. Releasing the knob asks the
// converter library's frame server for that second (every wait with a
// time-out); OK takes the picture shown.
#pragma once

#include "app/menu/frame_grabber.h"
#include "app/menu/knob_scale.h"
#include "app/menu/menu_design.h"
#include "app/widgets/sui_form.h"

#include <chrono>

class QLabel;
class TLabel;

namespace vt::project {
struct ClipRecord;
}
namespace vt::common {
class UiLanguage;
}

class TSetupImageWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 360, kClientHeight = 384;

    // libraryFolder: where the converter library is ("" the program
    // folder); timeout: the longest the dialog waits for the library.
    TSetupImageWindow(const vt::common::UiLanguage &language, std::string libraryFolder = "",
                      std::chrono::milliseconds timeout = vt::menu::FrameGrabber::kDefaultTimeout,
                      QWidget *parent = nullptr);
    ~TSetupImageWindow() override;

    // Modal. True when OK changed the picture: the clip's snapshot (title
    // button) or the button's own picture (chapter button).
    bool editTitleButton(vt::project::ClipRecord &clip);
    bool editChapterButton(vt::menu::ChapterButton &button, const vt::project::ClipRecord &clip);

    // What the mouse does to the knob, for the window and tests.
    void dragKnobTo(int position);
    void releaseKnobAt(int position);

    int knobPosition() const;
    bool knobEnabled() const;
    int lastFrameTime() const { return lastFrameTime_; }
    const QImage &shownPicture() const { return shown_; }
    QString timeText() const;
    bool seeking() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    void prepare(const vt::project::ClipRecord &clip, const QImage &picture, int32_t time, int titleText);
    void show(const QImage &picture);
    void placeKnob(int position);
    void setSeeking(bool seeking);

    const vt::common::UiLanguage &language_;
    vt::menu::FrameGrabber grabber_;
    const vt::project::ClipRecord *clip_ = nullptr;
    vt::menu::KnobScale scale_;
    int32_t lastFrameTime_ = 0;
    bool frameRequested_ = false;
    QImage shown_;
    QImage acceptedFrame_;  // at display size, taken on OK
    int pressOffset_ = 0;
    bool knobDragging_ = false;

    QLabel *Image_Preview;
    TLabel *Label_Text, *Label_Time, *Label_Info;
    QLabel *Image_Bar;
};
