// The frame rate converter node. Output times start at the first input's
// time and advance by exactly one output frame duration D; each output is
// the input frame at that time, or a blend of the two frames around it.
#include "framework/graph/framerate_converter.h"
#include "framework/graph/exact_time.h"
#include "framework/graph/graph_types.h"

#include <cmath>
#include <cstring>
#include <string>

namespace zif {

namespace {

const char *const kPlanes[] = {"y", "u", "v"};
const char *const kPlaneKeys[] = {"yuv.linedelta.", "yuv.firstlineoffset.", "yuv.hratio.", "yuv.vratio."};

// Entries that describe a frame's size and plane layout.
std::vector<std::string> geometryKeys()
{
    std::vector<std::string> keys = {"format", "width", "height", "pixelaspectratio"};
    for (const char *prefix : kPlaneKeys)
        for (const char *plane : kPlanes)
            keys.push_back(std::string(prefix) + plane);
    return keys;
}

struct Frame {
    zif_object *sample = nullptr;
    ExactTime time;
};

struct Converter {
    zif_object *inQueue = nullptr;
    zif_object *outQueue = nullptr;
    zif_object *inDescription = nullptr;  // the input connector's agreed description
    bool haveTarget = false, haveSource = false, exact = false;
    ExactTime target, source;
    Frame a, b;
    bool started = false, inputEnded = false, ended = false;
    ExactTime t;
};

Converter *converterOf(zif_object *node) { return reinterpret_cast<Converter *>(zif_nodeGetUserData(node)); }

Converter *converterOfPort(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    Converter *c = node ? converterOf(node) : nullptr;
    zif_release(node);
    return c;
}

void converterDestroy(zif_object *node)
{
    Converter *c = converterOf(node);
    for (zif_object *o : {c->inQueue, c->outQueue, c->inDescription, c->a.sample, c->b.sample})
        zif_release(o);
    delete c;
}

// The "framerate" of a description: a number, or the first of a list.
bool rateOf(zif_object *description, ExactTime *rate)
{
    zif_object *value = zif_tableGet(description, "framerate");
    if (value && zif_objectGetType(value) == ZIF_TYPE_LIST) {
        zif_object *first = zif_listGet(value, zif_listBegin(value));
        zif_release(value);
        value = first;
    }
    bool ok = ExactTime::fromValue(value, rate) && rate->positive();
    zif_release(value);
    return ok;
}

bool timeOf(zif_object *sample, ExactTime *time)
{
    zif_object *value = zif_tableGet(sample, "presentationtime");
    bool ok = ExactTime::fromValue(value, time);
    zif_release(value);
    return ok;
}

int64_t geometry(Converter *c, zif_object *sample, const std::string &key)
{
    if (zif_tableContains(sample, key.c_str()))
        return zif_tableGetInt(sample, key.c_str(), 0);
    return zif_tableGetInt(c->inDescription, key.c_str(), key.find("ratio") != std::string::npos ? 1 : 0);
}

bool sameLayout(Converter *c, zif_object *x, zif_object *y)
{
    for (const char *key : {"width", "height"})
        if (geometry(c, x, key) != geometry(c, y, key))
            return false;
    for (const char *plane : kPlanes) {
        for (const char *prefix : kPlaneKeys)
            if (geometry(c, x, std::string(prefix) + plane) != geometry(c, y, std::string(prefix) + plane))
                return false;
        std::string data = std::string("yuv.data.") + plane;
        const uint8_t *px = nullptr, *py = nullptr;
        int32_t sx = -1, sy = -1;
        zif_tableGetData(x, data.c_str(), &px, &sx, nullptr, -1);
        zif_tableGetData(y, data.c_str(), &py, &sy, nullptr, -1);
        if (sx != sy)
            return false;
    }
    return true;
}

int64_t ceilDiv(int64_t a, int64_t b) { return b > 0 ? (a + b - 1) / b : a; }

// A plane mixed from the two frames' planes with weight W / 65536 of b.
zif_object *blendPlane(Converter *c, zif_object *x, zif_object *y, const char *plane, int32_t weight)
{
    std::string key = std::string("yuv.data.") + plane;
    const uint8_t *pa = nullptr, *pb = nullptr;
    int32_t size = 0, sizeB = 0;
    if (!zif_tableGetData(x, key.c_str(), &pa, &size, nullptr, 0) || !zif_tableGetData(y, key.c_str(), &pb, &sizeB, nullptr, 0))
        return nullptr;
    zif_object *out = zif_newData(zif_objectGetContext(x), size);
    if (!out)
        return nullptr;
    uint8_t *po = zif_dataGetWritePtr(out);
    if (size)
        std::memcpy(po, pa, static_cast<size_t>(size));
    std::string p = plane;
    int64_t rows = ceilDiv(geometry(c, x, "height"), geometry(c, x, "yuv.vratio." + p));
    int64_t bytes = ceilDiv(geometry(c, x, "width"), geometry(c, x, "yuv.hratio." + p));
    int64_t delta = geometry(c, x, "yuv.linedelta." + p);
    int64_t first = geometry(c, x, "yuv.firstlineoffset." + p);
    for (int64_t r = 0; r < rows; ++r) {
        int64_t start = first + r * delta;
        for (int64_t i = start; i < start + bytes; ++i) {
            if (i < 0 || i >= size || i >= sizeB)
                continue;
            po[i] = static_cast<uint8_t>((pa[i] * (65536 - weight) + pb[i] * weight) >> 16);
        }
    }
    return out;
}

// The frame's planes and geometry copied into the output sample.
bool copyPicture(Converter *c, zif_object *out, zif_object *frame)
{
    for (const std::string &key : geometryKeys()) {
        if (key == "format" || key == "pixelaspectratio")
            continue;
        if (!zif_tableSetInt(out, key.c_str(), geometry(c, frame, key)))
            return false;
    }
    for (const char *plane : kPlanes) {
        std::string key = std::string("yuv.data.") + plane;
        if (zif_tableContains(frame, key.c_str()) && !zif_tableSetFromTable(out, frame, key.c_str()))
            return false;
    }
    return true;
}

bool blendPicture(Converter *c, zif_object *out, ExactTime t)
{
    double w = (t - c->a.time).toDouble() / (c->b.time - c->a.time).toDouble();
    if (!sameLayout(c, c->a.sample, c->b.sample))
        return copyPicture(c, out, w >= 0.5 ? c->b.sample : c->a.sample);
    if (!copyPicture(c, out, c->a.sample))
        return false;
    auto weight = static_cast<int32_t>(w * 65536);
    for (const char *plane : kPlanes) {
        std::string key = std::string("yuv.data.") + plane;
        if (!zif_tableContains(c->a.sample, key.c_str()))
            continue;
        zif_object *mixed = blendPlane(c, c->a.sample, c->b.sample, plane, weight);
        bool ok = mixed && zif_tableSet(out, key.c_str(), mixed);
        zif_release(mixed);
        if (!ok)
            return false;
    }
    return true;
}

ExactTime frameDuration(Converter *c)
{
    ExactTime rate = c->haveTarget ? c->target : c->haveSource ? c->source : ExactTime::of(25, 1);
    return rate.inverse();
}

// The output sample for time t; picture from a (and b) when there is one.
zif_object *outputSample(Converter *c, zif_context *context, ExactTime t, bool withPicture, bool last)
{
    ExactTime d = frameDuration(c);
    zif_object *s = zif_newTable(context);
    zif_object *rate = d.inverse().toFract(context);
    zif_object *time = t.toFract(context);
    bool ok = s && rate && time && zif_tableSetString(s, "portclass", "data") &&
              zif_tableSetString(s, "format", "yuv.separate") && zif_tableSet(s, "framerate", rate) &&
              zif_tableSetInt(s, "framerateexact", 1) && zif_tableSet(s, "presentationtime", time) &&
              zif_tableSetInt(s, "endofstream", last ? 1 : 0);
    zif_release(rate);
    zif_release(time);
    zif_object *source = c->a.sample ? c->a.sample : c->b.sample;
    if (ok && source && zif_tableGetDouble(source, "duration", 0.0) > 0)
        ok = zif_tableSetFromTable(s, source, "duration");
    if (ok && withPicture) {
        ExactTime epsilon = d.divided(256);
        bool atA = c->a.sample && t <= c->a.time + epsilon;
        if (!c->a.sample)
            ok = copyPicture(c, s, c->b.sample);
        else if (atA || !c->b.sample)
            ok = copyPicture(c, s, c->a.sample);
        else
            ok = blendPicture(c, s, t);
    }
    if (!ok) {
        zif_release(s);
        return nullptr;
    }
    return s;
}

void advance(Frame &a, Frame &b, zif_object *sample, ExactTime time)
{
    zif_release(a.sample);
    a = b;
    b = Frame{sample, time};
}

int32_t passThrough(zif_object *node, Converter *c)
{
    while (zif_object *s = zif_listRemoveFirst(c->inQueue)) {
        bool ended = zif_tableGetInt(s, "endofstream", 0) != 0;
        bool ok = zif_listAdd(c->outQueue, s) != nullptr;
        zif_release(s);
        if (!ok)
            return 0;
        if (ended)
            return zif_nodeSetFinishedForNow(node, 1);
    }
    return 1;
}

// Takes input until b lies beyond t; once the input has ended, b moves to
// a and is not replaced. False when the node must wait for more input.
bool fillFrames(Converter *c, ExactTime t, ExactTime epsilon)
{
    while (!c->b.sample || c->b.time <= t + epsilon) {
        if (c->inputEnded) {
            if (c->b.sample)
                advance(c->a, c->b, nullptr, ExactTime());
            return true;
        }
        zif_object *s = zif_listRemoveFirst(c->inQueue);
        if (!s)
            return false;
        bool ended = zif_tableGetInt(s, "endofstream", 0) != 0;
        if (!zif_tableContains(s, "yuv.data.y")) {
            zif_release(s);
            c->inputEnded = true;
            continue;
        }
        ExactTime time;
        if (!timeOf(s, &time))
            time = c->b.sample ? c->b.time + (c->haveSource ? c->source.inverse() : frameDuration(c)) : t;
        advance(c->a, c->b, s, time);
        c->inputEnded = ended;
    }
    return true;
}

int32_t converterWork(zif_object *node)
{
    Converter *c = converterOf(node);
    if (!c->inQueue || !c->outQueue || c->ended)
        return 1;
    if (!c->haveTarget && !c->exact)
        return passThrough(node, c);
    zif_context *context = zif_objectGetContext(node);
    ExactTime d = frameDuration(c);
    ExactTime epsilon = d.divided(256);
    if (!c->started) {
        zif_list_link *first = zif_listBegin(c->inQueue);
        zif_object *s = first ? zif_listGet(c->inQueue, first) : nullptr;
        if (!s)
            return 1;
        if (!timeOf(s, &c->t))
            c->t = ExactTime::of(0, 1);
        zif_release(s);
        c->started = true;
    }
    for (;;) {
        if (!fillFrames(c, c->t, epsilon))
            return 1;
        Frame &last = c->b.sample ? c->b : c->a;
        bool picture = last.sample != nullptr;
        bool isLast = false;
        if (c->inputEnded) {
            ExactTime end = picture ? last.time + (c->haveSource ? c->source.inverse() : d) : c->t;
            if (!picture || end <= c->t) {
                // Nothing more is due: a bare end-of-stream marker.
                zif_object *marker = outputSample(c, context, c->t, false, true);
                bool ok = marker && zif_listAdd(c->outQueue, marker);
                zif_release(marker);
                c->ended = true;
                return ok ? zif_nodeSetFinishedForNow(node, 1) : 0;
            }
            isLast = end <= c->t + d;
        }
        zif_object *out = outputSample(c, context, c->t, true, isLast);
        bool ok = out && zif_listAdd(c->outQueue, out);
        zif_release(out);
        if (!ok)
            return 0;
        c->t = c->t + d;
        if (isLast) {
            c->ended = true;
            return zif_nodeSetFinishedForNow(node, 1);
        }
    }
}

bool copyGeometry(zif_object *destination, zif_object *source)
{
    for (const std::string &key : geometryKeys())
        if (zif_tableContains(source, key.c_str()) && !zif_copyDescriptionEntry(destination, source, key.c_str()))
            return false;
    return true;
}

int32_t outputConnect(zif_object *port, zif_object *connector)
{
    Converter *c = converterOfPort(port);
    zif_object *agreed = zif_portConnectorGetDescription(connector);
    c->haveTarget = rateOf(agreed, &c->target);
    c->exact = zif_tableGetInt(agreed, "framerateexact", 0) != 0;
    zif_release(c->outQueue);
    c->outQueue = zif_portConnectorGetQueue(connector);
    // The input takes frames of the size and layout the output agreed on.
    zif_object *node = zif_portGetNode(port);
    zif_object *graph = zif_nodeGetGraph(node);
    uint64_t inId = zif_graphFindNodePort(graph, zif_nodeGetID(node), "framerateconvert.in");
    zif_object *in = nullptr;
    for (Port *p = portRecord(port)->node ? portRecord(port)->node->ports : nullptr; p; p = p->next)
        if (p->id == inId)
            in = asObject(p);
    zif_object *description = in ? zif_portGetDescription(in) : nullptr;
    bool ok = description && zif_valueMakeModifiable(&description) && copyGeometry(description, agreed) &&
              zif_portSetDescription(in, description);
    zif_release(description);
    zif_release(graph);
    zif_release(node);
    zif_release(agreed);
    return ok ? 1 : 0;
}

int32_t inputConnect(zif_object *, zif_object *connector)
{
    zif_object *port = zif_portConnectorGetPort(connector);
    Converter *c = converterOfPort(port);
    zif_release(port);
    zif_release(c->inDescription);
    c->inDescription = zif_portConnectorGetDescription(connector);
    c->haveSource = rateOf(c->inDescription, &c->source);
    zif_release(c->inQueue);
    c->inQueue = zif_portConnectorGetQueue(connector);
    return zif_listSetMaxEntryCount(c->inQueue, 1);
}

}  // namespace

zif_object *framerateTemplate(zif_context *context, bool exact)
{
    zif_object *t = zif_newTable(context);
    bool ok = t && zif_tableSetString(t, "portclass", "data") && zif_tableSetString(t, "format", "yuv.separate") &&
              (!exact || zif_tableSetInt(t, "framerateexact", 1));
    if (!ok) {
        zif_release(t);
        return nullptr;
    }
    return t;
}

zif_object *framerateConverterCreate(zif_object *graph, zif_object *overlap)
{
    zif_context *context = zif_objectGetContext(graph);
    zif_object *node = zif_graphAddNewNode(graph, "framerateconvert");
    if (!node)
        return nullptr;
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(new Converter));
    zif_nodeSetDestroyFunc(node, converterDestroy);
    zif_nodeSetWorkFunc(node, converterWork);
    zif_object *out = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, "framerateconvert.out");
    zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "framerateconvert.in");
    zif_object *outDescription = framerateTemplate(context, true);
    zif_object *inDescription = framerateTemplate(context, false);
    bool ok = out && in && outDescription && inDescription;
    if (ok && overlap)
        ok = copyGeometry(outDescription, overlap) && copyGeometry(inDescription, overlap);
    ok = ok && zif_portSetDescription(out, outDescription) && zif_portSetDescription(in, inDescription) &&
         zif_portSetOnConnectFunc(out, outputConnect) && zif_portSetOnConnectFunc(in, inputConnect);
    for (zif_object *o : {out, in, outDescription, inDescription})
        zif_release(o);
    if (!ok) {
        zif_release(node);
        return nullptr;
    }
    return node;
}

}  // namespace zif
