#include "plugins/ffmpeg/image_converter.h"
#include "plugins/common/plugin_builder.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/common/plugin_register.h"
#include "plugins/ffmpeg/picture_filter.h"
#include "plugins/ffmpeg/pixel_layout.h"
#include "plugins/ffmpeg/picture_scaler.h"

#include <cstring>
#include <string>

namespace ffplug {

namespace {

const char *const kGeometryKeys[] = {"width", "height", "pixelaspectratio", "framerate", "framerateexact"};
const char *const kConnectKeys[] = {"framerate", "framerateexact", "width", "height", "pixelaspectratio"};
const char *const kCarriedKeys[] = {"framerate", "framerateexact", "duration", "pixelaspectratio", "presentationtime"};

// The plug-in's format descriptions, in layout order, as one list.
zif_object *formatList(zif_context *context)
{
    zif_object *list = zif_newList(context);
    for (int i = 0; list && i < kPixelLayoutCount; ++i) {
        zif_object *d = pixelLayoutDescription(context, pixelLayouts()[i]);
        bool ok = d && zif_listAdd(list, d);
        zif_release(d);
        if (!ok) {
            zif_release(list);
            return nullptr;
        }
    }
    return list;
}

// The format list with the picture geometry of overlap in every entry.
zif_object *formatListLike(zif_context *context, zif_object *overlap)
{
    zif_object *list = formatList(context);
    for (zif_list_link *at = zif_listBegin(list); list && at != zif_listEnd(list);) {
        zif_object *t = zif_listNext(list, &at);
        bool ok = true;
        for (const char *key : kGeometryKeys)
            if (ok && zif_tableContains(overlap, key))
                ok = zif_tableSetFromTable(t, overlap, key);
        zif_release(t);
        if (!ok) {
            zif_release(list);
            return nullptr;
        }
    }
    return list;
}

class ImageConverter : public PictureFilter {
public:
    explicit ImageConverter(zif_object *target) : target_(zif_addRef(target)) {}
    ~ImageConverter() override { zif_release(target_); }

private:
    bool outputConnected(zif_object *connector) override;
    bool convert(zif_object *in, zif_object **out) override;
    bool convertPicture(zif_object *in, const PixelLayout &from, int width, int height, zif_object **out);

    zif_object *target_;
    const PixelLayout *output_ = nullptr;
    PictureScaler scaler_;
};

bool ImageConverter::outputConnected(zif_object *connector)
{
    zif_object *agreed = zif_portConnectorGetDescription(connector);
    if (!target_)
        target_ = firstOf(agreed);
    output_ = target_ && zif_objectGetType(target_) == ZIF_TYPE_TABLE ? pixelLayoutOf(target_) : nullptr;
    bool ok = output_ && (!agreed || inputDescriptionTake(agreed, kConnectKeys, 5));
    zif_release(agreed);
    return ok || plugins::fail(connector, plugins::kErrConversion);
}

bool ImageConverter::convert(zif_object *in, zif_object **out)
{
    const PixelLayout *from = pixelLayoutOf(in);
    auto width = static_cast<int>(zif_tableGetInt(in, "width", 0));
    auto height = static_cast<int>(zif_tableGetInt(in, "height", 0));
    bool end = zif_tableGetInt(in, "endofstream", 0) != 0;
    if (from == output_) {
        *out = zif_addRef(in);
        return true;
    }
    bool picture = from && width > 0 && height > 0 &&
                   zif_tableContains(in, from->bitsPerPixel ? "data" : "yuv.data.y");
    if (picture)
        return convertPicture(in, *from, width, height, out);
    if (!end)
        return true;
    bool ok = zif_valueClone(target_, out) && zif_tableSetInt(*out, "endofstream", 1);
    return ok;
}

int64_t roundUp(int64_t v, int64_t step) { return step > 1 ? (v + step - 1) / step * step : v; }

bool ImageConverter::convertPicture(zif_object *in, const PixelLayout &from, int width, int height, zif_object **out)
{
    PlaneRefs source;
    if (!planesRead(in, from.pixelFormat, width, height, &source))
        return false;
    zif_object *t = nullptr;
    bool ok = zif_valueClone(target_, &t) && zif_tableSetInt(t, "width", width) && zif_tableSetInt(t, "height", height);
    for (const char *key : {"firstlineoffset", "yuv.firstlineoffset.y", "yuv.firstlineoffset.u", "yuv.firstlineoffset.v"})
        if (ok && zif_tableContains(t, key))
            ok = zif_tableRemove(t, key);
    int64_t lines[3] = {}, rows[3] = {};
    if (ok && output_->bitsPerPixel) {
        int64_t rowBytes = (static_cast<int64_t>(output_->bitsPerPixel) * width + 7) / 8;
        int64_t delta = zif_tableGetInt(target_, "linedelta", 0);
        if (delta == 0)
            delta = roundUp(rowBytes, zif_tableGetInt(target_, "linealign", 1));
        if (delta < rowBytes)
            ok = plugins::fail(in, plugins::kErrConversion);
        lines[0] = delta;
        rows[0] = height;
    } else if (ok) {
        int64_t r[6];
        const char *keys[] = {"yuv.hratio.y", "yuv.hratio.u", "yuv.hratio.v", "yuv.vratio.y", "yuv.vratio.u", "yuv.vratio.v"};
        for (int i = 0; i < 6; ++i)
            r[i] = zif_tableGetInt(target_, keys[i], i % 3 == 0 ? 2 : 1);
        int64_t yLine = roundUp(width, r[0]), yRows = roundUp(height, r[3]);
        lines[0] = yLine;
        rows[0] = yRows;
        for (int p = 1; p < 3; ++p) {
            lines[p] = yLine / r[0] * r[p];
            rows[p] = yRows / r[3] * r[3 + p];
        }
    }
    PlaneTargets target;
    ok = ok && planesAdd(t, output_->pixelFormat, width, height, lines, rows, &target) &&
         scaler_.scale(in, source, from.pixelFormat, width, height, target, output_->pixelFormat, width, height) &&
         zif_tableSetInt(t, "endofstream", zif_tableGetInt(in, "endofstream", 0));
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

// porttype 1: the converter feeds a consumer and delivers overlap; 0: it
// takes overlap from a producer; -1: direct creation, any layout both ways.
zif_object *converterCreate(zif_object *graph, zif_object *overlap, int64_t porttype)
{
    zif_context *context = zif_objectGetContext(graph);
    zif_object *all = porttype == -1 ? formatList(context) : formatListLike(context, overlap);
    zif_object *in = porttype == 0 ? zif_addRef(overlap) : zif_addRef(all);
    zif_object *out = porttype == 1 ? zif_addRef(overlap) : zif_addRef(all);
    auto *converter = new ImageConverter(porttype == 1 ? overlap : nullptr);
    zif_object *node = all ? converter->addNode(graph, "ffmpeg.imageconvert", in, out) : (delete converter, nullptr);
    for (zif_object *o : {all, in, out})
        zif_release(o);
    return node;
}

uint64_t converterDirectCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_object *node = converterCreate(graph, nullptr, -1);
    uint64_t id = node ? zif_nodeGetID(node) : 0;
    zif_release(node);
    return id;
}

// An overlap a consumer may be fed with: it names one exact layout.
bool specifiesLayout(zif_object *t)
{
    const char *format = zif_tableGetString(t, "format", nullptr);
    if (!format)
        return false;
    auto has = [&](std::initializer_list<const char *> keys) {
        for (const char *k : keys)
            if (!zif_tableContains(t, k))
                return false;
        return true;
    };
    if (std::strcmp(format, "rgb.interleaved") == 0)
        return has({"bitsperpixel", "rgb.bits.r", "rgb.bits.g", "rgb.bits.b", "rgb.offset.r", "rgb.offset.g", "rgb.offset.b"});
    bool separate = std::strcmp(format, "yuv.separate") == 0, interleaved = std::strcmp(format, "yuv.interleaved") == 0;
    if (separate || interleaved)
        return has({"yuv.hratio.y", "yuv.hratio.u", "yuv.hratio.v", "yuv.vratio.y", "yuv.vratio.u", "yuv.vratio.v"}) &&
               (!interleaved || has({"yuv.layout"}));
    return true;
}

bool offer(zif_object *builder, zif_object *graph, zif_object *port, int64_t porttype, zif_object *overlap)
{
    if (zif_objectGetType(overlap) != ZIF_TYPE_TABLE || (porttype == 1 && !specifiesLayout(overlap)))
        return true;
    zif_object *choice = zif_newTable(zif_objectGetContext(graph));
    bool ok = choice && zif_tableSetInt(choice, "porttype", porttype) && zif_tableSetTable(choice, "overlaptable", overlap) &&
              zif_tableSetInt(choice, "partnerid", static_cast<int64_t>(zif_portGetID(port))) &&
              zif_graphAddChoice(graph, builder, choice);
    zif_release(choice);
    return ok;
}

// porttype 1 looks at consumers (input ports), 0 at producers.
bool offerAll(zif_object *builder, zif_object *graph, zif_object *formats, int64_t porttype)
{
    zif_object *ports = zif_graphNewPortIterator(graph, porttype == 1 ? ZIF_PORT_INPUT : ZIF_PORT_OUTPUT, 0, nullptr, 2);
    bool ok = ports != nullptr;
    while (zif_object *port = ok ? zif_iteratorNext(ports) : nullptr) {
        zif_object *description = zif_portGetDescription(port);
        zif_object *overlap = nullptr;
        if (!portOfPictureConverter(port) && zif_constraintsMatch(description, formats, &overlap) > ZIF_MATCH_NONE) {
            if (zif_objectGetType(overlap) != ZIF_TYPE_LIST) {
                ok = offer(builder, graph, port, porttype, overlap);
            } else if (zif_listGetEntryCount(overlap) != kPixelLayoutCount) {
                // A port that takes every layout needs no converter.
                for (zif_list_link *at = zif_listBegin(overlap); ok && at != zif_listEnd(overlap);) {
                    zif_object *entry = zif_listNext(overlap, &at);
                    ok = offer(builder, graph, port, porttype, entry);
                    zif_release(entry);
                }
            }
        }
        zif_release(overlap);
        zif_release(description);
        zif_release(port);
    }
    zif_release(ports);
    return ok;
}

int32_t converterAddChoices(zif_object *builder, zif_object *graph)
{
    zif_object *formats = formatList(zif_objectGetContext(graph));
    bool ok = formats && offerAll(builder, graph, formats, 1) && offerAll(builder, graph, formats, 0);
    zif_release(formats);
    return ok ? 1 : 0;
}

int32_t converterApply(zif_object *, zif_object *graph, zif_object *choice)
{
    zif_object *overlap = zif_tableGetTable(choice, "overlaptable", nullptr);
    if (!overlap)
        return plugins::fail(graph, plugins::kErrConversion);
    int64_t porttype = zif_tableGetInt(choice, "porttype", 1);
    zif_object *node = converterCreate(graph, overlap, porttype);
    zif_release(overlap);
    const char *own = porttype == 1 ? "ffmpeg.imageconvert.out" : "ffmpeg.imageconvert.in";
    auto partner = static_cast<uint64_t>(zif_tableGetInt(choice, "partnerid", 0));
    return plugins::newNodeConnect(graph, node, own, partner);
}

int32_t converterAddBuilders(zif_object *, zif_object *graph)
{
    return plugins::builderAdd(graph, "ffmpeg.imageconvert", 25.0, converterAddChoices, converterApply);
}

}  // namespace

bool imageConverterRegister(zif_context *context)
{
    return plugins::pluginRegister(context, "ffmpeg.imageconverter", converterDirectCreate, converterAddBuilders);
}

}  // namespace ffplug
