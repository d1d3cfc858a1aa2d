#include "app/widgets/desktop_opener.h"

#include <QDesktopServices>

namespace vt {

namespace {

DesktopOpener &currentOpener()
{
    static DesktopOpener opener;
    return opener;
}

} // namespace

bool openWithDesktop(const QUrl &url)
{
    return currentOpener() ? currentOpener()(url) : QDesktopServices::openUrl(url);
}

DesktopOpener setDesktopOpener(DesktopOpener opener)
{
    DesktopOpener previous = std::move(currentOpener());
    currentOpener() = std::move(opener);
    return previous;
}

} // namespace vt
