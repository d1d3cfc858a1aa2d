// The burner mode's production window: an authored DVD folder written to
// a disc. The burn-source window gives it the folder before showing it.
#pragma once

#include "app/burn/disc_window.h"

#include <string>

class TBurnWindow : public TDiscWindow {
    Q_OBJECT

public:
    explicit TBurnWindow(vt::burn::DiscWindowServices services, QWidget *parent = nullptr);
    ~TBurnWindow() override;

    // Forgets the folder (entering the burner mode).
    void reset();
    // Burn the VIDEO_TS folder given, made for the video standard given.
    void setDvdFolder(const std::string &videoTsFolder, int videoStandard);

    bool folderFlag() const { return folderFlag_; }
    const std::string &videoTsFolder() const { return videoTsFolder_; }

protected:
    void start() override;

private:
    bool folderFlag_ = false;
    int videoStandard_;
    std::string videoTsFolder_;
};
