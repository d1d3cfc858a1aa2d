#include "app/widgets/program_folder.h"

#include <QCoreApplication>

namespace vt {

QString programFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

} // namespace vt
