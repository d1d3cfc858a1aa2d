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

void openWithDesktop(const QUrl &url)
{
    if (currentOpener())
        currentOpener()(url);
    else
        QDesktopServices::openUrl(url);
}

DesktopOpener setDesktopOpener(DesktopOpener opener)
{
    DesktopOpener previous = std::move(currentOpener());
    currentOpener() = std::move(opener);
    return previous;
}

} // namespace vt
