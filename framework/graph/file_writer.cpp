// The file writer: serves a "write" command by appending the "data" bytes of
// every sample it receives. It writes to a temporary file beside the target
// and renames it at the end of the stream, so a search branch that is
// abandoned, or a run that fails, never truncates an existing file.
#include "framework/graph/builtin_plugins.h"
#include "framework/graph/file_command.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace zif {

namespace {

struct Writer {
    int fd = -1;
    std::string path;
    std::string temporaryPath;  // empty once renamed or removed
    zif_object *queue = nullptr;
    bool closed = false;
};

Writer *writerOf(zif_object *node) { return reinterpret_cast<Writer *>(zif_nodeGetUserData(node)); }

Writer *writerOfPort(zif_object *port)
{
    zif_object *node = zif_portGetNode(port);
    Writer *w = node ? writerOf(node) : nullptr;
    zif_release(node);
    return w;
}

void writerDestroy(zif_object *node)
{
    Writer *w = writerOf(node);
    if (w->fd >= 0)
        close(w->fd);
    if (!w->temporaryPath.empty())
        unlink(w->temporaryPath.c_str());
    zif_release(w->queue);
    delete w;
}

// A new, exclusive file beside path; -1 when none can be made.
int createTemporary(const std::string &path, std::string *temporaryPath)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = path + ".part-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *temporaryPath = candidate;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

bool writeAll(int fd, const uint8_t *bytes, int32_t n)
{
    for (int32_t done = 0; done < n;) {
        ssize_t put = write(fd, bytes + done, static_cast<size_t>(n - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<int32_t>(put);
    }
    return true;
}

// Closes the temporary file and gives it the target's name.
bool finish(Writer *w)
{
    w->closed = true;
    bool ok = close(w->fd) == 0;
    w->fd = -1;
    ok = ok && rename(w->temporaryPath.c_str(), w->path.c_str()) == 0;
    if (ok)
        w->temporaryPath.clear();
    return ok;
}

int32_t writerWork(zif_object *node)
{
    Writer *w = writerOf(node);
    if (!w->queue || w->closed)
        return 1;
    zif_context *context = zif_objectGetContext(node);
    while (zif_object *sample = zif_listRemoveFirst(w->queue)) {
        const uint8_t *bytes = nullptr;
        int32_t size = 0;
        bool ok = true;
        if (zif_tableGetData(sample, "data", &bytes, &size, nullptr, 0) && size > 0)
            ok = writeAll(w->fd, bytes, size);
        bool ended = zif_tableGetInt(sample, "endofstream", 0) != 0;
        zif_release(sample);
        if (ok && ended) {
            ok = finish(w);
            zif_nodeSetFinishedForNow(node, 1);
        }
        if (!ok) {
            zif_setLastError(context, ZIF_ERR_WRITE);
            return 0;
        }
        if (ended)
            break;
    }
    return 1;
}

int32_t dataInConnect(zif_object *port, zif_object *connector)
{
    Writer *w = writerOfPort(port);
    zif_release(w->queue);
    w->queue = zif_portConnectorGetQueue(connector);
    return 1;
}

int32_t commandConnect(zif_object *port, zif_object *connector)
{
    zif_context *context = zif_objectGetContext(port);
    Writer *w = writerOfPort(port);
    zif_object *path = fileCommandPath(port, connector);
    if (!path)
        return 0;
    w->path = zif_stringGetValue(path);
    zif_release(path);
    // Everything is checked before the file system is touched.
    zif_object *partner = zif_portConnectorGetPartnerDescription(connector);
    zif_object *content = zif_tableGetTable(partner, "contentdescription", nullptr);
    zif_release(partner);
    if (!content) {
        zif_setLastError(context, ZIF_ERR_MISSING_ENTRY);
        return 0;
    }
    zif_object *node = zif_portGetNode(port);
    zif_object *in = zif_nodeAddNewPort(node, ZIF_PORT_INPUT, "filewriter.datain");
    bool ok = in && zif_portSetDescription(in, content) && zif_portSetOnConnectFunc(in, dataInConnect);
    zif_release(in);
    zif_release(node);
    zif_release(content);
    if (!ok)
        return 0;
    w->fd = createTemporary(w->path, &w->temporaryPath);
    if (w->fd < 0) {
        zif_setLastError(context, ZIF_ERR_FILE_OPEN);
        return 0;
    }
    return 1;
}

zif_object *writerCreate(zif_object *graph)
{
    static const FileNodeKind kind{
        "filewriter", "filewriter.commandin", "write",
        [] { return reinterpret_cast<intptr_t>(new Writer); },
        writerDestroy, writerWork, commandConnect};
    return fileNodeCreate(graph, kind);
}

int32_t writerAddChoices(zif_object *builder, zif_object *graph) { return fileCommandAddChoices(builder, graph, "write"); }

int32_t writerApply(zif_object *, zif_object *graph, zif_object *choice)
{
    return fileCommandApply(graph, choice, writerCreate);
}

uint64_t writerDirectCreate(zif_object *, zif_object *graph, zif_object *)
{
    zif_object *port = writerCreate(graph);
    zif_object *node = port ? zif_portGetNode(port) : nullptr;
    uint64_t id = zif_nodeGetID(node);
    zif_release(node);
    zif_release(port);
    return id;
}

}  // namespace

const BuiltinPlugin kFileWriterPlugin = {"filewriter", "filewriter", 25.0, writerAddChoices, writerApply, nullptr,
                                         writerDirectCreate};

}  // namespace zif
