#include "app/burn/setup_dvd_file_window.h"

#include "app/common/extra_ui_texts.h"
#include "app/common/project_reset.h"
#include "app/common/settings.h"
#include "app/common/ui_language.h"
#include "app/common/ui_text_ids.h"
#include "app/project/clip_adding.h"
#include "app/project/clip_probe.h"
#include "app/project/clip_record.h"
#include "app/project/progress_window.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/label.h"
#include "app/widgets/place_control.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_string_grid.h"
#include "platform/paths.h"

#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QShowEvent>

#include <memory>

using vt::placeControl;

namespace {

constexpr int kMargin = 12;
constexpr int kGridRowHeight = 18;
constexpr int kBarX = 110, kBarY = 446, kBarHeight = 16;

QString qt(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

TSetupDVDFileWindow::TSetupDVDFileWindow(Services services, QWidget *parent)
    : TsuiForm(parent)
    , services_(std::move(services))
    , sources_(
          services_.clips,
          [folder = services_.libraryFolder](const std::string &path) {
              return vt::project::ProbeClip(path, true, folder).clip;
          },
          services_.workFolder)
{
    setObjectName(QStringLiteral("SetupDVDFileWindow"));
    setWindowTitle(QStringLiteral("Burn Source"));
    setClientSize(kClientWidth, kClientHeight);
    setModal(true);

    const struct {
        const char *name, *caption;
        TsuiImageButton **button;
        int x;
    } tools[] = {
        {"suiImageButton_Folder", "Add DVD Folder", &suiImageButton_Folder, kMargin},
        {"suiImageButton_File", "Add VOB Files", &suiImageButton_File, kMargin + 150},
    };
    for (const auto &tool : tools) {
        *tool.button = placeControl<TsuiImageButton>(client(), tool.name, tool.x, 10, 140, 32);
        (*tool.button)->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
        (*tool.button)->setCaption(QLatin1String(tool.caption));
    }
    connect(suiImageButton_Folder, &QAbstractButton::clicked, this, &TSetupDVDFileWindow::chooseFolder);
    connect(suiImageButton_File, &QAbstractButton::clicked, this, &TSetupDVDFileWindow::addFiles);

    suiStringGrid_DVDFiles =
        placeControl<TsuiStringGrid>(client(), "suiStringGrid_DVDFiles", kMargin, 50, kClientWidth - 2 * kMargin, 380);
    suiStringGrid_DVDFiles->setRowHeight(kGridRowHeight);
    suiStringGrid_DVDFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(suiStringGrid_DVDFiles, &QWidget::customContextMenuRequested, this, [this](const QPoint &point) {
        // The signal gives the point in the grid's viewport.
        gridMenuAt(point)->popup(suiStringGrid_DVDFiles->viewport()->mapToGlobal(point));
    });

    gridMenu_ = new QMenu(this);
    gridMenu_->setObjectName(QStringLiteral("PopupMenu_DVDFiles"));
    removeAction_ = gridMenu_->addAction(QString());
    clearAction_ = gridMenu_->addAction(QString());
    connect(removeAction_, &QAction::triggered, this, [this] {
        sources_.remove(menuRow_ - 1);
        showRows();
    });
    connect(clearAction_, &QAction::triggered, this, [this] {
        sources_.clear();
        showRows();
    });

    suiImageButton_DVD5 = placeControl<TsuiImageButton>(client(), "suiImageButton_DVD5", kMargin, kBarY - 14, 80, 46);
    suiImageButton_DVD5->setSkinPicture(QStringLiteral("picture_D5"), vt::Skin::Fit::Scale);
    suiImageButton_DVD5->setToolTip(QStringLiteral("DVD-5"));
    suiImageButton_DVD9 = placeControl<TsuiImageButton>(client(), "suiImageButton_DVD9", kMargin, kBarY - 14, 80, 46);
    suiImageButton_DVD9->setSkinPicture(QStringLiteral("picture_9"), vt::Skin::Fit::Scale);
    suiImageButton_DVD9->setToolTip(QStringLiteral("DVD-9"));
    connect(suiImageButton_DVD5, &QAbstractButton::clicked, this, [this] { setDiscType(false); });
    connect(suiImageButton_DVD9, &QAbstractButton::clicked, this, [this] { setDiscType(true); });
    auto *trough = placeControl<QWidget>(client(), "Panel_DiscSize", kBarX - 2, kBarY - 2, kBarFullWidth + 4,
                                         kBarHeight + 4);
    trough->setAttribute(Qt::WA_StyledBackground);
    trough->setStyleSheet(QStringLiteral("background: #1d2635; border-radius: 4px;"));
    Image_DiscSizeProgress = placeControl<QWidget>(client(), "Image_DiscSizeProgress", kBarX, kBarY, 0, kBarHeight);
    Image_DiscSizeProgress->setAttribute(Qt::WA_StyledBackground);
    Image_DiscSizeProgress->setStyleSheet(QStringLiteral(
        "background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #3fbf6f, stop:0.8 #e0c040, stop:1 #e05040);"
        " border-radius: 3px;"));
    Image8500 = placeControl<TLabel>(client(), "Image8500", kBarX + kBarFullWidth - 60, kBarY + 20, 60, 18);
    Image8500->setText(QStringLiteral("8.5 GB"));
    Image8500->setAlignment(Qt::AlignRight);
    // The figure comes from the numbered texts, not from the window's captions.
    Label_DiscSize = placeControl<QLabel>(client(), "Label_DiscSize", kBarX, kBarY + 20, 300, 18);

    suiImageButton_Burn = placeControl<TsuiImageButton>(client(), "suiImageButton_Burn",
                                                        kClientWidth - kMargin - 2 * 110 - 8, kClientHeight - 46, 110, 32);
    suiImageButton_Burn->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    suiImageButton_Burn->setCaption(QStringLiteral("Burn"));
    suiImageButton_Close = placeControl<TsuiImageButton>(client(), "suiImageButton_Close",
                                                         kClientWidth - kMargin - 110, kClientHeight - 46, 110, 32);
    suiImageButton_Close->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    suiImageButton_Close->setCaption(QStringLiteral("Close"));
    connect(suiImageButton_Burn, &QAbstractButton::clicked, this, &TSetupDVDFileWindow::burn);
    connect(suiImageButton_Close, &QAbstractButton::clicked, this, &QDialog::reject);

    resetToEmpty();
}

std::string TSetupDVDFileWindow::text(int number) const
{
    return services_.language.GetUIText(number);
}

void TSetupDVDFileWindow::showEvent(QShowEvent *event)
{
    TsuiForm::showEvent(event);
    if (!event->spontaneous())
        resetToEmpty();
}

void TSetupDVDFileWindow::resetToEmpty()
{
    QStringList captions;
    for (int i = 0; i < 4; ++i)
        captions << qt(text(vt::common::kFirstGridHeaderText + i));
    suiStringGrid_DVDFiles->setColumnCaptions(captions);
    suiStringGrid_DVDFiles->setColumnWidths({366, 80, 80, 80});
    suiStringGrid_DVDFiles->fitCaptions(0);  // the figures' captions are wider in some fonts
    removeAction_->setText(qt(text(vt::common::kRemoveSelectedText)));
    clearAction_->setText(qt(text(vt::common::kClearText)));
    dvd5Limit_ = services_.settings.dvd5SizeKB;
    dvd9Limit_ = services_.settings.dvd9SizeKB;
    busy_ = false;
    sources_.reset();
    dvd5_ = services_.settings.dvd5;
    setDiscType(dvd5_);
    showRows();
}

void TSetupDVDFileWindow::setDiscType(bool dvd5)
{
    dvd5_ = dvd5;
    suiImageButton_DVD5->setVisible(dvd5);
    suiImageButton_DVD9->setVisible(!dvd5);
    Image8500->setVisible(!dvd5);
    showSizeBar();
}

void TSetupDVDFileWindow::showRows()
{
    const std::vector<vt::burn::BurnSourceRow> &rows = sources_.rows();
    suiStringGrid_DVDFiles->clearContents();
    suiStringGrid_DVDFiles->setRowCount(std::max<int>(kMinimumDataRows, int(rows.size())));
    for (int row = 0; row < int(rows.size()); ++row) {
        suiStringGrid_DVDFiles->setCell(0, row, qt(rows[row].path));
        suiStringGrid_DVDFiles->setCell(1, row, qt(rows[row].format));
        suiStringGrid_DVDFiles->setCell(2, row, qt(rows[row].sizeMB));
        suiStringGrid_DVDFiles->setCell(3, row, qt(rows[row].duration));
    }
    showSizeBar();
}

void TSetupDVDFileWindow::showSizeBar()
{
    const int64_t limit = dvd5_ ? dvd5Limit_ : dvd9Limit_;
    const int width = vt::burn::DiscBarWidth(sources_.totalKB(), limit, kBarFullWidth);
    Image_DiscSizeProgress->resize(width, kBarHeight);
    Image_DiscSizeProgress->setVisible(width > 0);
    Label_DiscSize->setText(qt(text(vt::common::kDiscSizeText)).arg(sources_.totalKB() / 1024).arg(limit / 1024));
}

void TSetupDVDFileWindow::chooseFolder()
{
    if (busy_)
        return;
    const QString folder = vt::DialogService::current().chooseFolder(
        this, qt(text(vt::common::kBrowseCaptionText)), QDir::homePath());
    if (folder.isEmpty())
        return;
    busy_ = true;
    const bool authored = sources_.chooseFolder(folder.toStdString());
    busy_ = false;
    if (authored)
        vt::common::ClearProject();
    showRows();
    if (!authored) {
        if (const std::string mismatch = vt::project::TvSystemMismatchMessage(services_.language, services_.clips); !mismatch.empty())
            vt::DialogService::current().information(this, qt(mismatch));
    }
}

void TSetupDVDFileWindow::addFiles()
{
    if (busy_)
        return;
    vt::FileDialogRequest request;
    request.caption = QStringLiteral("Add DVD Burning File");
    request.filter = qt(services_.settings.vobDialogFilter);
    request.multiSelect = true;
    const vt::FileDialogResult chosen = vt::DialogService::current().openFiles(this, request);
    if (!chosen.accepted())
        return;
    busy_ = true;
    std::vector<std::string> files;
    for (const QString &file : chosen.files)
        files.push_back(file.toStdString());
    std::unique_ptr<TProgressWindow> progress;
    if (files.size() > 1) {
        progress = std::make_unique<TProgressWindow>(this);
        progress->start(int(files.size()), QString::fromStdString(services_.language.GetUIText(vt::common::kAddingClipsText)));
    }
    sources_.addVobFiles(files, [&](int index) {
        if (!progress)
            return;
        if (index > 0)
            progress->step();
        progress->setInfo(qt(files[size_t(index)]));
    });
    progress.reset();
    showRows();
    if (const std::string mismatch = vt::project::TvSystemMismatchMessage(services_.language, services_.clips); !mismatch.empty())
        vt::DialogService::current().information(this, qt(mismatch));
    busy_ = false;
}

void TSetupDVDFileWindow::burn()
{
    if (busy_)
        return;
    if (sources_.mode() == vt::burn::BurnSourceMode::Folder) {
        if (next_.burnFolder)
            next_.burnFolder(sources_.folder());
        return;
    }
    if (services_.clips.empty()) {
        vt::DialogService::current().information(this, qt(text(vt::common::kNoFileText)));
        return;
    }
    if (const std::string mismatch = vt::project::TvSystemMismatchMessage(services_.language, services_.clips); !mismatch.empty()) {
        vt::DialogService::current().error(this, qt(mismatch));
        return;
    }
    if (next_.compileVobs)
        next_.compileVobs(vt::burn::CompilerAspect(services_.clips[0].aspectCode));
}

int TSetupDVDFileWindow::gridRowAt(const QPoint &viewportPoint) const
{
    const int dataRow = suiStringGrid_DVDFiles->rowAt(viewportPoint.y());
    return dataRow < 0 ? -1 : dataRow + 1;
}

QMenu *TSetupDVDFileWindow::gridMenuAt(const QPoint &viewportPoint)
{
    menuRow_ = gridRowAt(viewportPoint);
    if (menuRow_ > 0)
        suiStringGrid_DVDFiles->selectRow(menuRow_ - 1);
    removeAction_->setVisible(sources_.mode() == vt::burn::BurnSourceMode::Vob && menuRow_ >= 1 &&
                              menuRow_ <= sources_.clipCount());
    return gridMenu_;
}

void TSetupDVDFileWindow::done(int result)
{
    if (busy_)
        return;
    vt::common::ClearProject();
    TsuiForm::done(result);
}
