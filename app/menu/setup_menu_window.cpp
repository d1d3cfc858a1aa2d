#include "app/menu/setup_menu_window.h"

#include "app/common/extra_ui_texts.h"
#include "app/menu/background_image.h"
#include "app/menu/background_list.h"
#include "app/menu/button_image.h"
#include "app/menu/menu_disc_estimate.h"
#include "app/menu/menu_image.h"
#include "app/menu/setup_image_window.h"
#include "app/menu/setup_text_window.h"
#include "app/menu/text_item_font.h"
#include "app/project/clip_adding.h"
#include "app/project/clip_record.h"
#include "app/project/progress_window.h"
#include "app/project/setup_chapter_window.h"
#include "app/widgets/place_control.h"
#include "app/common/program_files.h"
#include "app/common/settings.h"
#include "app/common/ui_language.h"
#include "app/widgets/dialog_service.h"
#include "app/widgets/label.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"
#include "platform/paths.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <filesystem>

using vt::menu::MenuPage;
using vt::menu::PictureShape;
using vt::project::DiscType;
using vt::placeControl;

namespace {

constexpr int kToolX = 16, kToolWidth = 72;
constexpr int kMaterialX = 96, kMaterialY = 92, kMaterialWidth = 136, kMaterialHeight = 388;
constexpr int kMaterialStep = 97, kMaterialThumbTravel = 338;
constexpr int kSideX = vt::menu::kPanelLeft + vt::menu::kPanelWidth + 12, kSideWidth = 72;
constexpr int kStripX = 16, kStripY = 524, kStripEntries = 6, kStripStep = 102, kStripHeight = 88;
constexpr int kStripThumbTravel = 550;
constexpr int kDiscBarX = 104, kDiscBarY = 656, kDiscBarHeight = 18;
constexpr int kCreateMenuDelayMs = 200;
constexpr int kTitleButtonText = 44;  // "Double Click to Edit"

bool fileExists(const std::string &path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

TLabel *addLabel(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    auto *label = placeControl<TLabel>(parent, name, place.x(), place.y(), place.width(), place.height());
    label->setText(caption);
    return label;
}

QAction *addNamedAction(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

TSetupMenuWindow::TSetupMenuWindow(Services services, QWidget *parent)
    : TsuiForm(parent)
    , services_(std::move(services))
    , model_(services_.design, services_.clips)
    , grabber_(services_.libraryFolder)
{
    setObjectName(QStringLiteral("SetupMenuWindow"));
    setWindowTitle(QStringLiteral("DVD Menu"));
    setModal(true);
    setClientSize(kClientWidth, kClientHeight);
    grabber_.whileWaiting = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };

    auto *page = placeControl<TsuiImagePanel>(client(), "suiImagePanel_Menu", 0, 0, kClientWidth, kClientHeight);
    page->setSkinPicture(QStringLiteral("page"));
    page->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label_MenuTitle = addLabel(client(), "Label_MenuTitle", QStringLiteral("DVD Menu"), QRect(16, 14, 300, 30));
    Label_MenuTitle->setStyleSheet(QStringLiteral("font-size: 13pt; font-weight: bold;"));

    Timer_CreateMenu = new QTimer(this);
    Timer_CreateMenu->setObjectName(QStringLiteral("Timer_CreateMenu"));
    Timer_CreateMenu->setSingleShot(true);
    Timer_CreateMenu->setInterval(kCreateMenuDelayMs);
    connect(Timer_CreateMenu, &QTimer::timeout, this, &TSetupMenuWindow::buildMenuNow);

    buildPreviewPanel();
    buildMaterialStrip();
    buildClipStrip();
    buildPageButtons();
    buildDiscArea();
    buildMenus();

    model_.setSafeDistance(services_.settings.menuSafeDistance);
    model_.setBackButtonSize(backButton_->size());
    placePanel();
    placeBackButton();
    showDiscChoices();
    updatePageButtons();
}

TSetupMenuWindow::~TSetupMenuWindow()
{
    grabber_.close();
}

QString TSetupMenuWindow::text(int number) const
{
    return QString::fromStdString(services_.language.GetUIText(number));
}

TsuiImageButton *TSetupMenuWindow::addButton(const char *name, const QString &caption, const QRect &place, bool accent)
{
    auto *button = placeControl<TsuiImageButton>(client(), name, place.x(), place.y(), place.width(), place.height());
    button->setSkinPicture(accent ? QStringLiteral("button_accent") : QStringLiteral("button"),
                           vt::Skin::Fit::NineSlice);
    button->setCaption(caption);
    button->setToolTip(caption);
    return button;
}

// ---- building the window ------------------------------------------------------

// The safe-area frame over the background: dash-dot yellow, inset by the
// safe distance.
class SafeAreaFrame : public QWidget {
public:
    SafeAreaFrame(const vt::menu::MenuEditorModel &model, QWidget *parent)
        : QWidget(parent)
        , model_(model)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const QRect frame = model_.panel().safeFrame();
        if (frame.isNull())
            return;
        QPainter painter(this);
        painter.setPen(QPen(QColor(255, 255, 0), 1, Qt::DashDotLine));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }

private:
    const vt::menu::MenuEditorModel &model_;
};

void TSetupMenuWindow::buildPreviewPanel()
{
    Panel_MenuPreview = placeControl<QWidget>(client(), "Panel_MenuPreview", vt::menu::kPanelLeft,
                                              vt::menu::kStandardPanelTop, vt::menu::kPanelWidth,
                                              vt::menu::kStandardPanelHeight);
    Panel_MenuPreview->setAttribute(Qt::WA_StyledBackground);
    Panel_MenuPreview->setStyleSheet(QStringLiteral("#Panel_MenuPreview { background: black; }"));
    Image_Background = placeControl<QLabel>(Panel_MenuPreview, "Image_Background", 0, 0, vt::menu::kPanelWidth,
                                            vt::menu::kStandardPanelHeight);
    Image_Background->installEventFilter(this);
    PaintBox_Safe = new SafeAreaFrame(model_, Panel_MenuPreview);
    PaintBox_Safe->setObjectName(QStringLiteral("PaintBox_Safe"));

    backButton_ = placeControl<QLabel>(Panel_MenuPreview, "Image_BackButton", 0, 0, 0, 0);
    const QImage back(QString::fromStdString(
        vt::resolveCaseInsensitive(services_.programFolder + vt::common::kResFolder + "BackBmp.bmp")));
    if (!back.isNull()) {
        backButton_->setPixmap(QPixmap::fromImage(back));
        backButton_->resize(back.size());
    }
    backButton_->setCursor(Qt::PointingHandCursor);
    backButton_->installEventFilter(this);

    Label_BackgroundMusic = addLabel(client(), "Label_BackgroundMusic", QString(),
                                     QRect(vt::menu::kPanelLeft, 490, vt::menu::kPanelWidth - 40, 24));
}

void TSetupMenuWindow::buildMaterialStrip()
{
    addLabel(client(), "Label_Material", QStringLiteral("Backgrounds"), QRect(kMaterialX, 64, kMaterialWidth, 22));
    Panel_Material = placeControl<QWidget>(client(), "Panel_Material", kMaterialX, kMaterialY, kMaterialWidth,
                                           kMaterialHeight);
    Panel_Material->setAttribute(Qt::WA_StyledBackground);
    Panel_Material->setStyleSheet(QStringLiteral("#Panel_Material { background: #797571; border-radius: 4px; }"));
    Panel_MaterialScroll = placeControl<QWidget>(Panel_Material, "Panel_MaterialScroll", 0, 0, kMaterialWidth, 0);

    const std::vector<std::string> files = vt::menu::LoadBackgroundList(services_.programFolder);
    std::vector<std::string> loaded;
    for (const std::string &file : files) {
        auto *image = new TBackgroundImage(Panel_MaterialScroll);
        if (!image->loadFromFile(file)) {
            delete image;
            continue;
        }
        image->move(16, static_cast<int>(loaded.size()) * kMaterialStep + 12);
        connect(image, &TBackgroundImage::clicked, this,
                [this](TBackgroundImage *chosen) { setBackground(chosen->fileName()); });
        backgroundViews_.push_back(image);
        loaded.push_back(file);
    }
    Panel_MaterialScroll->resize(kMaterialWidth, std::max<int>(kMaterialHeight, static_cast<int>(loaded.size()) *
                                                                                    kMaterialStep + 12));
    model_.setBackgrounds(loaded);

    auto *track = placeControl<QWidget>(client(), "Panel_MaterialBar", kMaterialX + kMaterialWidth + 6, kMaterialY, 14,
                                        kMaterialHeight);
    track->setAttribute(Qt::WA_StyledBackground);
    track->setStyleSheet(QStringLiteral("background: #1d2635; border-radius: 6px;"));
    suiImageButton_MaterialBar = placeControl<TsuiImageButton>(track, "suiImageButton_MaterialBar", 0, 0, 14,
                                                               kMaterialHeight - kMaterialThumbTravel);
    suiImageButton_MaterialBar->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    suiImageButton_MaterialBar->installEventFilter(this);
}

void TSetupMenuWindow::buildClipStrip()
{
    Panel_Clips = placeControl<QWidget>(client(), "Panel_Clips", kStripX, kStripY, kStripEntries * kStripStep,
                                        kStripHeight);
    Panel_Clips->setAttribute(Qt::WA_StyledBackground);
    Panel_Clips->setStyleSheet(QStringLiteral("#Panel_Clips { background: #797571; border-radius: 4px; }"));
    Panel_ClipScroll = placeControl<QWidget>(Panel_Clips, "Panel_ClipScroll", 0, 0, 0, kStripHeight);

    auto *track = placeControl<QWidget>(client(), "Panel_InfoBar", kStripX, kStripY + kStripHeight + 6,
                                        kStripEntries * kStripStep, 12);
    track->setAttribute(Qt::WA_StyledBackground);
    track->setStyleSheet(QStringLiteral("background: #1d2635; border-radius: 6px;"));
    suiImageButton_InfoBar = placeControl<TsuiImageButton>(track, "suiImageButton_InfoBar", 0, 0,
                                                           kStripEntries * kStripStep - kStripThumbTravel, 12);
    suiImageButton_InfoBar->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    suiImageButton_InfoBar->installEventFilter(this);

    suiCheckBox_AddDVDMenu = placeControl<TsuiCheckBox>(client(), "suiCheckBox_AddDVDMenu",
                                                        kStripX + kStripEntries * kStripStep + 12, kStripY, 220, 24);
    suiCheckBox_AddDVDMenu->setText(QStringLiteral("Auto Add DVD Root Menu"));
    connect(suiCheckBox_AddDVDMenu, &QAbstractButton::clicked, this, [this](bool checked) {
        suiImageButton_ChapterMenu->setVisible(checked);
        services_.settings.addChapterMenu = checked;
        services_.design.chapterMenus = checked;
        if (!busy_ && model_.selectedClip() >= 0)
            showTitlePage();
    });
}

void TSetupMenuWindow::buildPageButtons()
{
    const int y = 56;
    int x = vt::menu::kPanelLeft;
    auto next = [&x](int width) {
        const QRect place(x, y, width, 28);
        x += width + 6;
        return place;
    };
    suiImageButton_TitleMenu = addButton("suiImageButton_TitleMenu", QStringLiteral("Title Menu"), next(96));
    suiImageButton_ChapterMenu = addButton("suiImageButton_ChapterMenu", QStringLiteral("Chapter Menu"), next(110));
    // The chapter button and the title-menu button share a place: one is
    // shown on each page.
    const QRect shared = next(116);
    suiImageButton_DisplaySubMenu = addButton("suiImageButton_DisplaySubMenu", QStringLiteral("Chapters..."), shared);
    suiImageButton_Up = addButton("suiImageButton_Up", QStringLiteral("To Title Menu"), shared);
    suiImageButton_DeleteChapter = addButton("suiImageButton_DeleteChapter", QStringLiteral("Delete"), next(70));
    suiImageButton_Down = addButton("suiImageButton_Down", QStringLiteral("Off Title Menu"), QRect(x, y, 10, 28));
    suiImageButton_Down->hide();
    suiImageButton_SwitchButton = addButton("suiImageButton_SwitchButton", QString(), QRect(x, y, 10, 28));
    suiImageButton_SwitchButton->hide();
    connect(suiImageButton_TitleMenu, &QAbstractButton::clicked, this, &TSetupMenuWindow::showTitlePage);
    connect(suiImageButton_ChapterMenu, &QAbstractButton::clicked, this, &TSetupMenuWindow::showChapterPage);
    connect(suiImageButton_DisplaySubMenu, &QAbstractButton::clicked, this, &TSetupMenuWindow::setupChapters);
    connect(suiImageButton_DeleteChapter, &QAbstractButton::clicked, this, &TSetupMenuWindow::deleteChapter);
    connect(suiImageButton_Up, &QAbstractButton::clicked, this, [this] { addToTitleMenu(model_.selectedClip()); });
    connect(suiImageButton_Down, &QAbstractButton::clicked, this,
            [this] { removeFromTitleMenu(model_.selectedClip()); });
    connect(suiImageButton_SwitchButton, &QAbstractButton::clicked, this, [this] {
        if (model_.page() == MenuPage::Chapter)
            showTitlePage();
        else
            showChapterPage();
    });

    suiImageButton_4_3 = placeControl<TsuiImageButton>(client(), "suiImageButton_4_3", kSideX, 92, kSideWidth, 46);
    suiImageButton_4_3->setSkinPicture(QStringLiteral("picture_4_3"), vt::Skin::Fit::Scale);
    suiImageButton_4_3->setToolTip(QStringLiteral("4:3"));
    suiImageButton_16_9 = placeControl<TsuiImageButton>(client(), "suiImageButton_16_9", kSideX, 92, kSideWidth, 46);
    suiImageButton_16_9->setSkinPicture(QStringLiteral("picture_16_9"), vt::Skin::Fit::Scale);
    suiImageButton_16_9->setToolTip(QStringLiteral("16:9"));
    connect(suiImageButton_4_3, &QAbstractButton::clicked, this, &TSetupMenuWindow::switchShape);
    connect(suiImageButton_16_9, &QAbstractButton::clicked, this, &TSetupMenuWindow::switchShape);

    suiImageButton_Text = addButton("suiImageButton_Text", QStringLiteral("Add Text"), QRect(kSideX, 160, kSideWidth, 30));
    suiImageButton_AddImage = addButton("suiImageButton_AddImage", QStringLiteral("Picture..."),
                                        QRect(kSideX, 196, kSideWidth, 30));
    suiImageButton_AddMusic = addButton("suiImageButton_AddMusic", QStringLiteral("Music..."),
                                        QRect(kSideX, 232, kSideWidth, 30));
    suiImageButton_RemoveMusic = addButton("suiImageButton_RemoveMusic", QStringLiteral("No Music"),
                                           QRect(kSideX, 232, kSideWidth, 30));
    connect(suiImageButton_Text, &QAbstractButton::clicked, this, [this] { addText({0, 0}); });
    connect(suiImageButton_AddImage, &QAbstractButton::clicked, this, &TSetupMenuWindow::chooseBackgroundFile);
    connect(suiImageButton_AddMusic, &QAbstractButton::clicked, this, &TSetupMenuWindow::addMusic);
    connect(suiImageButton_RemoveMusic, &QAbstractButton::clicked, this, &TSetupMenuWindow::removeMusic);

    int toolY = kMaterialY;
    auto tool = [&toolY](int height = 30) {
        const QRect place(kToolX, toolY, kToolWidth, height);
        toolY += height + 6;
        return place;
    };
    suiImageButton_AddFile = addButton("suiImageButton_AddFile", QStringLiteral("Add VOB..."), tool(), true);
    suiImageButton_RemoveFile = addButton("suiImageButton_RemoveFile", QStringLiteral("Remove"), tool());
    suiImageButton_Left = addButton("suiImageButton_Left", QStringLiteral("◀ Left"), tool());
    suiImageButton_Right = addButton("suiImageButton_Right", QStringLiteral("Right ▶"), tool());
    connect(suiImageButton_AddFile, &QAbstractButton::clicked, this, qOverload<>(&TSetupMenuWindow::addVobFiles));
    connect(suiImageButton_RemoveFile, &QAbstractButton::clicked, this, &TSetupMenuWindow::removeSelectedFile);
    connect(suiImageButton_Left, &QAbstractButton::clicked, this, [this] { moveSelected(-1); });
    connect(suiImageButton_Right, &QAbstractButton::clicked, this, [this] { moveSelected(1); });

    const int bottom = kClientHeight - 46;
    suiImageButton_Option = addButton("suiImageButton_Option", QStringLiteral("Settings"), QRect(16, bottom, 110, 30));
    suiImageButton_Clip = addButton("suiImageButton_Clip", QStringLiteral("Clip List"), QRect(132, bottom, 110, 30));
    suiImageButton_Close = addButton("suiImageButton_Close", QStringLiteral("Close"),
                                     QRect(kClientWidth - 16 - 110 - 8 - 110, bottom, 110, 30));
    suiImageButton_Burn = addButton("suiImageButton_Burn", QStringLiteral("Next"),
                                    QRect(kClientWidth - 16 - 110, bottom, 110, 30), true);
    connect(suiImageButton_Option, &QAbstractButton::clicked, this, &TSetupMenuWindow::openSettings);
    connect(suiImageButton_Clip, &QAbstractButton::clicked, this, &TSetupMenuWindow::backToClipList);
    connect(suiImageButton_Close, &QAbstractButton::clicked, this, &TSetupMenuWindow::closeProject);
    connect(suiImageButton_Burn, &QAbstractButton::clicked, this, &TSetupMenuWindow::goNext);
}

void TSetupMenuWindow::buildDiscArea()
{
    suiImageButton_DVD5 = placeControl<TsuiImageButton>(client(), "suiImageButton_DVD5", 16, kDiscBarY - 14, 80, 46);
    suiImageButton_DVD5->setSkinPicture(QStringLiteral("picture_D5"), vt::Skin::Fit::Scale);
    suiImageButton_DVD5->setToolTip(QStringLiteral("DVD-5"));
    suiImageButton_DVD9 = placeControl<TsuiImageButton>(client(), "suiImageButton_DVD9", 16, kDiscBarY - 14, 80, 46);
    suiImageButton_DVD9->setSkinPicture(QStringLiteral("picture_9"), vt::Skin::Fit::Scale);
    suiImageButton_DVD9->setToolTip(QStringLiteral("DVD-9"));
    connect(suiImageButton_DVD5, &QAbstractButton::clicked, this, [this] { setDiscType(DiscType::DVD9); });
    connect(suiImageButton_DVD9, &QAbstractButton::clicked, this, [this] { setDiscType(DiscType::DVD5); });

    auto *trough = placeControl<QWidget>(client(), "Panel_DiscSize", kDiscBarX - 2, kDiscBarY - 2,
                                         vt::menu::kMenuSizeBarWidth + 4, kDiscBarHeight + 4);
    trough->setAttribute(Qt::WA_StyledBackground);
    trough->setStyleSheet(QStringLiteral("background: #1d2635; border-radius: 4px;"));
    Image_DiscSizeProgress = placeControl<QWidget>(client(), "Image_DiscSizeProgress", kDiscBarX, kDiscBarY, 0,
                                                   kDiscBarHeight);
    Image_DiscSizeProgress->setAttribute(Qt::WA_StyledBackground);
    Image_DiscSizeProgress->setStyleSheet(QStringLiteral(
        "background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #3fbf6f, stop:0.8 #e0c040, stop:1 #e05040);"
        " border-radius: 3px;"));
    addLabel(client(), "Image4700", QStringLiteral("4.7 GB"),
             QRect(kDiscBarX + vt::menu::kMenuSizeBarWidth - 60, kDiscBarY + 22, 60, 18))
        ->setAlignment(Qt::AlignRight);
    Image8500 = addLabel(client(), "Image8500", QStringLiteral("8.5 GB"),
                         QRect(kDiscBarX + vt::menu::kMenuSizeBarWidth - 130, kDiscBarY + 22, 60, 18));
    Label_DiscSize = addLabel(client(), "Label_DiscSize", QString(), QRect(kDiscBarX, kDiscBarY + 22, 400, 18));
}

void TSetupMenuWindow::buildMenus()
{
    stripMenu_ = new QMenu(this);
    connect(addNamedAction(stripMenu_, "Add", QString()), &QAction::triggered, this, [this] { addToTitleMenu(menuClip_); });
    connect(addNamedAction(stripMenu_, "Remove", QString()), &QAction::triggered, this,
            [this] { removeFromTitleMenu(menuClip_); });

    titleButtonMenu_ = new QMenu(this);
    connect(addNamedAction(titleButtonMenu_, "Image", QString()), &QAction::triggered, this,
            [this] { editTitleButtonImage(menuClip_); });
    connect(addNamedAction(titleButtonMenu_, "Chapter", QString()), &QAction::triggered, this, [this] {
        if (suiImageButton_DisplaySubMenu->isEnabled())
            setupChapters();
    });
    connect(addNamedAction(titleButtonMenu_, "Remove", QString()), &QAction::triggered, this,
            [this] { removeFromTitleMenu(menuClip_); });
    titleButtonMenu_->addSeparator();
    QAction *lock = addNamedAction(titleButtonMenu_, "LockRatio", QString());
    lock->setCheckable(true);
    connect(lock, &QAction::triggered, this, [this] {
        if (menuButton_)
            toggleLockRatio(*menuButton_);
    });

    chapterButtonMenu_ = new QMenu(this);
    connect(addNamedAction(chapterButtonMenu_, "Image", QString()), &QAction::triggered, this,
            [this] { editChapterButtonImage(model_.selectedChapterButton()); });
    QAction *chapterLock = addNamedAction(chapterButtonMenu_, "LockRatio", QString());
    chapterLock->setCheckable(true);
    connect(chapterLock, &QAction::triggered, this, [this] {
        if (menuButton_)
            toggleLockRatio(*menuButton_);
    });

    previewMenu_ = new QMenu(this);
    connect(addNamedAction(previewMenu_, "Add", QString()), &QAction::triggered, this, [this] { addText(menuPoint_); });
    connect(addNamedAction(previewMenu_, "Clear", QString()), &QAction::triggered, this, &TSetupMenuWindow::clearTexts);

    textMenu_ = new QMenu(this);
    connect(addNamedAction(textMenu_, "Setup", QString()), &QAction::triggered, this, [this] { editText(menuText_); });
    connect(addNamedAction(textMenu_, "Delete", QString()), &QAction::triggered, this, [this] { deleteText(menuText_); });
    captionControls();
}

// Texts of the menus and music label come from the UI language of the
// moment (it is loaded after the windows are created).
void TSetupMenuWindow::captionControls()
{
    const std::pair<QMenu *, std::vector<std::pair<const char *, int>>> menus[] = {
        {stripMenu_, {{"Add", 31}, {"Remove", 32}}},
        {titleButtonMenu_, {{"Image", 55}, {"Chapter", 33}, {"Remove", 32}, {"LockRatio", 36}}},
        {chapterButtonMenu_, {{"Image", 56}, {"LockRatio", 36}}},
        {previewMenu_, {{"Add", 45}, {"Clear", 48}}},
        {textMenu_, {{"Setup", 46}, {"Delete", 47}}},
    };
    for (const auto &[menu, items] : menus)
        for (const auto &[name, number] : items)
            if (auto *action = menu->findChild<QAction *>(QLatin1String(name)))
                action->setText(text(number));
    suiImageButton_Text->setCaption(text(45));
    suiImageButton_Text->setToolTip(text(45));
}

// ---- modes and showing ----------------------------------------------------------

void TSetupMenuWindow::enterFromClipList(DiscType disc, bool shape4_3)
{
    mode_ = Mode::FromClipList;
    if (services_.clips.empty())
        services_.design.titlePage.backButton = vt::menu::kInitialBackButton;
    model_.setBackButtonSize(backButton_->size());
    disc_ = disc;
    model_.switchShape(shape4_3 ? PictureShape::Standard : PictureShape::Wide);
    for (QWidget *control : std::initializer_list<QWidget *>{suiImageButton_4_3, suiImageButton_16_9,
                                                             suiImageButton_DVD5, suiImageButton_DVD9})
        control->setEnabled(false);
    for (QWidget *control : std::initializer_list<QWidget *>{suiImageButton_AddFile, suiImageButton_RemoveFile,
                                                             suiImageButton_Option, suiImageButton_Left,
                                                             suiImageButton_Right})
        control->hide();
    suiImageButton_Clip->show();
    placePanel();
    showDiscChoices();
}

void TSetupMenuWindow::enterCompilerMode()
{
    mode_ = Mode::Compiler;
    if (services_.clips.empty())
        services_.design.titlePage.backButton = vt::menu::kInitialBackButton;
    model_.setBackButtonSize(backButton_->size());
    disc_ = services_.settings.dvd5 ? DiscType::DVD5 : DiscType::DVD9;
    model_.switchShape(services_.settings.shape4x3 ? PictureShape::Standard : PictureShape::Wide);
    for (QWidget *control : std::initializer_list<QWidget *>{suiImageButton_4_3, suiImageButton_16_9,
                                                             suiImageButton_DVD5, suiImageButton_DVD9})
        control->setEnabled(true);
    for (QWidget *control : std::initializer_list<QWidget *>{suiImageButton_AddFile, suiImageButton_RemoveFile,
                                                             suiImageButton_Option, suiImageButton_Left,
                                                             suiImageButton_Right})
        control->show();
    suiImageButton_Clip->hide();
    placePanel();
    showDiscChoices();
}

void TSetupMenuWindow::showEvent(QShowEvent *event)
{
    captionControls();
    suiCheckBox_AddDVDMenu->setChecked(services_.settings.addChapterMenu);
    services_.design.chapterMenus = services_.settings.addChapterMenu;
    suiImageButton_ChapterMenu->setVisible(suiCheckBox_AddDVDMenu->isChecked());
    busy_ = adding_ = mayClose_ = false;
    Timer_CreateMenu->start();
    TsuiForm::showEvent(event);
}

void TSetupMenuWindow::buildMenuNow()
{
    Timer_CreateMenu->stop();
    busy_ = true;
    model_.setSafeDistance(services_.settings.menuSafeDistance);
    // The window's title, in the UI language, heads the title menu.
    model_.setTitleHeading(Label_MenuTitle->text().toStdString());
    {
        std::unique_ptr<TProgressWindow> progress;
        if (!services_.clips.empty()) {
            progress = std::make_unique<TProgressWindow>(this);
            progress->start(2 * services_.clips.count(), text(vt::common::kCreatingMenuImageText));
        }
        model_.buildMenu(grabber_, [&progress] {
            if (progress)
                progress->step();
        });
    }
    if (model_.selectedClip() >= services_.clips.count())
        model_.clearSelection();
    if (model_.selectedClip() < 0 && !services_.clips.empty())
        model_.selectClip(0);
    model_.showTitlePage();
    rebuildStrip();
    showPage();
    showDiscChoices();
    busy_ = false;
    built_ = true;
    updatePageButtons();
}

// ---- the clip strip -------------------------------------------------------------

void TSetupMenuWindow::rebuildStrip()
{
    for (TMenuImage *entry : stripEntries_)
        delete entry;
    stripEntries_.clear();
    for (int i = 0; i < services_.clips.count(); ++i) {
        auto *entry = new TMenuImage(services_.clips[i], services_.bitmaps, Panel_ClipScroll);
        entry->move(i * kStripStep + (kStripStep - TMenuImage::kWidth) / 2, 8);
        connect(entry, &TMenuImage::clicked, this, [this](TMenuImage *clicked) {
            const auto it = std::find(stripEntries_.begin(), stripEntries_.end(), clicked);
            if (it != stripEntries_.end())
                selectClip(static_cast<int>(it - stripEntries_.begin()));
        });
        connect(entry, &TMenuImage::menuRequested, this, [this](TMenuImage *clicked, QPoint global) {
            const auto it = std::find(stripEntries_.begin(), stripEntries_.end(), clicked);
            menuClip_ = static_cast<int>(it - stripEntries_.begin());
            stripMenu_->popup(global);
        });
        entry->show();
        stripEntries_.push_back(entry);
    }
    Panel_ClipScroll->resize(std::max(1, services_.clips.count()) * kStripStep, kStripHeight);
    scrollStrip(suiImageButton_InfoBar->x());
    showSelection();
}

void TSetupMenuWindow::scrollStrip(int thumbLeft)
{
    thumbLeft = std::clamp(thumbLeft, 0, kStripThumbTravel);
    suiImageButton_InfoBar->move(thumbLeft, 0);
    const int hidden = std::max(0, services_.clips.count() - kStripEntries);
    Panel_ClipScroll->move(-((hidden * thumbLeft) / kStripThumbTravel) * kStripStep, 0);
}

void TSetupMenuWindow::scrollMaterial(int thumbTop)
{
    thumbTop = std::clamp(thumbTop, 0, kMaterialThumbTravel);
    suiImageButton_MaterialBar->move(0, thumbTop);
    const int hidden = std::max(0, static_cast<int>(backgroundViews_.size()) - 4);
    Panel_MaterialScroll->move(0, -((hidden * thumbTop) / kMaterialThumbTravel) * kMaterialStep);
}

void TSetupMenuWindow::selectClip(int index)
{
    if (index < 0 || index >= services_.clips.count())
        return;
    const MenuPage before = model_.page();
    const int previous = model_.selectedClip();
    model_.selectClip(index);
    if (model_.page() != before || (before == MenuPage::Chapter && previous != index))
        showPage();
    else
        showSelection();
    for (TButtonImage *view : buttonViews_)
        if (view->isSelected())
            view->raise();
    updatePageButtons();
}

// ---- pages -----------------------------------------------------------------------

QSize TSetupMenuWindow::panelSize() const
{
    return model_.panel().size();
}

void TSetupMenuWindow::placePanel()
{
    const vt::menu::MenuPanel panel = model_.panel();
    Panel_MenuPreview->setGeometry(vt::menu::kPanelLeft, panel.top(), panel.size().width(), panel.size().height());
    Image_Background->resize(panel.size());
    PaintBox_Safe->resize(panel.size());
    const bool standard = panel.shape == PictureShape::Standard;
    suiImageButton_4_3->setVisible(standard);
    suiImageButton_16_9->setVisible(!standard);
    Label_BackgroundMusic->move(vt::menu::kPanelLeft, vt::menu::kStandardPanelTop + vt::menu::kStandardPanelHeight + 10);
    showBackground();
}

void TSetupMenuWindow::showTitlePage()
{
    model_.showTitlePage();
    showPage();
    updatePageButtons();
}

void TSetupMenuWindow::showChapterPage()
{
    if (model_.showChapterPage())
        showPage();
    updatePageButtons();
}

void TSetupMenuWindow::showPage()
{
    for (TButtonImage *view : buttonViews_)
        delete view;
    buttonViews_.clear();
    for (TLabel *view : textViews_)
        delete view;
    textViews_.clear();
    dragging_ = false;
    dragWidget_ = nullptr;

    auto connectView = [this](TButtonImage *view) {
        connect(view, &TButtonImage::pressed, this, &TSetupMenuWindow::onButtonPressed);
        connect(view, &TButtonImage::dragged, this, &TSetupMenuWindow::onButtonDragged);
        connect(view, &TButtonImage::released, this, &TSetupMenuWindow::onButtonReleased);
        connect(view, &TButtonImage::menuRequested, this, &TSetupMenuWindow::onButtonMenu);
        connect(view, &TButtonImage::doubleClicked, this, &TSetupMenuWindow::onButtonDoubleClicked);
        view->show();
        buttonViews_.push_back(view);
    };
    if (model_.page() == MenuPage::Title) {
        for (int i = 0; i < services_.clips.count(); ++i) {
            const vt::menu::ClipMenu *menu = services_.design.menuOf(services_.clips[i]);
            if (!menu || !menu->titleButton)
                continue;
            auto *view = new TButtonImage(Panel_MenuPreview);
            view->setObjectName(QStringLiteral("TitleButton_%1").arg(i));
            view->setProperty("clip", i);
            view->setButton(*menu->titleButton, services_.clips[i].snapshot);
            connectView(view);
        }
    } else if (vt::menu::ChapterPage *page = model_.shownChapterPage()) {
        for (size_t k = 0; k < page->buttons.size(); ++k) {
            auto *view = new TSubButtonImage(static_cast<int>(k), Panel_MenuPreview);
            view->setObjectName(QStringLiteral("ChapterButton_%1").arg(k));
            view->setButton(page->buttons[k], page->buttons[k].picture);
            connectView(view);
        }
    }
    if (std::vector<vt::menu::TextItem> *texts = model_.pageTexts()) {
        for (size_t k = 0; k < texts->size(); ++k) {
            vt::menu::TextItem &item = (*texts)[k];
            auto *label = new TLabel(Panel_MenuPreview);
            label->setObjectName(QStringLiteral("MenuText_%1").arg(k));
            label->setText(QString::fromStdString(item.text));
            label->setFont(vt::menu::FontOfTextItem(item));
            label->setStyleSheet(QStringLiteral("color: %1; background: transparent;")
                                     .arg(ColourOfValue(item.colour).name()));
            label->setCursor(Qt::PointingHandCursor);
            model_.placeText(item, QRect(item.bounds.topLeft(), vt::menu::TextItemSize(item)));
            label->setGeometry(item.bounds);
            label->installEventFilter(this);
            label->show();
            textViews_.push_back(label);
        }
    }
    placeBackButton();
    backButton_->raise();
    showBackground();
    showMusic();
    showSelection();
}

void TSetupMenuWindow::showSelection()
{
    const int selected = model_.selectedClip();
    for (size_t i = 0; i < stripEntries_.size(); ++i)
        stripEntries_[i]->setSelected(static_cast<int>(i) == selected);
    for (TButtonImage *view : buttonViews_) {
        if (auto *chapter = dynamic_cast<TSubButtonImage *>(view))
            view->setSelected(chapter->chapterIndex() == model_.selectedChapterButton());
        else
            view->setSelected(view->property("clip").toInt() == selected);
    }
}

void TSetupMenuWindow::placeBackButton()
{
    backButton_->move(model_.pageBackButton());
    backButton_->setVisible(model_.page() != MenuPage::None && !backButton_->size().isEmpty());
}

QImage TSetupMenuWindow::shownBackground() const
{
    return Image_Background->pixmap().toImage();
}

void TSetupMenuWindow::showBackground()
{
    const std::string file = model_.pageBackground();
    if (!fileExists(file)) {
        Image_Background->clear();
        return;
    }
    auto it = backgroundPictures_.find(file);
    if (it == backgroundPictures_.end())
        it = backgroundPictures_.emplace(file, vt::menu::LoadBackgroundPicture(file)).first;
    Image_Background->setPixmap(QPixmap::fromImage(vt::menu::ScaledBackground(it->second, panelSize())));
}

void TSetupMenuWindow::showMusic()
{
    const std::string music = model_.pageMusic();
    const bool present = fileExists(music);
    Label_BackgroundMusic->setText(present ? text(150) + QFileInfo(QString::fromStdString(music)).fileName()
                                           : text(151));
    suiImageButton_RemoveMusic->setVisible(present);
    suiImageButton_AddMusic->setVisible(!present);
}

void TSetupMenuWindow::updatePageButtons()
{
    const vt::menu::ClipMenu *menu = model_.selectedMenu();
    const bool hasChapterPage = menu && menu->chapterPage;
    const bool title = model_.page() != MenuPage::Chapter;
    suiImageButton_Up->setVisible(title);
    suiImageButton_DisplaySubMenu->setVisible(!title);
    suiImageButton_TitleMenu->setEnabled(!title);
    suiImageButton_ChapterMenu->setEnabled(title && hasChapterPage);
    suiImageButton_DisplaySubMenu->setEnabled(model_.selectedClip() >= 0);
    suiImageButton_SwitchButton->setEnabled(hasChapterPage);
}

// ---- title menu and chapters -----------------------------------------------------

void TSetupMenuWindow::addToTitleMenu(int index)
{
    if (busy_ || index < 0 || index >= services_.clips.count())
        return;
    busy_ = true;
    model_.putOnTitleMenu(index, grabber_);
    busy_ = false;
    showPage();
    updatePageButtons();
}

void TSetupMenuWindow::removeFromTitleMenu(int index)
{
    if (busy_ || index < 0 || index >= services_.clips.count())
        return;
    model_.takeOffTitleMenu(index);
    showPage();
    updatePageButtons();
}

void TSetupMenuWindow::setupChapters()
{
    const int index = model_.selectedClip();
    if (busy_ || index < 0 || !next_.chapterWindow)
        return;
    vt::project::ClipRecord &clip = services_.clips[index];
    if (!next_.chapterWindow->prepare(&clip) || next_.chapterWindow->exec() != QDialog::Accepted)
        return;
    busy_ = true;
    {
        auto progress = std::make_unique<TProgressWindow>(this);
        progress->start(std::max(1, next_.chapterWindow->count()), text(vt::common::kCreatingMenuImageText));
        model_.applyChapterTimes(index, grabber_, next_.chapterWindow->times(), [&progress] { progress->step(); });
    }
    busy_ = false;
    showPage();
    updatePageButtons();
}

void TSetupMenuWindow::deleteChapter()
{
    const int index = model_.selectedClip();
    if (busy_ || index < 0)
        return;
    if (model_.page() == MenuPage::Title) {
        model_.takeOffTitleMenu(index);
        showTitlePage();
        return;
    }
    if (model_.deleteChapterButton() == vt::menu::MenuEditorModel::ChapterDeletion::FirstChapter) {
        vt::DialogService::current().information(this, text(139));
        return;
    }
    showPage();
}

void TSetupMenuWindow::editTitleButtonImage(int index)
{
    if (busy_ || index < 0 || index >= services_.clips.count() || !next_.imageWindow)
        return;
    if (next_.imageWindow->editTitleButton(services_.clips[index])) {
        if (index < static_cast<int>(stripEntries_.size()))
            stripEntries_[static_cast<size_t>(index)]->refreshThumbnail();
        showPage();
    }
}

void TSetupMenuWindow::editChapterButtonImage(int chapterIndex)
{
    vt::menu::ChapterPage *page = model_.shownChapterPage();
    if (busy_ || !page || chapterIndex < 0 || chapterIndex >= static_cast<int>(page->buttons.size()) ||
        !next_.imageWindow)
        return;
    if (next_.imageWindow->editChapterButton(page->buttons[static_cast<size_t>(chapterIndex)],
                                             services_.clips[model_.selectedClip()]))
        showPage();
}

void TSetupMenuWindow::toggleLockRatio(vt::menu::MenuButton &button)
{
    const int index = model_.selectedClip();
    if (index < 0)
        return;
    model_.setLockRatio(button, services_.clips[index], !button.lockRatio);
    showPage();
}

// ---- texts ------------------------------------------------------------------------

void TSetupMenuWindow::addText(QPoint at)
{
    vt::menu::TextItem item;
    item.text = text(kTitleButtonText).toStdString();
    item.bounds = QRect(QPoint(0, 0), vt::menu::TextItemSize(item));
    if (model_.addText(item, at))
        showPage();
}

void TSetupMenuWindow::editText(int index)
{
    std::vector<vt::menu::TextItem> *texts = model_.pageTexts();
    if (!texts || index < 0 || index >= static_cast<int>(texts->size()) || !next_.textWindow)
        return;
    vt::menu::TextItem &item = (*texts)[static_cast<size_t>(index)];
    if (next_.textWindow->edit(item)) {
        model_.placeText(item, QRect(item.bounds.topLeft(), vt::menu::TextItemSize(item)));
        model_.refreshLayout();
        showPage();
    }
}

void TSetupMenuWindow::deleteText(int index)
{
    model_.removeText(index);
    showPage();
}

void TSetupMenuWindow::clearTexts()
{
    model_.clearTexts();
    showPage();
}

// ---- backgrounds and music ---------------------------------------------------------

void TSetupMenuWindow::setBackground(const std::string &file)
{
    if (model_.setPageBackground(file))
        showBackground();
}

void TSetupMenuWindow::chooseBackgroundFile()
{
    vt::FileDialogRequest request;
    request.filter = QStringLiteral(
        "Image File|*.jpg;*.bmp|Bitmap File (*.bmp,*.BMP)|*.bmp|Jpeg File (*.jpg,*.JPG)|*.jpg");
    const vt::FileDialogResult chosen = vt::DialogService::current().openFiles(this, request);
    QDir::setCurrent(QString::fromStdString(vt::ExePath()));
    if (chosen.accepted())
        setBackground(chosen.file().toStdString());
}

void TSetupMenuWindow::addMusic()
{
    vt::FileDialogRequest request;
    request.filter = QString::fromStdString(services_.settings.musicDialogFilter);
    const vt::FileDialogResult chosen = vt::DialogService::current().openFiles(this, request);
    QDir::setCurrent(QString::fromStdString(vt::ExePath()));
    if (!chosen.accepted())
        return;
    model_.setPageMusic(chosen.file().toStdString());
    showMusic();
}

void TSetupMenuWindow::removeMusic()
{
    if (vt::DialogService::current().showMessage(this, QCoreApplication::applicationName(), text(149),
                                                  vt::MessageIcon::Question,
                                                  vt::MessageButtons::YesNo) != vt::MessageAnswer::Yes)
        return;
    model_.setPageMusic("");
    showMusic();
}

// ---- shape, disc and size -----------------------------------------------------------

void TSetupMenuWindow::switchShape()
{
    if (busy_ || mode_ == Mode::FromClipList)
        return;
    model_.switchShape(model_.panel().shape == PictureShape::Standard ? PictureShape::Wide : PictureShape::Standard);
    placePanel();
    showPage();
}

void TSetupMenuWindow::setDiscType(DiscType disc)
{
    disc_ = disc;
    showDiscChoices();
}

vt::project::DiscEstimate TSetupMenuWindow::estimate() const
{
    return vt::menu::MenuDiscEstimate(services_.clips, services_.settings, disc_);
}

void TSetupMenuWindow::showDiscChoices()
{
    suiImageButton_DVD5->setVisible(disc_ == DiscType::DVD5);
    suiImageButton_DVD9->setVisible(disc_ == DiscType::DVD9);
    Image8500->setVisible(disc_ == DiscType::DVD9);
    const vt::project::DiscEstimate now = estimate();
    Image_DiscSizeProgress->resize(now.barWidth, kDiscBarHeight);
    Image_DiscSizeProgress->setVisible(now.barWidth > 0);
    Label_DiscSize->setText(text(vt::common::kDiscSizeText).arg(now.estimateKB / 1024).arg(now.limitKB / 1024));
}

// ---- compiler mode -------------------------------------------------------------------

void TSetupMenuWindow::addVobFiles()
{
    if (!canWork())
        return;
    vt::FileDialogRequest request;
    request.filter = QString::fromStdString(services_.settings.vobDialogFilter);
    request.multiSelect = true;
    const vt::FileDialogResult chosen = vt::DialogService::current().openFiles(this, request);
    QDir::setCurrent(QString::fromStdString(vt::ExePath()));
    if (chosen.accepted())
        addVobFiles(chosen.files);
}

void TSetupMenuWindow::addVobFiles(const QStringList &files)
{
    if (!canWork() || files.isEmpty())
        return;
    grabber_.close();
    adding_ = true;
    std::vector<std::string> paths;
    for (const QString &file : files)
        paths.push_back(file.toStdString());
    const int before = services_.clips.count();
    {
        std::unique_ptr<TProgressWindow> progress;
        if (files.size() > 1) {
            progress = std::make_unique<TProgressWindow>(this);
            progress->start(static_cast<int>(files.size()), text(vt::common::kAddingClipsText));
        }
        vt::project::AddClipsOptions options;
        options.builderMode = false;
        options.letterbox = true;
        options.libraryFolder = services_.libraryFolder;
        options.progress = [&progress](const std::string &name) {
            if (!progress)
                return;
            progress->setInfo(QString::fromStdString(name));
            progress->step();
        };
        vt::project::AddClips(services_.clips, paths, options);  // unreadable files are skipped silently
    }
    for (int i = before; i < services_.clips.count(); ++i) {
        services_.clips[i].vobFile = services_.clips[i].fileName;
        services_.clips[i].setSubtitleFile("");
    }
    adding_ = false;
    buildMenuNow();

    if (const std::string mismatch = vt::project::TvSystemMismatchMessage(services_.language, services_.clips);
        !mismatch.empty())
        vt::DialogService::current().information(this, QString::fromStdString(mismatch));
    const std::string limit = vt::project::DiscLimitMessage(services_.language, estimate(), disc_);
    if (!limit.empty())
        vt::DialogService::current().information(this, QString::fromStdString(limit));
}

void TSetupMenuWindow::moveSelected(int step)
{
    const int index = model_.selectedClip();
    if (!canWork() || index < 0 || index + step < 0 || index + step >= services_.clips.count())
        return;
    model_.swapClips(index, index + step);
    model_.layOutTitleButtons();
    rebuildStrip();
    showPage();
}

void TSetupMenuWindow::removeSelectedFile()
{
    const int index = model_.selectedClip();
    if (!canWork() || index < 0)
        return;
    model_.removeClip(index);
    rebuildStrip();
    showPage();
    showDiscChoices();
    updatePageButtons();
}

void TSetupMenuWindow::openSettings()
{
    if (!canWork() || !next_.optionWindow)
        return;
    if (next_.optionWindow->exec() != QDialog::Accepted)
        return;
    model_.setSafeDistance(services_.settings.menuSafeDistance);
    PaintBox_Safe->update();
    setDiscType(services_.settings.dvd5 ? DiscType::DVD5 : DiscType::DVD9);
    model_.switchShape(services_.settings.shape4x3 ? PictureShape::Standard : PictureShape::Wide);
    placePanel();
    showPage();
}

// ---- leaving ----------------------------------------------------------------------------

void TSetupMenuWindow::goNext()
{
    if (!canWork() || !built_)
        return;
    grabber_.close();
    HandOver handOver;
    handOver.menuUsed = services_.design.titleMenuWanted(services_.clips);
    handOver.chapterMenus = handOver.menuUsed && suiCheckBox_AddDVDMenu->isChecked();
    handOver.shape4_3 = model_.panel().shape == PictureShape::Standard;
    handOver.disc = disc_;
    services_.design.chapterMenus = suiCheckBox_AddDVDMenu->isChecked();
    QDialog *next = mode_ == Mode::FromClipList ? next_.builderWindow : next_.compilerWindow;
    if (mode_ == Mode::Compiler) {
        if (const std::string mismatch = vt::project::TvSystemMismatchMessage(services_.language, services_.clips);
            !mismatch.empty()) {
            vt::DialogService::current().information(this, QString::fromStdString(mismatch));
            return;
        }
    }
    if (!next)
        return;
    if (next_.prepare)
        next_.prepare(next, handOver);
    next->exec();
}

void TSetupMenuWindow::closeProject()
{
    if (!canWork() || !built_)
        return;
    grabber_.close();
    model_.clearSelection();
    services_.clips.clear();
    services_.design.clearClips();
    services_.design.titlePage.texts.clear();
    rebuildStrip();
    showPage();
    mayClose_ = true;
    done(kProjectClosed);
}

void TSetupMenuWindow::backToClipList()
{
    if (busy_ || !built_ || mode_ != Mode::FromClipList)
        return;
    grabber_.close();
    mayClose_ = true;
    done(QDialog::Rejected);
}

void TSetupMenuWindow::reject()
{
    if (mayClose_)
        TsuiForm::reject();
}

void TSetupMenuWindow::closeEvent(QCloseEvent *event)
{
    if (!mayClose_) {
        event->ignore();
        return;
    }
    grabber_.close();
    TsuiForm::closeEvent(event);
}

// ---- the mouse on the panel ---------------------------------------------------------------

vt::menu::MenuButton *TSetupMenuWindow::buttonOf(TButtonImage *view)
{
    if (auto *chapter = dynamic_cast<TSubButtonImage *>(view)) {
        vt::menu::ChapterPage *page = model_.shownChapterPage();
        if (!page || chapter->chapterIndex() >= static_cast<int>(page->buttons.size()))
            return nullptr;
        return &page->buttons[static_cast<size_t>(chapter->chapterIndex())];
    }
    const int index = view->property("clip").toInt();
    if (index < 0 || index >= services_.clips.count())
        return nullptr;
    vt::menu::ClipMenu *menu = services_.design.menuOf(services_.clips[index]);
    return menu ? menu->titleButton.get() : nullptr;
}

const QImage &TSetupMenuWindow::pictureOf(TButtonImage *view, const vt::menu::MenuButton &button,
                                          const vt::project::ClipRecord &clip) const
{
    if (dynamic_cast<TSubButtonImage *>(view))
        return static_cast<const vt::menu::ChapterButton &>(button).picture;
    return clip.snapshot;
}

const vt::project::ClipRecord *TSetupMenuWindow::clipOf(TButtonImage *view) const
{
    if (dynamic_cast<TSubButtonImage *>(view))
        return model_.selectedClip() >= 0 ? &services_.clips[model_.selectedClip()] : nullptr;
    const int index = view->property("clip").toInt();
    return index >= 0 && index < services_.clips.count() ? &services_.clips[index] : nullptr;
}

void TSetupMenuWindow::onButtonPressed(TButtonImage *view, vt::menu::HitZone zone, QPoint global)
{
    vt::menu::MenuButton *button = buttonOf(view);
    if (!button)
        return;
    if (auto *chapter = dynamic_cast<TSubButtonImage *>(view)) {
        model_.selectChapterButton(chapter->chapterIndex());
    } else {
        const int index = view->property("clip").toInt();
        if (index != model_.selectedClip()) {
            model_.selectClip(index);
            updatePageButtons();
        }
    }
    showSelection();
    view->raise();
    dragStart_ = global;
    dragBounds_ = button->bounds;
    dragZone_ = zone;
    dragging_ = true;
}

void TSetupMenuWindow::onButtonDragged(TButtonImage *view, QPoint global)
{
    vt::menu::MenuButton *button = buttonOf(view);
    const vt::project::ClipRecord *clip = clipOf(view);
    if (!button || !clip || !dragging_)
        return;
    button->bounds = model_.draggedBounds(dragZone_, dragBounds_, global - dragStart_);
    model_.placedByUser();
    view->setButton(*button, pictureOf(view, *button, *clip));
}

void TSetupMenuWindow::onButtonReleased(TButtonImage *view, vt::menu::HitZone zone, bool moved)
{
    dragging_ = false;
    vt::menu::MenuButton *button = buttonOf(view);
    const vt::project::ClipRecord *clip = clipOf(view);
    if (!button || !clip || !moved || zone == vt::menu::HitZone::Move)
        return;
    model_.applyLockRatio(*button, *clip);
    view->setButton(*button, pictureOf(view, *button, *clip));
}

void TSetupMenuWindow::onButtonMenu(TButtonImage *view, QPoint global)
{
    if (dragging_)
        return;
    menuButton_ = buttonOf(view);
    if (!menuButton_)
        return;
    if (auto *chapter = dynamic_cast<TSubButtonImage *>(view)) {
        model_.selectChapterButton(chapter->chapterIndex());
        showSelection();
        chapterButtonMenu_->findChild<QAction *>(QStringLiteral("LockRatio"))->setChecked(menuButton_->lockRatio);
        chapterButtonMenu_->popup(global);
        return;
    }
    menuClip_ = view->property("clip").toInt();
    selectClip(menuClip_);
    menuButton_ = buttonOf(view);
    titleButtonMenu_->findChild<QAction *>(QStringLiteral("LockRatio"))->setChecked(menuButton_ && menuButton_->lockRatio);
    titleButtonMenu_->popup(global);
}

void TSetupMenuWindow::onButtonDoubleClicked(TButtonImage *view)
{
    dragging_ = false;
    if (busy_)
        return;
    if (auto *chapter = dynamic_cast<TSubButtonImage *>(view))
        editChapterButtonImage(chapter->chapterIndex());
    else
        editTitleButtonImage(view->property("clip").toInt());
}

bool TSetupMenuWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
                       type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
    if (!mouse)
        return TsuiForm::eventFilter(watched, event);
    auto *mouseEvent = static_cast<QMouseEvent *>(event);
    const QPoint global = mouseEvent->globalPosition().toPoint();

    // The scroll thumbs.
    if (watched == suiImageButton_InfoBar || watched == suiImageButton_MaterialBar) {
        const bool strip = watched == suiImageButton_InfoBar;
        const int along = strip ? global.x() : global.y();
        if (type == QEvent::MouseButtonPress) {
            thumbPressGlobal_ = along;
            thumbPressPosition_ = strip ? suiImageButton_InfoBar->x() : suiImageButton_MaterialBar->y();
        } else if (type == QEvent::MouseMove && (mouseEvent->buttons() & Qt::LeftButton)) {
            const int position = thumbPressPosition_ + along - thumbPressGlobal_;
            strip ? scrollStrip(position) : scrollMaterial(position);
        }
        return false;
    }

    // The panel's background: the preview menu.
    if (watched == Image_Background) {
        if (type == QEvent::MouseButtonRelease && mouseEvent->button() == Qt::RightButton) {
            menuPoint_ = mouseEvent->position().toPoint();
            previewMenu_->popup(global);
        }
        return false;
    }

    // The back button and the texts move as a whole.
    auto *widget = qobject_cast<QWidget *>(watched);
    const auto textIt = std::find(textViews_.begin(), textViews_.end(), widget);
    const int textIndex = textIt == textViews_.end() ? -1 : static_cast<int>(textIt - textViews_.begin());
    if (widget != backButton_ && textIndex < 0)
        return TsuiForm::eventFilter(watched, event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouseEvent->button() == Qt::LeftButton) {
            dragWidget_ = widget;
            dragStart_ = global;
            dragBounds_ = widget->geometry();
        }
        return true;
    case QEvent::MouseMove:
        if (dragWidget_ == widget && (mouseEvent->buttons() & Qt::LeftButton)) {
            const QPoint to = dragBounds_.topLeft() + global - dragStart_;
            if (widget == backButton_) {
                model_.moveBackButton(to);
                placeBackButton();
            } else if (std::vector<vt::menu::TextItem> *texts = model_.pageTexts()) {
                vt::menu::TextItem &item = (*texts)[static_cast<size_t>(textIndex)];
                model_.placeText(item, QRect(to, item.bounds.size()));
                model_.placedByUser();
                widget->setGeometry(item.bounds);
            }
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (mouseEvent->button() == Qt::RightButton && textIndex >= 0) {
            menuText_ = textIndex;
            textMenu_->popup(global);
        }
        dragWidget_ = nullptr;
        return true;
    case QEvent::MouseButtonDblClick:
        dragWidget_ = nullptr;
        if (textIndex >= 0)
            QTimer::singleShot(0, this, [this, textIndex] { editText(textIndex); });
        return true;
    default:
        return false;
    }
}
