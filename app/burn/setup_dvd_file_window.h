// The burner mode's first window: an authored DVD folder, or loose VOB
// files, listed with their sizes against the disc capacity, then handed to
// the burn window (a folder) or the compiler (VOB files).
#pragma once

#include "app/burn/burn_source.h"
#include "app/widgets/sui_form.h"

#include <functional>
#include <string>

class QLabel;
class QMenu;
class TLabel;
class TsuiImageButton;
class TsuiStringGrid;

namespace vt::common {
struct Settings;
class UiLanguage;
} // namespace vt::shell

class TSetupDVDFileWindow : public TsuiForm {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 655;
    static constexpr int kClientHeight = 535;
    static constexpr int kBarFullWidth = 483;
    static constexpr int kMinimumDataRows = 16;

    struct Services {
        vt::common::Settings &settings;
        vt::common::UiLanguage &language;
        vt::project::ClipRecordList &clips;
        std::string libraryFolder;  // the converter library's folder (ExePath)
        std::string workFolder;     // files inside are refused
    };
    // Where Burn goes: the burn window with a VIDEO_TS folder, or the
    // compiler with the clips and the picture shape of the first.
    struct NextWindows {
        std::function<void(const std::string &videoTsFolder)> burnFolder;
        std::function<void(int aspect)> compileVobs;
    };

    explicit TSetupDVDFileWindow(Services services, QWidget *parent = nullptr);

    void setNextWindows(NextWindows next) { next_ = std::move(next); }

    // The buttons' work (tests call them with the dialogs scripted).
    void chooseFolder();
    void addFiles();
    void burn();

    vt::burn::BurnSourceList &sources() { return sources_; }
    bool dvd5() const { return dvd5_; }
    void setDiscType(bool dvd5);
    // The grid row (0 the header) at a point of the grid's viewport, as the
    // right-click finds it.
    int gridRowAt(const QPoint &viewportPoint) const;
    // The right-click menu for that point, with its row selected.
    QMenu *gridMenuAt(const QPoint &viewportPoint);

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void resetToEmpty();
    void showRows();
    void showSizeBar();
    std::string text(int number) const;

    Services services_;
    NextWindows next_;
    vt::burn::BurnSourceList sources_;
    bool dvd5_ = true;
    int64_t dvd5Limit_ = 0, dvd9Limit_ = 0;
    bool busy_ = false;
    int menuRow_ = -1;

    TsuiStringGrid *suiStringGrid_DVDFiles;
    TsuiImageButton *suiImageButton_Folder, *suiImageButton_File, *suiImageButton_Burn, *suiImageButton_Close;
    TsuiImageButton *suiImageButton_DVD5, *suiImageButton_DVD9;
    TLabel *Image8500;
    QLabel *Label_DiscSize;
    QWidget *Image_DiscSizeProgress;
    QMenu *gridMenu_;
    QAction *removeAction_, *clearAction_;
};
