// The one-step builder's production window: the clips converted, authored
// into a DVD folder and burned (or the folder alone, opened afterwards).
#pragma once

#include "app/burn/disc_window.h"
#include "app/production/menu_flags.h"

class TBuilderWindow : public TDiscWindow {
    Q_OBJECT

public:
    explicit TBuilderWindow(vt::burn::DiscWindowServices services, QWidget *parent = nullptr);
    ~TBuilderWindow() override;

    // Set by the window that opens this one.
    void setAspect(int aspect) { aspect_ = aspect; }
    void setMenuFlags(vt::production::MenuFlags flags) { menuFlags_ = flags; }
    int aspect() const { return aspect_; }

protected:
    void start() override;
    void stop() override;
    bool keepsVideoFormat() const override { return true; }

private:
    int aspect_;
    vt::production::MenuFlags menuFlags_;
    vt::burn::DvdFolderChain *chain_ = nullptr;  // while a run is busy
};
