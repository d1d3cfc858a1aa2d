// The menu editor (873 × 796): the title menu and one chapter menu per
// clip designed on a preview panel, with the clip strip, the backgrounds,
// text items, music and the back button. Opened from the clip list (the
// one-step builder with a menu) or from the home window (compiler mode,
// over VOB files added here). The design itself lives in a MenuDesign that
// production reads; MenuEditorModel holds the rules, this window the views.
#pragma once

#include "app/menu/frame_grabber.h"
#include "app/menu/menu_editor_model.h"
#include "app/project/disc_estimate.h"
#include "app/widgets/sui_form.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QTimer;
class TBackgroundImage;
class TButtonImage;
class TLabel;
class TMenuImage;
class TSetupChapterWindow;
class TSetupImageWindow;
class TSetupTextWindow;
class TsuiCheckBox;
class TsuiImageButton;

namespace vt::project {
class ClipRecordList;
}
namespace vt::common {
struct Settings;
class SharedBitmaps;
class UiLanguage;
} // namespace vt::shell

class TSetupMenuWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 873, kClientHeight = 766;
    // exec() result of the Close button: the project was emptied.
    static constexpr int kProjectClosed = QDialog::Accepted;

    enum class Mode { FromClipList, Compiler };

    struct Services {
        vt::menu::MenuDesign &design;
        vt::project::ClipRecordList &clips;
        vt::common::Settings &settings;
        const vt::common::UiLanguage &language;
        const vt::common::SharedBitmaps &bitmaps;
        std::string programFolder;  // Background/, RES/BackBmp.bmp
        std::string libraryFolder;  // the converter library ("" the program folder)
    };

    // What the production windows are told before they open.
    struct HandOver {
        bool menuUsed = false;      // a clip has a title button
        bool chapterMenus = false;  // "Auto Add DVD Root Menu"
        bool shape4_3 = true;
        vt::project::DiscType disc = vt::project::DiscType::DVD5;
    };

    struct NextWindows {
        TSetupChapterWindow *chapterWindow = nullptr;
        TSetupTextWindow *textWindow = nullptr;
        TSetupImageWindow *imageWindow = nullptr;
        QDialog *optionWindow = nullptr;
        QDialog *builderWindow = nullptr;   // from-clip-list mode
        QDialog *compilerWindow = nullptr;  // compiler mode
        std::function<void(QDialog *next, const HandOver &handOver)> prepare;
    };

    explicit TSetupMenuWindow(Services services, QWidget *parent = nullptr);
    ~TSetupMenuWindow() override;

    void setNextWindows(const NextWindows &next) { next_ = next; }

    // Before showing: the clip list's disc type and picture shape are taken
    // and fixed; compiler mode takes them from the settings and lets the
    // user change them, add, remove and reorder VOB files.
    void enterFromClipList(vt::project::DiscType disc, bool shape4_3);
    void enterCompilerMode();
    Mode mode() const { return mode_; }

    // The commands, as the buttons and right-click menus give them.
    void buildMenuNow();
    void selectClip(int index);
    void showTitlePage();
    void showChapterPage();
    void addToTitleMenu(int index);
    void removeFromTitleMenu(int index);
    void setupChapters();
    void deleteChapter();
    void editTitleButtonImage(int index);
    void editChapterButtonImage(int chapterIndex);
    void toggleLockRatio(vt::menu::MenuButton &button);
    void addText(QPoint at);
    void editText(int index);
    void deleteText(int index);
    void clearTexts();
    void setBackground(const std::string &file);
    void chooseBackgroundFile();
    void addMusic();
    void removeMusic();
    void switchShape();
    void setDiscType(vt::project::DiscType disc);
    void addVobFiles();
    void addVobFiles(const QStringList &files);
    void moveSelected(int step);
    void removeSelectedFile();
    void openSettings();
    void goNext();
    void closeProject();
    void backToClipList();

    vt::menu::MenuEditorModel &model() { return model_; }
    bool busy() const { return busy_; }
    bool built() const { return built_; }
    QSize panelSize() const;
    // The element views of the page shown.
    const std::vector<TButtonImage *> &buttonViews() const { return buttonViews_; }
    const std::vector<TLabel *> &textViews() const { return textViews_; }
    const std::vector<TMenuImage *> &stripEntries() const { return stripEntries_; }
    const std::vector<TBackgroundImage *> &backgroundViews() const { return backgroundViews_; }
    QLabel *backButton() const { return backButton_; }
    QImage shownBackground() const;
    vt::project::DiscEstimate estimate() const;
    QMenu *stripMenu() const { return stripMenu_; }
    QMenu *previewMenu() const { return previewMenu_; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPreviewPanel();
    void buildMaterialStrip();
    void buildClipStrip();
    void buildPageButtons();
    void buildDiscArea();
    void buildMenus();
    void captionControls();
    TsuiImageButton *addButton(const char *name, const QString &caption, const QRect &place, bool accent = false);

    void rebuildStrip();
    void showPage();
    void showSelection();
    void showMusic();
    void showBackground();
    void showDiscChoices();
    void updatePageButtons();
    void placePanel();
    void placeBackButton();
    void scrollStrip(int thumbLeft);
    void scrollMaterial(int thumbTop);
    QString text(int number) const;
    vt::menu::MenuButton *buttonOf(TButtonImage *view);
    const vt::project::ClipRecord *clipOf(TButtonImage *view) const;
    const QImage &pictureOf(TButtonImage *view, const vt::menu::MenuButton &button,
                            const vt::project::ClipRecord &clip) const;
    bool canWork() const { return !busy_ && !adding_; }

    void onButtonPressed(TButtonImage *view, vt::menu::HitZone zone, QPoint global);
    void onButtonDragged(TButtonImage *view, QPoint global);
    void onButtonReleased(TButtonImage *view, vt::menu::HitZone zone, bool moved);
    void onButtonMenu(TButtonImage *view, QPoint global);
    void onButtonDoubleClicked(TButtonImage *view);

    Services services_;
    vt::menu::MenuEditorModel model_;
    vt::menu::FrameGrabber grabber_;
    NextWindows next_;
    Mode mode_ = Mode::FromClipList;
    vt::project::DiscType disc_ = vt::project::DiscType::DVD5;
    bool busy_ = false, adding_ = false, built_ = false, mayClose_ = false;
    std::map<std::string, QImage> backgroundPictures_;

    // Dragging: where the press was, the element's bounds then, the zone.
    QPoint dragStart_;
    QRect dragBounds_;
    vt::menu::HitZone dragZone_ = vt::menu::HitZone::Move;
    bool dragging_ = false;
    QWidget *dragWidget_ = nullptr;
    int thumbPressGlobal_ = 0, thumbPressPosition_ = 0;

    // Right-click menus and what they were opened over.
    QMenu *stripMenu_ = nullptr, *titleButtonMenu_ = nullptr, *chapterButtonMenu_ = nullptr;
    QMenu *previewMenu_ = nullptr, *textMenu_ = nullptr;
    int menuClip_ = -1, menuText_ = -1;
    QPoint menuPoint_;
    vt::menu::MenuButton *menuButton_ = nullptr;

    std::vector<TButtonImage *> buttonViews_;
    std::vector<TLabel *> textViews_;
    std::vector<TMenuImage *> stripEntries_;
    std::vector<TBackgroundImage *> backgroundViews_;

    QTimer *Timer_CreateMenu;
    QWidget *Panel_MenuPreview, *PaintBox_Safe;
    QLabel *Image_Background, *backButton_;
    QWidget *Panel_Material, *Panel_MaterialScroll, *Panel_Clips, *Panel_ClipScroll;
    TsuiImageButton *suiImageButton_MaterialBar, *suiImageButton_InfoBar;
    TLabel *Label_MenuTitle, *Label_BackgroundMusic, *Label_DiscSize, *Image8500;
    TsuiImageButton *suiImageButton_TitleMenu, *suiImageButton_ChapterMenu, *suiImageButton_DisplaySubMenu;
    TsuiImageButton *suiImageButton_SwitchButton, *suiImageButton_DeleteChapter, *suiImageButton_Up;
    TsuiImageButton *suiImageButton_Down, *suiImageButton_Text, *suiImageButton_AddImage;
    TsuiImageButton *suiImageButton_AddMusic, *suiImageButton_RemoveMusic;
    TsuiImageButton *suiImageButton_4_3, *suiImageButton_16_9, *suiImageButton_DVD5, *suiImageButton_DVD9;
    TsuiImageButton *suiImageButton_AddFile, *suiImageButton_RemoveFile, *suiImageButton_Left, *suiImageButton_Right;
    TsuiImageButton *suiImageButton_Option, *suiImageButton_Burn, *suiImageButton_Close, *suiImageButton_Clip;
    TsuiCheckBox *suiCheckBox_AddDVDMenu;
    QWidget *Image_DiscSizeProgress;
};
