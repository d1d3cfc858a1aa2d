// The part of a disc-making run that ends with a DVD folder: the one-step
// chain (clips converted and authored) or the compile chain (VOB files
// authored). The window that runs it adds the burn step and ends the run.
#pragma once

#include "app/production/production_params.h"

#include <string>

namespace vt::burn {

class DvdFolderChain {
public:
    virtual ~DvdFolderChain() = default;

    // PrepareRun and the steps up to the DVD folder. 1 when the folder was
    // made, with the run still busy; otherwise the run has ended with its
    // outcome (or, -1, never started) and that is returned.
    virtual int makeDvdFolder(const production::RunChoices &choices) = 0;
    // The VIDEO_TS folder of the last folder made.
    virtual std::string videoTsFolder() const = 0;
    // Stop pressed.
    virtual void stop() {}
};

} // namespace vt::burn
