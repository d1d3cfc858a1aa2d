// Logs: timestamped, levelled entries, bounded in number, optionally passed
// on to a parent log.
#include "framework/core/log.h"
#include "framework/core/container.h"
#include "framework/core/iterator.h"

#include <cstdio>

#include <string>

namespace zif {

namespace {

constexpr const char *kLevelNames[] = {"debug", "info", "warning", "error"};

struct Log {
    zif_object header;
    zif_object *entries;  // list of log entries, oldest first
    int32_t maxEntryCount;
    zif_object *parent;
    char *prefix;
    LogClock clock;
    LogRemoteSend remoteSend;  // set: entries go there and nowhere else
    void *remoteUser;
};

struct LogEntry {
    zif_object header;
    int32_t level;
    int64_t time;
    zif_object *source;
    zif_object *message;
};

int64_t systemTime() { return static_cast<int64_t>(std::time(nullptr)); }

Log *logRecord(zif_object *o) { return reinterpret_cast<Log *>(o); }
LogEntry *entryRecord(zif_object *o) { return reinterpret_cast<LogEntry *>(o); }

void logDestroy(zif_object *o)
{
    Log *log = logRecord(o);
    zif_release(log->entries);
    zif_release(log->parent);
    zif_free(o->context, log->prefix);
}

void entryDestroy(zif_object *o)
{
    zif_release(entryRecord(o)->source);
    zif_release(entryRecord(o)->message);
}

void dropOldest(Log *log)
{
    while (log->maxEntryCount >= 0 && zif_listGetEntryCount(log->entries) > log->maxEntryCount)
        zif_release(zif_listRemoveFirst(log->entries));
}

zif_object *newEntry(zif_context *context, int32_t level, int64_t time, const char *source, const char *message)
{
    auto *entry = objectNew<LogEntry>(context, ZIF_TYPE_LOG_ENTRY, entryDestroy);
    if (!entry)
        return nullptr;
    entry->level = level;
    entry->time = time;
    entry->source = zif_newString(context, source);
    entry->message = zif_newString(context, message);
    if (!entry->source || !entry->message) {
        zif_release(reinterpret_cast<zif_object *>(entry));
        return nullptr;
    }
    return reinterpret_cast<zif_object *>(entry);
}

struct EntryWalk {
    zif_object *entries;
    zif_list_link *position;
};

zif_object *entryWalkNext(void *state)
{
    auto *walk = static_cast<EntryWalk *>(state);
    if (walk->position == zif_listEnd(walk->entries))
        return nullptr;
    return zif_listNext(walk->entries, &walk->position);
}

void entryWalkRelease(zif_context *context, void *state)
{
    auto *walk = static_cast<EntryWalk *>(state);
    zif_release(walk->entries);
    zif_free(context, walk);
}

}  // namespace

bool logSetParent(zif_object *log, zif_object *parent, const char *prefix)
{
    if (!cast(log, ZIF_TYPE_LOG) || (parent && !cast(parent, ZIF_TYPE_LOG)))
        return false;
    char *copy = nullptr;
    if (prefix && !(copy = zif_copyString(log->context, prefix)))
        return false;
    Log *l = logRecord(log);
    zif_release(l->parent);
    zif_free(log->context, l->prefix);
    l->parent = zif_addRef(parent);
    l->prefix = copy;
    return true;
}

void logSetRemote(zif_object *log, LogRemoteSend send, void *user)
{
    logRecord(log)->remoteSend = send;
    logRecord(log)->remoteUser = user;
}

void logSetClock(zif_object *log, LogClock clock) { logRecord(log)->clock = clock ? clock : systemTime; }

bool contextLogAttach(zif_context *context)
{
    context->log = zif_newLog(context);
    return context->log != nullptr;
}

void contextLogDetach(zif_context *context)
{
    zif_release(context->log);
    context->log = nullptr;
}

}  // namespace zif

using zif::logRecord;
using zif::entryRecord;

extern "C" {

zif_object *zif_newLog(zif_context *context)
{
    auto *log = zif::objectNew<zif::Log>(context, ZIF_TYPE_LOG, zif::logDestroy);
    if (!log)
        return nullptr;
    log->maxEntryCount = -1;
    log->clock = zif::systemTime;
    log->entries = zif_newList(context);
    if (!log->entries) {
        zif_release(reinterpret_cast<zif_object *>(log));
        return nullptr;
    }
    return reinterpret_cast<zif_object *>(log);
}

zif_object *zif_getLog(zif_context *context) { return context ? zif_addRef(context->log) : nullptr; }

int32_t zif_logAddEntry(zif_object *log, int32_t level, const char *source, const char *message)
{
    if (!zif::cast(log, ZIF_TYPE_LOG))
        return 0;
    zif_context *context = log->context;
    if (level < 0 || level > 3 || !source || !message) {
        zif::fail(context, ZIF_ERR_INVALID_ARGUMENT);
        return 0;
    }
    zif::Log *l = logRecord(log);
    if (l->remoteSend) {
        if (int32_t status = l->remoteSend(l->remoteUser, level, source, message)) {
            zif::fail(context, status);
            return 0;
        }
        return 1;
    }
    if (l->parent) {
        char *prefixed = zif_concatStrings(context, l->prefix ? l->prefix : "", source);
        if (!prefixed)
            return 0;
        int32_t ok = zif_logAddEntry(l->parent, level, prefixed, message);
        zif_free(context, prefixed);
        if (!ok)
            return 0;
    }
    if (l->maxEntryCount == 0)
        return 1;
    zif_object *entry = zif::newEntry(context, level, l->clock(), source, message);
    if (!entry)
        return 0;
    zif_list_link *added = zif_listAdd(l->entries, entry);
    zif_release(entry);
    if (!added)
        return 0;
    zif::dropOldest(l);
    return 1;
}

int32_t zif_log(zif_context *context, int32_t level, const char *source, const char *message)
{
    return context ? zif_logAddEntry(context->log, level, source, message) : 0;
}

int32_t zif_logSetMaxEntryCount(zif_object *log, int32_t n)
{
    if (!zif::cast(log, ZIF_TYPE_LOG))
        return 0;
    logRecord(log)->maxEntryCount = n;
    zif::dropOldest(logRecord(log));
    return 1;
}

int32_t zif_logGetMaxEntryCount(zif_object *log) { return zif::cast(log, ZIF_TYPE_LOG) ? logRecord(log)->maxEntryCount : 0; }

int32_t zif_logGetEntryCount(zif_object *log) { return zif::cast(log, ZIF_TYPE_LOG) ? zif_listGetEntryCount(logRecord(log)->entries) : 0; }

int32_t zif_logClear(zif_object *log)
{
    if (!zif::cast(log, ZIF_TYPE_LOG))
        return 0;
    zif_listClear(logRecord(log)->entries);
    return 1;
}

zif_object *zif_logGetEntries(zif_object *log)
{
    if (!zif::cast(log, ZIF_TYPE_LOG))
        return nullptr;
    auto *walk = static_cast<zif::EntryWalk *>(zif_alloc(log->context, sizeof(zif::EntryWalk)));
    if (!walk)
        return nullptr;
    walk->entries = zif_addRef(logRecord(log)->entries);
    walk->position = zif_listBegin(walk->entries);
    return zif::iteratorNew(log->context, zif::entryWalkNext, walk, zif::entryWalkRelease);
}

zif_object *zif_logGetText(zif_object *log)
{
    if (!zif::cast(log, ZIF_TYPE_LOG))
        return nullptr;
    zif_context *context = log->context;
    std::string text;
    zif::ListValue *entries = zif::listRecord(logRecord(log)->entries);
    for (zif_list_link *p = entries->head.next; p != &entries->tail; p = p->next) {
        zif::LogEntry *e = entryRecord(p->object);
        time_t t = static_cast<time_t>(e->time);
        struct tm local;
        if (!localtime_r(&t, &local)) {
            zif::fail(context, ZIF_ERR_CONVERSION);
            return nullptr;
        }
        char stamp[64];
        snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d [", local.tm_year + 1900, local.tm_mon + 1,
                 local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        text += stamp;
        text += zif_stringGetValue(e->source);
        text += "] (";
        text += zif::kLevelNames[e->level];
        text += ") ";
        text += zif_stringGetValue(e->message);
        text += "\n";
    }
    if (text.size() >= INT32_MAX) {
        zif::fail(context, ZIF_ERR_NO_MEMORY);
        return nullptr;
    }
    return zif_newStringN(context, text.data(), static_cast<int32_t>(text.size()));
}

int32_t zif_logEntryGetLogLevel(zif_object *entry) { return zif::cast(entry, ZIF_TYPE_LOG_ENTRY) ? entryRecord(entry)->level : 0; }

int32_t zif_logEntryGetTime(zif_object *entry)
{
    return zif::cast(entry, ZIF_TYPE_LOG_ENTRY) ? static_cast<int32_t>(static_cast<uint32_t>(entryRecord(entry)->time)) : 0;
}

int64_t zif_logEntryGetTime64(zif_object *entry) { return zif::cast(entry, ZIF_TYPE_LOG_ENTRY) ? entryRecord(entry)->time : 0; }

zif_object *zif_logEntryGetSource(zif_object *entry)
{
    return zif::cast(entry, ZIF_TYPE_LOG_ENTRY) ? zif_addRef(entryRecord(entry)->source) : nullptr;
}

zif_object *zif_logEntryGetMessage(zif_object *entry)
{
    return zif::cast(entry, ZIF_TYPE_LOG_ENTRY) ? zif_addRef(entryRecord(entry)->message) : nullptr;
}

}  // extern "C"
