#include "app/menu/setup_image_window.h"

#include "app/project/clip_record.h"
#include "app/project/display_geometry.h"
#include "app/project/preview_picture.h"
#include "app/common/format_hms.h"
#include "app/widgets/place_control.h"
#include "app/common/ui_language.h"
#include "app/widgets/label.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"

#include <QCoreApplication>
#include <QMouseEvent>

using vt::placeControl;

namespace {

constexpr int kPreviewX = (TSetupImageWindow::kClientWidth - vt::project::kPreviewAreaWidth) / 2;
constexpr int kPreviewY = 40;
constexpr int kBarY = kPreviewY + vt::project::kPreviewAreaHeight + 16;
constexpr int kKnobWidth = 16, kKnobHeight = 20;
constexpr int kTitleButtonText = 55, kChapterButtonText = 56;

} // namespace

TSetupImageWindow::TSetupImageWindow(const vt::common::UiLanguage &language, std::string libraryFolder,
                                     std::chrono::milliseconds timeout, QWidget *parent)
    : TsuiForm(parent)
    , language_(language)
    , grabber_(std::move(libraryFolder), timeout)
{
    setObjectName(QStringLiteral("SetupImageWindow"));
    setWindowTitle(QStringLiteral("Picture Properties"));
    setModal(true);
    setClientSize(kClientWidth, kClientHeight);
    grabber_.whileWaiting = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };

    auto *page = placeControl<TsuiImagePanel>(client(), "suiImagePanel_Image", 0, 0, kClientWidth, kClientHeight);
    page->setSkinPicture(QStringLiteral("page"));
    Label_Text = placeControl<TLabel>(page, "Label_Text", 16, 10, kClientWidth - 32, 24);
    Label_Text->setStyleSheet(QStringLiteral("font-weight: bold;"));
    Image_Preview = placeControl<QLabel>(page, "Image_Preview", kPreviewX, kPreviewY, vt::project::kPreviewAreaWidth,
                                         vt::project::kPreviewAreaHeight);
    Image_Preview->setStyleSheet(QStringLiteral("background: black;"));
    Image_Preview->setAlignment(Qt::AlignCenter);
    Label_Info = placeControl<TLabel>(page, "Label_Info", kPreviewX, kPreviewY + 96, vt::project::kPreviewAreaWidth,
                                      28);
    Label_Info->setText(QStringLiteral("Seeking please wait..."));
    Label_Info->setAlignment(Qt::AlignCenter);
    Label_Info->setStyleSheet(QStringLiteral("color: white; background: rgba(0,0,0,160);"));
    Label_Info->hide();

    auto *track = placeControl<QWidget>(page, "Panel_Bar", vt::menu::kKnobLeft, kBarY + kKnobHeight / 2 - 3,
                                        vt::menu::kKnobRight - vt::menu::kKnobLeft + kKnobWidth, 6);
    track->setAttribute(Qt::WA_StyledBackground);
    track->setStyleSheet(QStringLiteral("background: #1d2635; border-radius: 3px;"));
    Image_Bar = placeControl<QLabel>(page, "Image_Bar", vt::menu::kKnobLeft, kBarY, kKnobWidth, kKnobHeight);
    Image_Bar->setStyleSheet(QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #7fb2ff,"
                                            " stop:1 #2f6fd0); border: 1px solid #1d2635; border-radius: 4px;"));
    Image_Bar->setCursor(Qt::SizeHorCursor);
    Image_Bar->installEventFilter(this);
    Label_Time = placeControl<TLabel>(page, "Label_Time", 16, kBarY + 26, kClientWidth - 32, 20);
    Label_Time->setAlignment(Qt::AlignCenter);

    auto *ok = placeControl<TsuiImageButton>(page, "suiImageButton2", kClientWidth - 16 - 96 - 8 - 96,
                                             kClientHeight - 44, 96, 30);
    ok->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    ok->setCaption(QStringLiteral("OK"));
    auto *cancel = placeControl<TsuiImageButton>(page, "suiImageButton1", kClientWidth - 16 - 96, kClientHeight - 44,
                                                 96, 30);
    cancel->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    cancel->setCaption(QStringLiteral("Cancel"));
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
}

TSetupImageWindow::~TSetupImageWindow()
{
    grabber_.close();
}

void TSetupImageWindow::prepare(const vt::project::ClipRecord &clip, const QImage &picture, int32_t time, int titleText)
{
    clip_ = &clip;
    frameRequested_ = false;
    scale_ = vt::menu::KnobScale::forRange(clip.start, clip.end);
    lastFrameTime_ = time;
    Label_Text->setText(QString::fromStdString(language_.GetUIText(titleText)));
    Label_Time->setText(QString::fromStdString(vt::common::FormatHMS(time)));
    placeKnob(scale_.positionFor(time));
    setSeeking(false);
    show(picture);
}

bool TSetupImageWindow::editTitleButton(vt::project::ClipRecord &clip)
{
    prepare(clip, clip.preview, clip.start, kTitleButtonText);
    if (exec() != QDialog::Accepted || !frameRequested_ || shown_.isNull())
        return false;
    clip.setSnapshot(acceptedFrame_.isNull() ? shown_ : acceptedFrame_);
    return true;
}

bool TSetupImageWindow::editChapterButton(vt::menu::ChapterButton &button, const vt::project::ClipRecord &clip)
{
    prepare(clip, button.picture, button.chapterTime, kChapterButtonText);
    if (exec() != QDialog::Accepted || !frameRequested_ || shown_.isNull())
        return false;
    button.picture = shown_;
    return true;
}

void TSetupImageWindow::show(const QImage &picture)
{
    shown_ = picture;
    const bool letterbox = clip_ && clip_->letterbox;
    Image_Preview->setPixmap(QPixmap::fromImage(vt::project::PreviewAreaPicture(
        picture, letterbox, QSize(vt::project::kPreviewAreaWidth, vt::project::kPreviewAreaHeight))));
}

void TSetupImageWindow::placeKnob(int position)
{
    Image_Bar->move(std::clamp(position, vt::menu::kKnobLeft, vt::menu::kKnobRight), Image_Bar->y());
}

int TSetupImageWindow::knobPosition() const
{
    return Image_Bar->x();
}

bool TSetupImageWindow::knobEnabled() const
{
    return Image_Bar->isEnabled();
}

bool TSetupImageWindow::seeking() const
{
    return !Label_Info->isHidden();
}

QString TSetupImageWindow::timeText() const
{
    return Label_Time->text();
}

void TSetupImageWindow::setSeeking(bool seeking)
{
    Image_Bar->setEnabled(!seeking);
    Label_Info->setVisible(seeking);
    if (seeking)
        Label_Info->raise();
}

void TSetupImageWindow::dragKnobTo(int position)
{
    placeKnob(position);
    Label_Time->setText(QString::fromStdString(vt::common::FormatHMS(scale_.timeAt(knobPosition()))));
}

void TSetupImageWindow::releaseKnobAt(int position)
{
    if (!clip_ || !knobEnabled())
        return;
    dragKnobTo(position);
    setSeeking(true);
    const int32_t second = vt::menu::RequestedSecond(scale_.timeAt(knobPosition()), clip_->duration);
    if (grabber_.isOpen() && second == lastFrameTime_ && frameRequested_) {
        setSeeking(false);
        return;
    }
    if (!grabber_.isOpen() && !grabber_.open(clip_->fileName, second)) {
        setSeeking(false);
        return;
    }
    frameRequested_ = true;
    const QImage frame = grabber_.frameAt(second, {clip_->previewWidth, clip_->previewHeight});
    if (!frame.isNull()) {
        lastFrameTime_ = second;
        show(frame);
    }
    setSeeking(false);
}

bool TSetupImageWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched != Image_Bar ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
        return TsuiForm::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    const int x = qRound(Image_Bar->mapToParent(mouse->position()).x());
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton) {
            knobDragging_ = true;
            pressOffset_ = x - Image_Bar->x();
        }
        return true;
    case QEvent::MouseMove:
        if (knobDragging_)
            dragKnobTo(x - pressOffset_);
        return true;
    case QEvent::MouseButtonRelease:
        if (knobDragging_ && mouse->button() == Qt::LeftButton) {
            knobDragging_ = false;
            releaseKnobAt(x - pressOffset_);
        }
        return true;
    default:
        return false;
    }
}

void TSetupImageWindow::done(int result)
{
    // The title button's new snapshot is taken at the clip's display size
    // while the server still holds the frame shown.
    acceptedFrame_ = QImage();
    if (result == QDialog::Accepted && clip_ && grabber_.isOpen()) {
        const vt::project::PictureSize size =
            vt::project::SnapshotSize({clip_->displayWidth, clip_->displayHeight});
        acceptedFrame_ = grabber_.currentFrame(size);
    }
    grabber_.close();
    TsuiForm::done(result);
}
