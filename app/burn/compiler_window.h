// The compiler's production window: VOB files (with menus when the chain
// makes them) authored into a DVD folder and burned, or the folder alone.
// The chain comes from a factory (tests and other front-ends may give
// their own).
#pragma once

#include "app/burn/disc_window.h"
#include "app/burn/dvd_folder_chain.h"

#include <functional>
#include <memory>

namespace vt::production {
struct DiscMenus;
}

class TCompilerWindow : public TDiscWindow {
    Q_OBJECT

public:
    using ChainFactory = std::function<std::unique_ptr<vt::burn::DvdFolderChain>(
        vt::production::ProductionRun &run, vt::project::ClipRecordList &clips, const vt::production::DiscMenus *menus)>;

    explicit TCompilerWindow(vt::burn::DiscWindowServices services, QWidget *parent = nullptr);
    ~TCompilerWindow() override;

    // Set by the window that opens this one.
    void setAspect(int aspect) { aspect_ = aspect; }
    // The designed menus (nullptr: a disc without menus); read while a run
    // lasts.
    void setMenus(const vt::production::DiscMenus *menus) { menus_ = menus; }
    int aspect() const { return aspect_; }
    const vt::production::DiscMenus *menus() const { return menus_; }

    // Replaces the chain (the default: CompileChain with the menus set).
    void setChainFactory(ChainFactory factory) { factory_ = std::move(factory); }

protected:
    void start() override;
    void stop() override;

private:
    int aspect_;
    const vt::production::DiscMenus *menus_ = nullptr;
    ChainFactory factory_;
    vt::burn::DvdFolderChain *chain_ = nullptr;  // while a run is busy
};
