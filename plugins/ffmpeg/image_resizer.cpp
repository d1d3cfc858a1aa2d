#include "plugins/ffmpeg/image_resizer.h"
#include "plugins/common/plugin_builder.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/common/plugin_register.h"
#include "plugins/ffmpeg/picture_filter.h"
#include "plugins/ffmpeg/picture_scaler.h"
#include "plugins/ffmpeg/pixel_layout.h"

#include <cstring>

namespace ffplug {

namespace {

const char *const kRateKeys[] = {"framerate", "framerateexact"};
const char *const kCarriedKeys[] = {"framerate", "framerateexact", "duration", "presentationtime"};

double numberOf(zif_object *table, const char *key, double fallback)
{
    zif_object *value = zif_tableGet(table, key);
    zif_object *first = firstOf(value);
    double n = zif_objectIsNumber(first) ? zif_numberGetDoubleValue(first, fallback) : fallback;
    zif_release(first);
    zif_release(value);
    return n;
}

zif_object *genericDescription(zif_context *context) { return pixelLayoutDescription(context, yuv420Layout()); }

class ImageResizer : public PictureFilter {
public:
    ~ImageResizer() override { zif_release(targetAspect_); }

private:
    bool outputConnected(zif_object *connector) override;
    bool convert(zif_object *in, zif_object **out) override;

    ResizeTarget target_;
    zif_object *targetAspect_ = nullptr;  // the asked pixel aspect as given (a fract stays exact)
    PictureScaler scaler_;
};

bool ImageResizer::outputConnected(zif_object *connector)
{
    zif_object *agreed = zif_portConnectorGetDescription(connector);
    target_ = resizeTargetOf(agreed);
    zif_object *first = firstOf(agreed);
    zif_object *aspect = first && zif_objectGetType(first) == ZIF_TYPE_TABLE ? zif_tableGet(first, "pixelaspectratio") : nullptr;
    zif_release(targetAspect_);
    targetAspect_ = target_.pixelAspect > 0 ? firstOf(aspect) : nullptr;
    zif_release(aspect);
    zif_release(first);
    bool ok = target_.given() && inputDescriptionTake(agreed, kRateKeys, 2);
    zif_release(agreed);
    return ok || plugins::fail(connector, plugins::kErrMissingEntry);
}

zif_object *endOfStream(zif_context *context)
{
    zif_object *t = genericDescription(context);
    if (t && zif_tableSetInt(t, "endofstream", 1))
        return t;
    zif_release(t);
    return nullptr;
}

bool ImageResizer::convert(zif_object *in, zif_object **out)
{
    zif_context *context = zif_objectGetContext(in);
    auto width = static_cast<int>(zif_tableGetInt(in, "width", 0));
    auto height = static_cast<int>(zif_tableGetInt(in, "height", 0));
    double aspect = numberOf(in, "pixelaspectratio", 1);
    bool end = zif_tableGetInt(in, "endofstream", 0) != 0;
    if (width < 1 || height < 1 || !zif_tableContains(in, "yuv.data.y")) {
        *out = end ? endOfStream(context) : nullptr;
        return !end || *out;
    }
    ResizeGeometry g = resizeGeometry(target_, width, height, aspect);
    bool samePixels = g.width == width && g.height == height && g.innerWidth() == width && g.innerHeight() == height;
    if (samePixels && g.pixelAspect == (aspect > 0 ? aspect : 1)) {
        *out = zif_addRef(in);
        return true;
    }
    PlaneRefs source;
    if (!planesRead(in, AV_PIX_FMT_YUV420P, width, height, &source))
        return false;
    zif_object *t = genericDescription(context);
    PictureShape shape = pictureShape(AV_PIX_FMT_YUV420P, g.width, g.height);
    int64_t lines[3], rows[3];
    for (int p = 0; p < 3; ++p)
        lines[p] = shape.plane[p].rowBytes, rows[p] = shape.plane[p].rows;
    PlaneTargets planes;
    bool ok = t && zif_tableSetInt(t, "width", g.width) && zif_tableSetInt(t, "height", g.height) &&
              (targetAspect_ ? zif_tableSet(t, "pixelaspectratio", targetAspect_) != 0
                             : zif_tableContains(in, "pixelaspectratio") ? zif_tableSetFromTable(t, in, "pixelaspectratio") != 0
                                                                         : zif_tableSetInt(t, "pixelaspectratio", 1) != 0) &&
              planesAdd(t, AV_PIX_FMT_YUV420P, g.width, g.height, lines, rows, &planes);
    if (ok && (g.left || g.right || g.top || g.bottom)) {
        // Video-range black; the picture goes into the inner rectangle.
        for (int p = 0; p < 3; ++p)
            std::memset(planes.data[p], p == 0 ? 16 : 128, static_cast<size_t>(lines[p] * rows[p]));
        planes.data[0] += static_cast<int64_t>(g.top) * planes.lineSize[0] + g.left;
        for (int p = 1; p < 3; ++p)
            planes.data[p] += static_cast<int64_t>(g.top / 2) * planes.lineSize[p] + g.left / 2;
    }
    ok = ok && scaler_.scale(in, source, AV_PIX_FMT_YUV420P, width, height, planes, AV_PIX_FMT_YUV420P, g.innerWidth(),
                             g.innerHeight()) &&
         zif_tableSetInt(t, "endofstream", end);
    for (const char *key : kCarriedKeys)
        if (ok && zif_tableContains(in, key))
            ok = zif_tableSetFromTable(t, in, key);
    if (!ok) {
        zif_release(t);
        return false;
    }
    *out = t;
    return true;
}

zif_object *resizerCreate(zif_object *graph)
{
    zif_object *generic = genericDescription(zif_objectGetContext(graph));
    zif_object *node = generic ? (new ImageResizer)->addNode(graph, "ffmpeg.imageresize", generic, generic) : nullptr;
    zif_release(generic);
    return node;
}

uint64_t resizerDirectCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_object *node = resizerCreate(graph);
    uint64_t id = node ? zif_nodeGetID(node) : 0;
    zif_release(node);
    return id;
}

int32_t resizerAddChoices(zif_object *builder, zif_object *graph)
{
    zif_object *generic = genericDescription(zif_objectGetContext(graph));
    zif_object *ports = generic ? zif_graphNewPortIterator(graph, -1, 0, generic, 2) : nullptr;
    bool ok = ports != nullptr;
    while (zif_object *port = ok ? zif_iteratorNext(ports) : nullptr) {
        zif_object *description = zif_portGetDescription(port);
        zif_object *overlap = nullptr;
        int64_t porttype = zif_portGetType(port) == ZIF_PORT_INPUT ? 1 : 0;
        if (!portOfPictureConverter(port) && zif_constraintsMatch(generic, description, &overlap) > ZIF_MATCH_NONE &&
            (porttype == 0 || resizeTargetOf(overlap).given())) {
            zif_object *choice = zif_newTable(zif_objectGetContext(graph));
            ok = choice && zif_tableSetInt(choice, "partnerid", static_cast<int64_t>(zif_portGetID(port))) &&
                 zif_tableSetInt(choice, "porttype", porttype) && zif_tableSet(choice, "overlap", overlap) &&
                 zif_graphAddChoice(graph, builder, choice);
            zif_release(choice);
        }
        zif_release(overlap);
        zif_release(description);
        zif_release(port);
    }
    zif_release(ports);
    zif_release(generic);
    return ok ? 1 : 0;
}

int32_t resizerApply(zif_object *, zif_object *graph, zif_object *choice)
{
    const char *own = zif_tableGetInt(choice, "porttype", 1) == 1 ? "ffmpeg.imageresize.out" : "ffmpeg.imageresize.in";
    auto partner = static_cast<uint64_t>(zif_tableGetInt(choice, "partnerid", 0));
    return plugins::newNodeConnect(graph, resizerCreate(graph), own, partner);
}

int32_t resizerAddBuilders(zif_object *, zif_object *graph)
{
    return plugins::builderAdd(graph, "ffmpeg.imageresize", 25.0, resizerAddChoices, resizerApply);
}

}  // namespace

ResizeTarget resizeTargetOf(zif_object *description)
{
    zif_object *t = firstOf(description);
    ResizeTarget target;
    if (t && zif_objectGetType(t) == ZIF_TYPE_TABLE) {
        target.width = static_cast<int>(numberOf(t, "width", 0));
        target.height = static_cast<int>(numberOf(t, "height", 0));
        target.pixelAspect = numberOf(t, "pixelaspectratio", 0);
        target.width = target.width < 0 ? 0 : target.width;
        target.height = target.height < 0 ? 0 : target.height;
    }
    zif_release(t);
    return target;
}

bool imageResizerRegister(zif_context *context)
{
    return plugins::pluginRegister(context, "ffmpeg.imageresizer", resizerDirectCreate, resizerAddBuilders);
}

}  // namespace ffplug
