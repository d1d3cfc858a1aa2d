#include "app/shell/quality_resize.h"

#include "app/shell/program_files.h"
#include "engines/resize/rs_resize.h"
#include "platform/module_loader.h"
#include "platform/paths.h"

namespace vt::shell {

int BitsPerPixel(const QImage &image)
{
    return image.depth() == 24 ? 24 : 32;
}

bool QualityResize(QImage &dest, const QImage &source, int w, int h, bool quality, std::string *error)
{
    auto fail = [error](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };
    if (w <= 0 || h <= 0)
        return fail("Invalid picture size " + std::to_string(w) + " x " + std::to_string(h));
    if (source.isNull())
        return fail("No source picture to resize");

    vt::Module library;
    RS_ReSizeFn resize = nullptr;
    const std::string path = ExePath() + kResizeLibrary;
    if (!library.open(path) || !library.bind("RS_ReSize", resize))
        return fail("Cannot load the picture resampler: " + library.error());

    // 32-bit X,R,G,B words are B,G,R,X bytes in memory, the resampler's layout.
    const QImage from = source.convertToFormat(QImage::Format_RGB32);
    const QImage::Format destFormat = dest.isNull() ? QImage::Format_RGB32 : dest.format();
    QImage to(w, h, QImage::Format_RGB32);
    if (to.isNull())
        return fail("Out of memory for a " + std::to_string(w) + " x " + std::to_string(h) + " picture");
    if (!resize(from.constBits(), 32, from.width(), from.height(), to.bits(), 32, w, h, quality ? 1 : 0))
        return fail("The picture resampler failed");
    dest = destFormat == QImage::Format_RGB32 ? to : to.convertToFormat(destFormat);
    return true;
}

} // namespace vt::shell
