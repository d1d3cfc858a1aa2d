#include "plugins/ffmpeg/resize_geometry.h"

#include <algorithm>
#include <cmath>

namespace ffplug {

namespace {

int atLeastOne(long double v) { return std::max(1, static_cast<int>(std::lround(v))); }

// A band total split in two: the first part even, the second the rest.
void splitBands(int total, int *first, int *second)
{
    *first = (total / 2) & ~1;
    *second = total - *first;
}

}  // namespace

ResizeGeometry resizeGeometry(const ResizeTarget &target, int width, int height, double pixelAspect)
{
    long double w = std::max(width, 1), h = std::max(height, 1);
    long double p = pixelAspect > 0 ? pixelAspect : 1;
    bool hasAspect = target.pixelAspect > 0;
    long double tp = hasAspect ? target.pixelAspect : p;
    ResizeGeometry g;
    g.pixelAspect = static_cast<double>(tp);
    g.width = std::max(width, 1);
    g.height = std::max(height, 1);
    if (target.width > 0 && target.height > 0) {
        long double tw = target.width, th = target.height;
        long double shape = w * p / h;          // display aspect of the source
        long double targetShape = tw * tp / th;  // display aspect of the target
        g.width = target.width;
        g.height = target.height;
        if (targetShape > shape) {
            int inner = std::min(atLeastOne(th * shape / tp), g.width);
            splitBands(g.width - inner, &g.left, &g.right);
        } else {
            int inner = std::min(atLeastOne(tw * tp / shape), g.height);
            splitBands(g.height - inner, &g.top, &g.bottom);
        }
    } else if (target.width > 0) {
        g.width = target.width;
        g.height = atLeastOne(tp * h / p * target.width / w);
    } else if (target.height > 0) {
        g.height = target.height;
        g.width = atLeastOne(p * w / tp * target.height / h);
    } else if (hasAspect) {
        if (tp > p)
            g.height = atLeastOne(tp * h / p);
        else
            g.width = atLeastOne(p * w / tp);
    }
    return g;
}

}  // namespace ffplug
