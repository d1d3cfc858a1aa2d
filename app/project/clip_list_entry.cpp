#include "app/project/clip_list_entry.h"

#include "app/common/format_hms.h"
#include "app/common/letterbox_stretch.h"
#include "app/common/shared_bitmaps.h"
#include "app/common/ui_language.h"
#include "app/project/clip_record.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QFontDatabase>
#include <QPainter>

using vt::common::SharedBitmapId;
using vt::common::kAudioBitrateText;
using vt::common::kClipNameText;
using vt::common::kEndTimeText;
using vt::common::kFrameRateText;
using vt::common::kSampleRateText;
using vt::common::kStartTimeText;
using vt::common::kVideoBitrateText;
using vt::common::kVideoSizeText;

namespace {

const QColor kBackground(0x71, 0x75, 0x79);  // colour value 0x797571
const QColor kFactsPanel(0x2b, 0x30, 0x38);
const QColor kFactsText(0xf2, 0xf4, 0xf7);
constexpr int kThumbX = 10, kThumbY = 7, kThumbWidth = 80, kThumbHeight = 60;

QString twoDecimals(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

TSetupImage::TSetupImage(const vt::common::UiLanguage &language, const vt::common::SharedBitmaps &bitmaps,
                         QWidget *parent)
    : QWidget(parent)
    , language_(language)
    , bitmaps_(bitmaps)
{
    setObjectName(QStringLiteral("SetupImage"));
    resize(kWidth, kHeight);
    setAttribute(Qt::WA_Hover);
}

void TSetupImage::setClip(const vt::project::ClipRecord *clip)
{
    clip_ = clip;
    if (clip_)
        setToolTip(QString::fromStdString(clip_->fileName));
    update();
}

void TSetupImage::setSelected(bool selected)
{
    selected_ = selected;
    update();
}

QString TSetupImage::text(int number) const
{
    return QString::fromStdString(language_.GetUIText(number));
}

QStringList TSetupImage::factLines() const
{
    if (!clip_)
        return {};
    const vt::project::ClipRecord &c = *clip_;
    return {
        text(kClipNameText) + QFileInfo(QString::fromStdString(c.fileName)).fileName(),
        text(kVideoSizeText) + QString::number(c.width) + ':' + QString::number(c.height) + text(kVideoBitrateText) + twoDecimals(c.videoBitrate) +
            text(kFrameRateText) + twoDecimals(c.frameRate),
        text(kAudioBitrateText) + twoDecimals(c.audioBitrate) + text(kSampleRateText) + QString::number(c.sampleRate),
        text(kStartTimeText) + QString::fromStdString(vt::common::FormatHMS(c.start)) + text(kEndTimeText) +
            QString::fromStdString(vt::common::FormatHMS(c.end)),
    };
}

QFont TSetupImage::factsFont()
{
    // Tahoma where it is installed; else a narrow face a pixel taller
    // (fontconfig would stand a wide face in for Tahoma).
    static const QString family = QFontDatabase::families().contains(QStringLiteral("Tahoma"))
                                      ? QStringLiteral("Tahoma")
                                      : QStringLiteral("Liberation Sans Narrow");
    QFont font(family);
    font.setPixelSize(family == QLatin1String("Tahoma") ? 10 : 11);
    return font;
}

void TSetupImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const SharedBitmapId frame = selected_ ? (hovered_ ? SharedBitmapId::SetupClipSelectBmpOn
                                                       : SharedBitmapId::SetupClipSelectBmp)
                                           : (hovered_ ? SharedBitmapId::SetupClipUnSelectBmpOn
                                                       : SharedBitmapId::SetupClipUnSelectBmp);
    const QImage &frameImage = bitmaps_[frame].image;
    if (!frameImage.isNull())
        painter.drawImage(0, 0, frameImage);
    if (!clip_)
        return;

    QImage thumbnail;
    vt::common::LetterboxStretch(thumbnail, clip_->snapshot, kThumbWidth, kThumbHeight, true);
    painter.drawImage(kThumbX, kThumbY, thumbnail);

    // The facts sit on a dark panel in light text: black on the list's grey
    // reads too faintly at this size.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kFactsPanel);
    painter.drawRoundedRect(QRect(106, 8, 392 - 102, 60), 4, 4);
    painter.setFont(factsFont());
    painter.setPen(kFactsText);
    const QStringList lines = factLines();
    const int tops[] = {12, 26, 38, 50};
    for (int i = 0; i < lines.size(); ++i) {
        const QRect box(kFactsLeft, tops[i], kFactsWidth, 14);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(lines[i], Qt::ElideMiddle, box.width()));
    }
}

void TSetupImage::enterEvent(QEnterEvent *event)
{
    hovered_ = true;
    update();
    QWidget::enterEvent(event);
}

void TSetupImage::leaveEvent(QEvent *event)
{
    hovered_ = false;
    update();
    QWidget::leaveEvent(event);
}

void TSetupImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit leftClicked(this);
}

void TSetupImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton && rect().contains(event->position().toPoint()))
        emit rightReleased(this, event->globalPosition().toPoint());
}
