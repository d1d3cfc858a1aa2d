#include "plugins/ffmpeg/media_encoder.h"
#include "plugins/common/plugin_errors.h"
#include "plugins/ffmpeg/encoder_node.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstring>

namespace ffplug {

namespace {

using plugins::fail;

constexpr const char *kKind = "ffmpeg.encoder";
const char *const kVideoKeys[] = {"width", "height", "pixelaspectratio"};
const char *const kSoundKeys[] = {"samplerate", "channels", "channelids"};

void encoderDestroy(zif_object *node) { delete encoderOf(node); }

EncoderNode *encoderOfPort(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    EncoderNode *e = encoderOf(node);
    zif_release(node);
    return e;
}

// Copies name from source to every table of destination, where source has
// it as one value. A list of alternatives (the frame rates an encoder
// supports) is not copied: the frame rate converter retimes to one rate, and
// a rate the encoder cannot take fails when the encoder opens.
bool copyEntry(zif_object *destination, zif_object *source, const char *name)
{
    zif_object *first = zif_objectGetType(source) == ZIF_TYPE_LIST
                            ? (zif_listGetEntryCount(source) ? zif_listGet(source, zif_listBegin(source)) : nullptr)
                            : zif_addRef(source);
    zif_object *value = first && zif_objectGetType(first) == ZIF_TYPE_TABLE ? zif_tableGet(first, name) : nullptr;
    bool single = value && zif_objectGetType(value) != ZIF_TYPE_LIST;
    zif_release(value);
    zif_release(first);
    return !single || zif_copyDescriptionEntry(destination, source, name);
}

bool setWork(zif_object *node, zif_object *description)
{
    const char *type = zif_tableGetString(description, "mediatype", "");
    if (std::strcmp(type, "video") == 0)
        return zif_nodeSetWorkFunc(node, encoderVideoWork);
    if (std::strcmp(type, "audio") == 0)
        return zif_nodeSetWorkFunc(node, encoderSoundWork);
    return fail(node, plugins::kErrConversion);
}

int32_t inputConnect(zif_object *port, zif_object *connector)
{
    EncoderNode *e = encoderOfPort(port);
    zif_release(e->inQueue);
    e->inQueue = zif_portConnectorGetQueue(connector);
    return e->inQueue && zif_listSetMaxEntryCount(e->inQueue, 4) ? 1 : 0;
}

int32_t outputConnect(zif_object *port, zif_object *connector)
{
    EncoderNode *e = encoderOfPort(port);
    zif_object *node = zif_portGetNode(port);
    zif_release(e->outQueue);
    e->outQueue = zif_portConnectorGetQueue(connector);
    bool ok = e->outQueue != nullptr;
    if (ok && !e->outputDescription) {
        zif_object *agreed = zif_portConnectorGetDescription(connector);
        ok = agreed && zif_objectGetType(agreed) == ZIF_TYPE_TABLE && zif_tableContains(agreed, "format");
        e->outputDescription = ok ? agreed : (zif_release(agreed), nullptr);
    }
    zif_object *d = e->outputDescription;
    if (ok) {
        e->gopSize = zif_tableGetInt(d, "gopsize", 12);
        e->pass = static_cast<int>(zif_tableGetInt(d, "twopass.pass", 0));
        const char *log = zif_tableGetString(d, "twopass.loguri", nullptr);
        e->logUri = log ? log : "";
        ok = setWork(node, d);
    }
    if (ok && !e->entry) {
        e->entry = encoderFind(zif_tableGetString(d, "format", nullptr));
        ok = e->entry || fail(node, plugins::kErrConversion);
        // The input now takes the stream the consumer asked for.
        zif_object *input = ok ? zif_portGetDescription(e->inputPort) : nullptr;
        zif_object *updated = input ? zif_newList(zif_objectGetContext(node)) : nullptr;
        zif_object *chosen = nullptr;
        for (zif_list_link *at = input ? zif_listBegin(input) : nullptr; updated && at != zif_listEnd(input);) {
            zif_object *t = zif_listNext(input, &at);
            bool video = std::strcmp(zif_tableGetString(t, "mediatype", ""), "video") == 0;
            if (video == e->entry->video && !chosen)
                ok = zif_valueClone(t, &chosen);
            zif_release(t);
        }
        if (ok && chosen) {
            if (e->entry->video)
                for (const char *k : {"width", "height", "pixelaspectratio", "framerate", "framerateexact"})
                    ok = ok && copyEntry(chosen, d, k);
            else
                for (const char *k : kSoundKeys)
                    ok = ok && copyEntry(chosen, d, k);
            ok = ok && zif_portSetDescription(e->inputPort, chosen);
        }
        for (zif_object *o : {input, updated, chosen})
            zif_release(o);
    }
    zif_release(node);
    return ok ? 1 : 0;
}

// Adds the node with its ports; entry may be null (direct creation).
zif_object *encoderCreate(zif_object *graph, const EncoderEntry *entry, zif_object *inSide, zif_object *outSide,
                          bool outputKnown)
{
    zif_object *node = zif_graphAddNewNode(graph, kKind);
    if (!node)
        return nullptr;
    auto *e = new EncoderNode;
    e->entry = entry;
    if (outputKnown)
        e->outputDescription = zif_addRef(outSide);
    zif_nodeSetName(node, kKind);
    zif_nodeSetUserData(node, reinterpret_cast<intptr_t>(e));
    zif_nodeSetDestroyFunc(node, encoderDestroy);
    bool ok = !entry || zif_nodeSetWorkFunc(node, entry->video ? encoderVideoWork : encoderSoundWork);
    zif_object *out = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, "ffmpeg.encoder.out");
    zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "ffmpeg.encoder.in");
    ok = ok && out && in && zif_portSetDescription(out, outSide) && zif_portSetDescription(in, inSide) &&
         zif_portSetMinConnections(out, 1) && zif_portSetMaxConnections(out, 1) && zif_portSetMinConnections(in, 1) &&
         zif_portSetMaxConnections(in, 1) && zif_portSetOnConnectFunc(out, outputConnect) &&
         zif_portSetOnConnectFunc(in, inputConnect);
    e->inputPort = in;
    zif_release(out);
    zif_release(in);
    if (ok)
        return node;
    zif_release(node);
    return nullptr;
}

uint64_t encoderDirectCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_context *context = zif_objectGetContext(graph);
    zif_object *outs = encoderAllOutputDescriptions(context), *ins = encoderAllInputDescriptions(context);
    zif_object *node = outs && ins ? encoderCreate(graph, nullptr, ins, outs, false) : nullptr;
    uint64_t id = node ? zif_nodeGetID(node) : 0;
    for (zif_object *o : {outs, ins, node})
        zif_release(o);
    return id;
}

// Builder modes: output mode feeds an existing consumer (porttype 1), input
// mode takes an existing producer (porttype 0).
bool offerFor(zif_object *builder, zif_object *graph, bool outputMode, bool video)
{
    zif_context *context = zif_objectGetContext(graph);
    zif_object *outputs = encoderOutputDescriptions(context, video);
    zif_object *input = encoderInputDescription(context, video);
    zif_object *filter = outputMode ? outputs : input;
    bool ok = outputs && input;
    if (ok && zif_listGetEntryCount(outputs) == 0) {
        for (zif_object *o : {outputs, input})
            zif_release(o);
        return true;
    }
    zif_object *ports = ok ? zif_graphNewPortIterator(graph, outputMode ? ZIF_PORT_INPUT : ZIF_PORT_OUTPUT, 0, filter, 2)
                           : nullptr;
    ok = ports != nullptr;
    while (zif_object *port = ok ? zif_iteratorNext(ports) : nullptr) {
        zif_object *node = zif_portGetNode(port);
        zif_object *name = node ? zif_nodeGetName(node) : nullptr;
        // Encoders are never chained onto encoders.
        bool ownPort = name && std::strcmp(zif_stringGetValue(name), kKind) == 0;
        zif_release(name);
        zif_release(node);
        zif_object *description = zif_portGetDescription(port);
        zif_object *overlap = nullptr;
        if (!ownPort && zif_constraintsMatch(description, filter, &overlap) > ZIF_MATCH_NONE) {
            std::vector<zif_object *> tables;
            if (zif_objectGetType(overlap) == ZIF_TYPE_LIST) {
                for (zif_list_link *at = zif_listBegin(overlap); at != zif_listEnd(overlap);)
                    tables.push_back(zif_listNext(overlap, &at));
            } else {
                tables.push_back(zif_addRef(overlap));
            }
            std::vector<zif_object *> others;
            if (outputMode) {
                others.push_back(zif_addRef(input));
            } else {
                for (zif_list_link *at = zif_listBegin(outputs); at != zif_listEnd(outputs);)
                    others.push_back(zif_listNext(outputs, &at));
            }
            for (zif_object *t : tables) {
                bool usable = t && zif_objectGetType(t) == ZIF_TYPE_TABLE && (!outputMode || zif_tableContains(t, "format"));
                for (zif_object *other : others) {
                    if (!ok || !usable)
                        break;
                    zif_object *choice = zif_newTable(context);
                    ok = choice && zif_tableSetInt(choice, "porttype", outputMode ? 1 : 0) &&
                         zif_tableSetTable(choice, "overlaptable", t) && zif_tableSetTable(choice, "otherportdesc", other) &&
                         zif_tableSetInt(choice, "mediatype", video ? 1 : 0) &&
                         zif_tableSetInt(choice, "partnerid", static_cast<int64_t>(zif_portGetID(port))) &&
                         zif_graphAddChoice(graph, builder, choice);
                    zif_release(choice);
                }
            }
            for (zif_object *o : tables)
                zif_release(o);
            for (zif_object *o : others)
                zif_release(o);
        }
        zif_release(overlap);
        zif_release(description);
        zif_release(port);
    }
    for (zif_object *o : {ports, outputs, input})
        zif_release(o);
    return ok;
}

int32_t addChoicesOutputMode(zif_object *builder, zif_object *graph)
{
    return offerFor(builder, graph, true, true) && offerFor(builder, graph, true, false) ? 1 : 0;
}

int32_t addChoicesInputMode(zif_object *builder, zif_object *graph)
{
    return offerFor(builder, graph, false, true) && offerFor(builder, graph, false, false) ? 1 : 0;
}

int32_t encoderApply(zif_object *, zif_object *graph, zif_object *choice)
{
    bool feedsConsumer = zif_tableGetInt(choice, "porttype", 0) == 1;
    bool video = zif_tableGetInt(choice, "mediatype", 0) == 1;
    zif_object *overlap = zif_tableGetTable(choice, "overlaptable", nullptr);
    zif_object *other = zif_tableGetTable(choice, "otherportdesc", nullptr);
    zif_object *outSide = nullptr, *inSide = nullptr;
    bool ok = overlap && other && zif_valueClone(feedsConsumer ? overlap : other, &outSide) &&
              zif_valueClone(feedsConsumer ? other : overlap, &inSide);
    const EncoderEntry *entry = ok ? encoderFind(zif_tableGetString(outSide, "format", nullptr)) : nullptr;
    ok = ok && (entry || fail(graph, plugins::kErrConversion));
    // Stream parameters go from the side facing the partner to the other.
    zif_object *from = feedsConsumer ? outSide : inSide, *to = feedsConsumer ? inSide : outSide;
    if (video) {
        for (const char *k : kVideoKeys)
            ok = ok && copyEntry(to, from, k);
        // The encoder's frame rates constrain its input.
        for (const char *k : {"framerate", "framerateexact"})
            ok = ok && copyEntry(inSide, outSide, k);
    } else {
        for (const char *k : kSoundKeys)
            ok = ok && copyEntry(to, from, k);
    }
    zif_object *node = ok ? encoderCreate(graph, entry, inSide, outSide, feedsConsumer) : nullptr;
    for (zif_object *o : {overlap, other, outSide, inSide})
        zif_release(o);
    if (!node)
        return 0;
    const char *own = feedsConsumer ? "ffmpeg.encoder.out" : "ffmpeg.encoder.in";
    uint64_t port = zif_graphFindNodePort(graph, zif_nodeGetID(node), own);
    zif_release(node);
    auto partner = static_cast<uint64_t>(zif_tableGetInt(choice, "partnerid", 0));
    return port ? zif_graphCreateConnection(graph, port, partner) : 0;
}

int32_t encoderAddBuilders(zif_object *, zif_object *graph)
{
    bool ok = true;
    struct Mode {
        const char *name;
        zif_graphBuilderAddChoicesFunc addChoices;
    };
    for (const Mode &m : {Mode{"ffmpeg.encode_connectout", addChoicesOutputMode},
                          Mode{"ffmpeg.encode_connectin", addChoicesInputMode}}) {
        const char *name = m.name;
        auto addChoices = m.addChoices;
        zif_object *builder = zif_graphAddNewBuilder(graph, name);
        ok = ok && builder && zif_graphBuilderSetAddChoicesFunc(builder, addChoices) &&
             zif_graphBuilderSetApplyChoiceFunc(builder, encoderApply);
        zif_release(builder);
    }
    return ok ? 1 : 0;
}

// Library messages have no reader here: they are dropped.
void dropLibraryMessage(void *, int, const char *, va_list) {}

}  // namespace

bool mediaEncoderRegister(zif_context *context)
{
    av_log_set_callback(dropLibraryMessage);
    zif_object *plugin = zif_newPlugin(context, kKind);
    bool ok = plugin && zif_pluginSetAddBuildersFunc(plugin, encoderAddBuilders) &&
              zif_pluginSetDirectCreateNodeFunc(plugin, encoderDirectCreate);
    zif_release(plugin);
    return ok;
}

}  // namespace ffplug
