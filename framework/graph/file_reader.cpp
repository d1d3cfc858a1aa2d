// The file reader: serves a "read" command by handing out the file's bytes
// in chunks of 8 192, one chunk per pass and only once the previous one has
// been taken.
#include "framework/graph/builtin_plugins.h"
#include "framework/graph/file_command.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zif {

namespace {

constexpr int32_t kChunkSize = 8192;

struct Reader {
    int fd = -1;
    zif_object *uri = nullptr;    // the partner's "uri" string
    zif_object *queue = nullptr;  // the data output's queue
    int64_t position = 0;
    bool ended = false;
};

Reader *readerOf(zif_object *node) { return reinterpret_cast<Reader *>(zif_nodeGetUserData(node)); }

Reader *readerOfPort(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    Reader *r = node ? readerOf(node) : nullptr;
    zif_release(node);
    return r;
}

void readerDestroy(zif_object *node)
{
    Reader *r = readerOf(node);
    if (r->fd >= 0)
        close(r->fd);
    zif_release(r->uri);
    zif_release(r->queue);
    delete r;
}

// Fills data with up to kChunkSize bytes; false on a read error.
bool readChunk(int fd, zif_object *data, int32_t *got)
{
    uint8_t *buffer = zif_dataGetWritePtr(data);
    *got = 0;
    while (*got < kChunkSize) {
        ssize_t n = read(fd, buffer + *got, static_cast<size_t>(kChunkSize - *got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        *got += static_cast<int32_t>(n);
    }
    return true;
}

zif_object *chunkSample(zif_context *context, Reader *r, zif_object *data, int64_t position)
{
    zif_object *s = zif_newTable(context);
    bool ok = s && zif_tableSet(s, "data", data) && zif_tableSetString(s, "portclass", "data") &&
              zif_tableSetString(s, "format", "unknown") && zif_tableSet(s, "uri", r->uri) &&
              zif_tableSetInt(s, "posbytes", position) && zif_tableSetInt(s, "endofstream", r->ended ? 1 : 0);
    if (!ok) {
        zif_release(s);
        return nullptr;
    }
    return s;
}

int32_t readerWork(zif_object *node)
{
    Reader *r = readerOf(node);
    if (!r->queue || zif_listGetEntryCount(r->queue) > 0 || r->ended)
        return 1;
    zif_context *context = zif_objectGetContext(node);
    zif_object *data = zif_newData(context, kChunkSize);
    int32_t got = 0;
    if (!data || !zif_dataSetSize(data, kChunkSize) || !readChunk(r->fd, data, &got)) {
        zif_release(data);
        if (data)
            zif_setLastError(context, ZIF_ERR_READ);
        return 0;
    }
    zif_dataSetSize(data, got);
    int64_t position = r->position;
    r->position += got;
    r->ended = got < kChunkSize;
    zif_object *sample = chunkSample(context, r, data, position);
    zif_release(data);
    bool ok = sample && zif_listAdd(r->queue, sample);
    zif_release(sample);
    if (!ok)
        return 0;
    return zif_nodeSetFinishedForNow(node, r->ended);
}

int32_t dataOutConnect(zif_object *port, zif_object *connector)
{
    Reader *r = readerOfPort(port);
    zif_release(r->queue);
    r->queue = zif_portConnectorGetQueue(connector);
    return 1;
}

int32_t commandConnect(zif_object *port, zif_object *connector)
{
    zif_context *context = zif_objectGetContext(port);
    Reader *r = readerOfPort(port);
    zif_object *partner = zif_portConnectorGetPartnerDescription(connector);
    const char *uri = zif_tableGetString(partner, "uri", nullptr);
    zif_object *path = fileCommandPath(port, connector);
    if (path)
        r->fd = open(zif_stringGetValue(path), O_RDONLY | O_CLOEXEC);
    bool ok = path && r->fd >= 0;
    if (path && r->fd < 0)
        zif_setLastError(context, ZIF_ERR_FILE_OPEN);
    if (ok)
        r->uri = zif_newString(context, uri);
    zif_release(path);
    zif_release(partner);
    if (!ok || !r->uri)
        return 0;

    zif_object *node = zif_portGetNode(port);
    zif_object *out = zif_nodeAddNewPort(node, ZIF_PORT_OUTPUT, "filereader.dataOut");
    zif_object *description = zif_newTable(context);
    ok = out && description && zif_tableSetString(description, "portclass", "data") &&
         zif_tableSetString(description, "format", "unknown") && zif_portSetDescription(out, description) &&
         zif_portSetOnConnectFunc(out, dataOutConnect);
    zif_release(description);
    zif_release(out);
    zif_release(node);
    return ok ? 1 : 0;
}

zif_object *readerCreate(zif_object *graph)
{
    static const FileNodeKind kind{
        "filereader", "filereader.commandIn", "read",
        [] { return reinterpret_cast<intptr_t>(new Reader); },
        readerDestroy, readerWork, commandConnect};
    return fileNodeCreate(graph, kind);
}

int32_t readerAddChoices(zif_object *builder, zif_object *graph) { return fileCommandAddChoices(builder, graph, "read"); }

int32_t readerApply(zif_object *, zif_object *graph, zif_object *choice)
{
    return fileCommandApply(graph, choice, readerCreate);
}

}  // namespace

const BuiltinPlugin kFileReaderPlugin = {"filereader", "filereader", 25.0, readerAddChoices, readerApply, nullptr, nullptr};

}  // namespace zif
