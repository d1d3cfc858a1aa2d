// How a clip's preview picture fills the 296 × 220 preview area: stretched
// over it, or at its natural size in the middle when the clip is
// letterboxed (the black bars are the area's own background).
#pragma once

#include <QImage>
#include <QSize>

namespace vt::project {

QImage PreviewAreaPicture(const QImage &preview, bool letterbox, QSize area);

} // namespace vt::project
