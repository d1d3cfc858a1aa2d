// The program folder: the folder of the running executable, where the skin
// and every other shipped data file live.
#pragma once

#include <QString>

namespace vt {

// The folder of the running program file, with a trailing '/'.
QString programFolder();

} // namespace vt
