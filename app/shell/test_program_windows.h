// Tests of the home window and the program start: every window of the
// program over a test program folder.
#pragma once

#include "app/common/test_program_folder.h"
#include "app/shell/program_windows.h"

#include <memory>

namespace vt::shell {

inline std::unique_ptr<ProgramWindows> createProgramWindows(common::TestProgramFolder &folder)
{
    return std::make_unique<ProgramWindows>(ProgramServices {folder.settings, folder.language, folder.bitmaps,
                                                             folder.environment(), folder.path().toStdString()});
}

} // namespace vt::shell
