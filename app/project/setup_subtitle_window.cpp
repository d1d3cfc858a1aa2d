#include "app/project/setup_subtitle_window.h"

#include "app/project/clip_record.h"
#include "app/project/display_geometry.h"
#include "app/project/preview_picture.h"
#include "app/widgets/place_control.h"
#include "app/common/settings.h"
#include "app/common/ui_language.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/label.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_font_combo_box.h"
#include "app/widgets/sui_font_size_combo_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSignalBlocker>

using vt::placeControl;

namespace {

constexpr int kPreviewX = 16, kPreviewY = 16;
constexpr int kSideX = 328, kSideWidth = 121;
constexpr int kDefaultFontSize = 8;

TLabel *addLabel(QWidget *parent, const char *name, const QString &caption, int y)
{
    auto *label = placeControl<TLabel>(parent, name, kSideX, y, kSideWidth, 20);
    label->setText(caption);
    return label;
}

TsuiImageButton *addButton(QWidget *parent, const char *name, const QString &caption, int x, int y, bool accent)
{
    auto *button = placeControl<TsuiImageButton>(parent, name, x, y, accent ? 96 : kSideWidth, 30);
    button->setSkinPicture(accent ? QStringLiteral("button_accent") : QStringLiteral("button"),
                           vt::Skin::Fit::NineSlice);
    button->setCaption(caption);
    return button;
}

} // namespace

TSetupSubtitleWindow::TSetupSubtitleWindow(vt::common::Settings &settings, vt::common::RegionList regions,
                                           std::string optionIniPath, QWidget *parent)
    : TsuiForm(parent)
    , settings_(settings)
    , regions_(std::move(regions))
    , optionIniPath_(std::move(optionIniPath))
{
    setObjectName(QStringLiteral("SetupSubtitleWindow"));
    setWindowTitle(QStringLiteral("Subtitle"));
    setModal(true);
    setClientSize(kClientWidth, kClientHeight);

    auto *page = placeControl<TsuiImagePanel>(client(), "suiImagePanel_Subtitle", 0, 0, kClientWidth, kClientHeight);
    page->setSkinPicture(QStringLiteral("page"));

    const int previewWidth = vt::project::kPreviewAreaWidth, previewHeight = vt::project::kPreviewAreaHeight;
    Image_Preview = placeControl<QLabel>(page, "Image_Preview", kPreviewX, kPreviewY, previewWidth, previewHeight);
    Image_Preview->setStyleSheet(QStringLiteral("background: black;"));
    Image_PreviewSubtitle = placeControl<QLabel>(page, "Image_PreviewSubtitle", kPreviewX, kPreviewY, previewWidth,
                                                 previewHeight);
    Image_PreviewSubtitle->setAttribute(Qt::WA_TranslucentBackground);
    Image_PreviewSubtitle->setScaledContents(true);

    addLabel(page, "Label_Language", QStringLiteral("Language :"), kPreviewY);
    suiComboBox_SubtitleLanguage = placeControl<TsuiComboBox>(page, "suiComboBox_SubtitleLanguage", kSideX,
                                                              kPreviewY + 22, kSideWidth, 26);
    addLabel(page, "Label_FontSize", QStringLiteral("Font Size :"), kPreviewY + 60);
    suiFontSizeComboBox = placeControl<TsuiFontSizeComboBox>(page, "suiFontSizeComboBox", kSideX, kPreviewY + 82,
                                                             kSideWidth, 26);
    suiFontSizeComboBox->setFontSize(kDefaultFontSize);
    // Hidden: the clip's font name is carried through unchanged.
    suiFontComboBox = placeControl<TsuiFontComboBox>(page, "suiFontComboBox", kSideX, kPreviewY + 82, kSideWidth, 26);
    suiFontComboBox->hide();
    connect(suiFontSizeComboBox, &TsuiFontSizeComboBox::fontSizeChanged, this, [this] { drawSample(); });

    connect(addButton(page, "suiImageButton_Load", QStringLiteral("Load..."), kSideX, kPreviewY + 130, false),
            &QAbstractButton::clicked, this, &TSetupSubtitleWindow::loadFile);
    connect(addButton(page, "suiImageButton_Clear", QStringLiteral("Clear"), kSideX, kPreviewY + 168, false),
            &QAbstractButton::clicked, this, &TSetupSubtitleWindow::clearFile);

    Label_Subtitle = placeControl<TLabel>(page, "Label_Subtitle", kPreviewX, kPreviewY + previewHeight + 10,
                                          kClientWidth - 2 * kPreviewX, 22);
    Label_Subtitle->setTextFormat(Qt::PlainText);

    connect(addButton(page, "suiImageButton_Ok", QStringLiteral("OK"), kClientWidth - 16 - 96 - 8 - 96,
                      kClientHeight - 46, true),
            &QAbstractButton::clicked, this, &TSetupSubtitleWindow::ok);
    auto *cancel = addButton(page, "suiImageButton_Cancel", QStringLiteral("Cancel"), kClientWidth - 16 - 96,
                             kClientHeight - 46, true);
    cancel->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);

    fillLanguages();
}

TSetupSubtitleWindow::~TSetupSubtitleWindow() = default;

void TSetupSubtitleWindow::fillLanguages()
{
    const QSignalBlocker blocker(suiComboBox_SubtitleLanguage);
    suiComboBox_SubtitleLanguage->clear();
    for (const std::string &name : regions_.combinedNames())
        suiComboBox_SubtitleLanguage->addItem(QString::fromStdString(name));
    if (suiComboBox_SubtitleLanguage->count() > 0)
        suiComboBox_SubtitleLanguage->setCurrentIndex(0);
    if (session_)
        suiComboBox_SubtitleLanguage->setCurrentIndex(session_->languageIndex);
}

void TSetupSubtitleWindow::loadClip(vt::project::ClipRecord &clip)
{
    clip_ = &clip;
    session_ = std::make_unique<vt::project::SubtitleSetup>(clip, settings_);
    suiComboBox_SubtitleLanguage->setCurrentIndex(session_->languageIndex);
    {
        const QSignalBlocker blocker(suiFontSizeComboBox);
        suiFontSizeComboBox->setFontSize(session_->fontSize);
    }
    suiFontComboBox->setCurrentFont(QFont(QString::fromStdString(session_->fontName)));
    Image_Preview->setPixmap(QPixmap::fromImage(
        vt::project::PreviewAreaPicture(clip.preview, clip.letterbox, Image_Preview->size())));
    Label_Subtitle->setText(QString::fromStdString(session_->statusText()));
    drawSample();
}

bool TSetupSubtitleWindow::editClip(vt::project::ClipRecord &clip)
{
    loadClip(clip);
    return exec() == QDialog::Accepted;
}

void TSetupSubtitleWindow::showEvent(QShowEvent *event)
{
    TsuiForm::showEvent(event);
    fillLanguages();
}

void TSetupSubtitleWindow::drawSample()
{
    QImage sample(kSampleWidth, kSampleHeight, QImage::Format_ARGB32_Premultiplied);
    sample.fill(Qt::transparent);  // the sample's black shows the clip
    QFont font(session_ ? QString::fromStdString(session_->fontName) : QStringLiteral("Tahoma"));
    // Points at 96 pixels per inch, as on the sample bitmap.
    font.setPixelSize(std::max(1, suiFontSizeComboBox->fontSize() * 96 / 72));
    const QString text = QString::fromStdString(vt::common::GetUIText(vt::common::kSubtitleSampleText));
    QPainter painter(&sample);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text), height = metrics.height();
    painter.drawText(QRect((kSampleWidth - width) / 2, kSampleBaseline - height, width, height), Qt::AlignCenter,
                     text);
    painter.end();
    Image_PreviewSubtitle->setPixmap(QPixmap::fromImage(sample));
}

void TSetupSubtitleWindow::loadFile()
{
    if (!session_)
        return;
    vt::FileDialogRequest request;
    request.caption = QStringLiteral("Select a Subtitle File");
    request.filter = QString::fromStdString(vt::common::GetUIText(vt::common::kSubtitleFileText)) + QStringLiteral("(*.srt, *.SRT)|*.srt;*.SRT");
    const vt::FileDialogResult chosen = vt::DialogService::current().openFiles(this, request);
    if (!chosen.accepted())
        return;
    session_->load(chosen.file().toStdString());
    Label_Subtitle->setText(QString::fromStdString(session_->statusText()));
}

void TSetupSubtitleWindow::clearFile()
{
    if (!session_)
        return;
    session_->clear();
    Label_Subtitle->setText(QString::fromStdString(session_->statusText()));
}

void TSetupSubtitleWindow::ok()
{
    if (!session_ || !clip_) {
        reject();
        return;
    }
    session_->languageIndex = suiComboBox_SubtitleLanguage->currentIndex();
    session_->fontSize = suiFontSizeComboBox->fontSize() > 0 ? suiFontSizeComboBox->fontSize() : session_->fontSize;
    std::string error;
    if (!session_->ok(*clip_, settings_, optionIniPath_, &error))
        vt::DialogService::current().error(this, QString::fromStdString(error));
    accept();
}
