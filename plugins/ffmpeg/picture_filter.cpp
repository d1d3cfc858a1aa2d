#include "plugins/ffmpeg/picture_filter.h"

#include <cstring>
#include <string>

namespace ffplug {

PictureFilter::~PictureFilter()
{
    zif_release(inQueue_);
    zif_release(outQueue_);
}

PictureFilter *PictureFilter::of(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    auto *f = reinterpret_cast<PictureFilter *>(zif_nodeGetUserData(node));
    zif_release(node);
    return f;
}

void PictureFilter::destroy(zif_object *node) { delete reinterpret_cast<PictureFilter *>(zif_nodeGetUserData(node)); }

zif_object *PictureFilter::addNode(zif_object *graph, const char *kind, zif_object *inDescription,
                                   zif_object *outDescription)
{
    zif_object *node = zif_graphAddNewNode(graph, kind);
    if (!node) {
        delete this;
        return nullptr;
    }
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(this));
    zif_nodeSetDestroyFunc(node, destroy);
    zif_nodeSetWorkFunc(node, work);
    std::string name = kind;
    zif_object *out = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, (name + ".out").c_str());
    zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, (name + ".in").c_str());
    bool ok = out && in && zif_portSetDescription(out, outDescription) && zif_portSetDescription(in, inDescription) &&
              zif_portSetOnConnectFunc(out, onOutputConnect) && zif_portSetOnConnectFunc(in, onInputConnect);
    inputPort_ = in;
    zif_release(out);
    zif_release(in);
    if (ok)
        return node;
    zif_release(node);
    return nullptr;
}

int32_t PictureFilter::onInputConnect(zif_object *port, zif_object *connector)
{
    PictureFilter *f = of(port);
    zif_release(f->inQueue_);
    f->inQueue_ = zif_portConnectorGetQueue(connector);
    return f->inQueue_ && zif_listSetMaxEntryCount(f->inQueue_, 1) ? 1 : 0;
}

int32_t PictureFilter::onOutputConnect(zif_object *port, zif_object *connector)
{
    PictureFilter *f = of(port);
    zif_release(f->outQueue_);
    f->outQueue_ = zif_portConnectorGetQueue(connector);
    return f->outQueue_ && f->outputConnected(connector) ? 1 : 0;
}

int32_t PictureFilter::work(zif_object *node)
{
    auto *f = reinterpret_cast<PictureFilter *>(zif_nodeGetUserData(node));
    if (!f->inQueue_ || !f->outQueue_ || zif_listGetEntryCount(f->outQueue_) > 0)
        return 1;
    zif_object *in = zif_listGetEntryCount(f->inQueue_) > 0 ? zif_listRemoveFirst(f->inQueue_) : nullptr;
    if (!in)
        return 1;
    bool end = zif_tableGetInt(in, "endofstream", 0) != 0;
    zif_object *out = nullptr;
    bool ok = f->convert(in, &out);
    if (ok && out)
        ok = zif_listAdd(f->outQueue_, out) != nullptr;
    zif_release(out);
    zif_release(in);
    return ok && zif_nodeSetFinishedForNow(node, end) ? 1 : 0;
}

bool PictureFilter::inputDescriptionTake(zif_object *source, const char *const *keys, int count)
{
    if (zif_portGetConnectorCount(inputPort_) > 0)
        return true;
    zif_object *current = zif_portGetDescription(inputPort_);
    zif_object *d = nullptr;
    bool ok = current && zif_valueClone(current, &d);
    zif_release(current);
    auto take = [&](zif_object *table) {
        for (int i = 0; i < count && ok; ++i)
            if (zif_tableContains(source, keys[i]))
                ok = zif_tableSetFromTable(table, source, keys[i]);
    };
    if (ok && zif_objectGetType(d) == ZIF_TYPE_LIST) {
        for (zif_list_link *at = zif_listBegin(d); ok && at != zif_listEnd(d);) {
            zif_object *t = zif_listNext(d, &at);
            if (zif_objectGetType(t) == ZIF_TYPE_TABLE)
                take(t);
            zif_release(t);
        }
    } else if (ok) {
        take(d);
    }
    ok = ok && zif_portSetDescription(inputPort_, d);
    zif_release(d);
    return ok;
}

bool portOfPictureConverter(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    zif_object *name = node ? zif_nodeGetName(node) : nullptr;
    const char *text = name ? zif_stringGetValue(name) : "";
    bool converter = std::strcmp(text, "ffmpeg.imageconvert") == 0 || std::strcmp(text, "ffmpeg.imageresize") == 0 ||
                     std::strcmp(text, "framerateconvert") == 0;
    zif_release(name);
    zif_release(node);
    return converter;
}

zif_object *firstOf(zif_object *value)
{
    if (value && zif_objectGetType(value) == ZIF_TYPE_LIST)
        return zif_listGetEntryCount(value) > 0 ? zif_listGet(value, zif_listBegin(value)) : nullptr;
    return zif_addRef(value);
}

}  // namespace ffplug
