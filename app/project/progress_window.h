// The progress window of long operations (adding files, building menus):
// a title, the current item, a bar and the percentage. It stays on top, the
// user cannot close it, and its creator destroys it when the work is done.
#pragma once

#include "app/project/progress_count.h"
#include "app/widgets/sui_form.h"

class TLabel;

class TProgressWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 300, kClientHeight = 104;

    explicit TProgressWindow(QWidget *owner = nullptr);

    // The title line, an empty information line, bar at 0;
    // shows the window (not modal).
    void start(int total, const QString &title);
    // The item being worked on now.
    void setInfo(const QString &info);
    // One more item done: bar and percentage, repainted at once.
    void step();

    const vt::project::ProgressCount &progress() const { return progress_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override {}

private:
    void showProgress();

    vt::project::ProgressCount progress_;
    TLabel *Label_Text, *Label_Text_Info, *Label_Percent;
    QWidget *Image_Progress;
};
