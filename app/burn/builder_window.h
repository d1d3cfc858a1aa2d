// The one-step builder's production window: the clips converted, authored
// into a DVD folder and burned (or the folder alone, opened afterwards).
#pragma once

#include "app/burn/disc_window.h"

namespace vt::production {
struct DiscMenus;
}

class TBuilderWindow : public TDiscWindow {
    Q_OBJECT

public:
    explicit TBuilderWindow(vt::burn::DiscWindowServices services, QWidget *parent = nullptr);
    ~TBuilderWindow() override;

    // Set by the window that opens this one.
    void setAspect(int aspect) { aspect_ = aspect; }
    // The designed menus (nullptr: a disc without menus); read while a run
    // lasts.
    void setMenus(const vt::production::DiscMenus *menus) { menus_ = menus; }
    int aspect() const { return aspect_; }

protected:
    void start() override;
    void stop() override;
    bool keepsVideoFormat() const override { return true; }

private:
    int aspect_;
    const vt::production::DiscMenus *menus_ = nullptr;
    vt::burn::DvdFolderChain *chain_ = nullptr;  // while a run is busy
};
