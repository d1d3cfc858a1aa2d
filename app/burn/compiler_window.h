// The compiler's production window: VOB files (with menus when the chain
// makes them) authored into a DVD folder and burned, or the folder alone.
// The chain is given by a factory so that a chain with menus can take the
// place of the authoring-only one.
#pragma once

#include "app/burn/disc_window.h"
#include "app/burn/dvd_folder_chain.h"
#include "app/production/menu_flags.h"

#include <functional>
#include <memory>

class TCompilerWindow : public TDiscWindow {
    Q_OBJECT

public:
    using ChainFactory = std::function<std::unique_ptr<vt::burn::DvdFolderChain>(
        vt::production::ProductionRun &run, vt::project::ClipInfo &clips, vt::production::MenuFlags flags)>;

    explicit TCompilerWindow(vt::burn::DiscWindowServices services, QWidget *parent = nullptr);
    ~TCompilerWindow() override;

    // Set by the window that opens this one.
    void setAspect(int aspect) { aspect_ = aspect; }
    void setMenuFlags(vt::production::MenuFlags flags) { menuFlags_ = flags; }
    int aspect() const { return aspect_; }
    const vt::production::MenuFlags &menuFlags() const { return menuFlags_; }

    // Replaces the chain (the default authors the VOB files without menus).
    void setChainFactory(ChainFactory factory) { factory_ = std::move(factory); }

protected:
    void start() override;
    void stop() override;

private:
    int aspect_;
    vt::production::MenuFlags menuFlags_;
    ChainFactory factory_;
    vt::burn::DvdFolderChain *chain_ = nullptr;  // while a run is busy
};
