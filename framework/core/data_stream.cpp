// Data streams: data values strung together into one byte stream with a
// read cursor and a peek cursor that may run ahead of it.
#include "framework/core/container.h"

#include <algorithm>
#include <cstring>

namespace {

struct DataStream {
    zif_object header;
    zif_object *buffers;  // list of data values in arrival order
    int32_t readPosition;
    uint64_t readAvailable;
    zif_list_link *peekBuffer;  // null: the peek cursor is at the read cursor
    int32_t peekPosition;
    uint64_t peekAvailable;
};

DataStream *streamRecord(zif_object *o) { return reinterpret_cast<DataStream *>(o); }

zif::DataValue *dataOf(zif_list_link *link) { return reinterpret_cast<zif::DataValue *>(link->object); }

zif_list_link *firstBuffer(DataStream *s) { return zif::listRecord(s->buffers)->head.next; }

// Lets go of the first buffer. Its lock is cleared only when the stream was
// its last holder; a value still held elsewhere stays locked for its other
// holders (error 5 recorded).
void dropFirstBuffer(DataStream *s)
{
    zif_object *data = zif_listRemoveFirst(s->buffers);
    zif::valueClearOwnLock(data);
    zif_release(data);
}

void resetPeek(DataStream *s)
{
    s->peekBuffer = nullptr;
    s->peekPosition = s->readPosition;
    s->peekAvailable = s->readAvailable;
}

void streamDestroy(zif_object *o)
{
    DataStream *s = streamRecord(o);
    while (zif_listGetEntryCount(s->buffers) > 0)
        dropFirstBuffer(s);
    zif_release(s->buffers);
}

// The common checks of read and peek: n >= 0, a destination, enough bytes.
bool checkTransfer(zif_object *stream, void *destination, int32_t n, uint64_t available)
{
    if (n < 0 || (n > 0 && !destination)) {
        zif::fail(stream->context, ZIF_ERR_INVALID_ARGUMENT);
        return false;
    }
    if (static_cast<uint64_t>(n) > available) {
        zif::fail(stream->context, ZIF_ERR_STREAM_UNDERRUN);
        return false;
    }
    return true;
}

}  // namespace

extern "C" {

zif_object *zif_newDataStream(zif_context *context)
{
    auto *s = zif::objectNew<DataStream>(context, ZIF_TYPE_DATA_STREAM, streamDestroy);
    if (!s)
        return nullptr;
    s->buffers = zif_newList(context);
    if (!s->buffers) {
        zif_release(reinterpret_cast<zif_object *>(s));
        return nullptr;
    }
    return reinterpret_cast<zif_object *>(s);
}

int32_t zif_dataStreamAddBuffer(zif_object *stream, zif_object *data)
{
    if (!zif::cast(stream, ZIF_TYPE_DATA_STREAM) || !zif_asData(data))
        return 0;
    DataStream *s = streamRecord(stream);
    if (!zif_listAdd(s->buffers, data))
        return 0;
    zif::valueLock(data);
    uint64_t size = static_cast<uint64_t>(zif_dataGetSize(data));
    s->readAvailable += size;
    s->peekAvailable += size;
    return 1;
}

int32_t zif_dataStreamRead(zif_object *stream, void *destination, int32_t n)
{
    if (!zif::cast(stream, ZIF_TYPE_DATA_STREAM))
        return 0;
    DataStream *s = streamRecord(stream);
    if (!checkTransfer(stream, destination, n, s->readAvailable))
        return 0;
    auto *out = static_cast<uint8_t *>(destination);
    int32_t remaining = n;
    while (remaining > 0) {
        zif::DataValue *buffer = dataOf(firstBuffer(s));
        int32_t chunk = std::min(remaining, buffer->size - s->readPosition);
        if (chunk > 0) {
            std::memcpy(out, buffer->buffer + s->readPosition, static_cast<size_t>(chunk));
            out += chunk;
        }
        remaining -= chunk;
        s->readPosition += chunk;
        s->readAvailable -= static_cast<uint64_t>(chunk);
        if (s->readPosition == buffer->size) {
            if (s->peekBuffer == firstBuffer(s))
                s->peekBuffer = nullptr;  // reset below: the read passed the peek cursor
            dropFirstBuffer(s);
            s->readPosition = 0;
        }
    }
    if (s->peekAvailable >= s->readAvailable)
        resetPeek(s);
    return 1;
}

int32_t zif_dataStreamPeek(zif_object *stream, void *destination, int32_t n)
{
    if (!zif::cast(stream, ZIF_TYPE_DATA_STREAM))
        return 0;
    DataStream *s = streamRecord(stream);
    if (!checkTransfer(stream, destination, n, s->peekAvailable))
        return 0;
    if (n > 0 && !s->peekBuffer)
        s->peekBuffer = firstBuffer(s);
    auto *out = static_cast<uint8_t *>(destination);
    int32_t remaining = n;
    while (remaining > 0) {
        zif::DataValue *buffer = dataOf(s->peekBuffer);
        if (s->peekPosition == buffer->size) {
            s->peekBuffer = s->peekBuffer->next;
            s->peekPosition = 0;
            continue;
        }
        int32_t chunk = std::min(remaining, buffer->size - s->peekPosition);
        std::memcpy(out, buffer->buffer + s->peekPosition, static_cast<size_t>(chunk));
        out += chunk;
        remaining -= chunk;
        s->peekPosition += chunk;
        s->peekAvailable -= static_cast<uint64_t>(chunk);
    }
    return 1;
}

int32_t zif_dataStreamResetPeekCursor(zif_object *stream)
{
    if (!zif::cast(stream, ZIF_TYPE_DATA_STREAM))
        return 0;
    resetPeek(streamRecord(stream));
    return 1;
}

int32_t zif_dataStreamAdvanceReadCursor(zif_object *stream)
{
    if (!zif::cast(stream, ZIF_TYPE_DATA_STREAM))
        return 0;
    DataStream *s = streamRecord(stream);
    if (s->peekBuffer) {
        while (firstBuffer(s) != s->peekBuffer)
            dropFirstBuffer(s);
        s->readPosition = s->peekPosition;
        s->readAvailable = s->peekAvailable;
    }
    return 1;
}

uint64_t zif_dataStreamGetReadAvailable(zif_object *stream)
{
    return zif::cast(stream, ZIF_TYPE_DATA_STREAM) ? streamRecord(stream)->readAvailable : 0;
}

uint64_t zif_dataStreamGetPeekAvailable(zif_object *stream)
{
    return zif::cast(stream, ZIF_TYPE_DATA_STREAM) ? streamRecord(stream)->peekAvailable : 0;
}

}  // extern "C"
