#include "app/project/progress_window.h"

#include "app/widgets/place_control.h"
#include "app/common/ui_language.h"
#include "app/widgets/label.h"
#include "app/widgets/sui_image_panel.h"
#include "app/widgets/sui_title_bar.h"

#include <QCloseEvent>

using vt::placeControl;

namespace {

constexpr int kBarX = 16, kBarY = 62, kBarHeight = 14;

} // namespace

TProgressWindow::TProgressWindow(QWidget *owner)
    : TsuiForm(owner, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("Progress"));
    setClientSize(kClientWidth, kClientHeight);
    setTitleBarVisible(false);
    setDragByClient(true);

    auto *background = placeControl<TsuiImagePanel>(client(), "Panel_Background", 0, 0, kClientWidth, kClientHeight);
    background->setSkinPicture(QStringLiteral("page"));
    background->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label_Text = placeControl<TLabel>(client(), "Label_Text", kBarX, 10, kClientWidth - 2 * kBarX, 22);
    QFont title = Label_Text->font();
    title.setBold(true);
    Label_Text->setFont(title);
    Label_Text_Info = placeControl<TLabel>(client(), "Label_Text_Info", kBarX, 34, kClientWidth - 2 * kBarX, 20);

    // The trough the bar grows in.
    auto *trough = placeControl<QWidget>(client(), "Panel_ProgressTrough", kBarX - 1, kBarY - 1,
                                         vt::project::kProgressBarFullWidth + 2, kBarHeight + 2);
    trough->setAutoFillBackground(true);
    trough->setStyleSheet(QStringLiteral("background: #1d2635; border-radius: 3px;"));
    Image_Progress = placeControl<QWidget>(client(), "Image_Progress", kBarX, kBarY, 0, kBarHeight);
    Image_Progress->setStyleSheet(QStringLiteral(
        "background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #7fc4ff, stop:1 #2f7fd8); border-radius: 2px;"));
    Label_Percent = placeControl<TLabel>(client(), "Label_Percent", kBarX, kBarY + kBarHeight + 4,
                                         vt::project::kProgressBarFullWidth, 20);
    Label_Percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TProgressWindow::start(int total, int textNumber)
{
    progress_.start(total);
    Label_Text->setText(QString::fromStdString(vt::common::GetUIText(textNumber)));
    Label_Text_Info->clear();
    showProgress();
    show();
    raise();
}

void TProgressWindow::setInfo(const QString &info)
{
    Label_Text_Info->setText(info);
}

void TProgressWindow::step()
{
    progress_.step();
    showProgress();
    repaint();
}

void TProgressWindow::showProgress()
{
    Image_Progress->resize(progress_.barWidth(), Image_Progress->height());
    Label_Percent->setText(QString::number(progress_.percent()) + QStringLiteral(" %"));
}

void TProgressWindow::closeEvent(QCloseEvent *event)
{
    // Only the creator ends the window, by destroying it.
    event->ignore();
}
