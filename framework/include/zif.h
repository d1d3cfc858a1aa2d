/* wyv_zif: the media framework's public C interface.
 *
 * Every object (values, containers, iterators, logs, files, graphs ...)
 * belongs to one context and is reference counted: creators and object
 * getters hand out a new reference, released with zif_release. Integer
 * results are 1 for success and 0 for failure unless stated; a failure
 * records its code in the context's last error. All text is UTF-8. */
#ifndef ZIF_H
#define ZIF_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
typedef char16_t zif_char16;
#else
typedef uint_least16_t zif_char16;
#endif

typedef struct zif_context zif_context;
typedef struct zif_object zif_object;
/* A position inside a list: the address of one of its links. */
typedef struct zif_list_link zif_list_link;

/* Object type tags. */
enum {
    ZIF_TYPE_INT = 1,
    ZIF_TYPE_DOUBLE = 2,
    ZIF_TYPE_FRACT = 3,
    ZIF_TYPE_STRING = 1000,
    ZIF_TYPE_INTERVAL = 1001,
    ZIF_TYPE_DATA = 1002,
    ZIF_TYPE_TABLE = 1003,
    ZIF_TYPE_LIST = 1004,
    ZIF_TYPE_NODE = 100001,
    ZIF_TYPE_NODE_SNAPSHOT = 100002,
    ZIF_TYPE_PORT = 100003,
    ZIF_TYPE_PORT_SNAPSHOT = 100004,
    ZIF_TYPE_CONNECTOR = 100005,
    ZIF_TYPE_CONNECTOR_SNAPSHOT = 100006,
    ZIF_TYPE_GRAPH = 100007,
    ZIF_TYPE_GRAPH_SNAPSHOT = 100008,
    ZIF_TYPE_GRAPH_BUILDER = 100009,
    ZIF_TYPE_ITERATOR = 100010,
    ZIF_TYPE_PLUGIN = 100011,
    ZIF_TYPE_DATA_STREAM = 100012,
    ZIF_TYPE_TABLE_ITERATOR = 100013,
    ZIF_TYPE_LOG = 100014,
    ZIF_TYPE_LOG_ENTRY = 100015,
    ZIF_TYPE_FILE = 100016
};

/* Error codes (the context's last error; 0 means none). */
enum {
    ZIF_ERR_NONE = 0,
    ZIF_ERR_NO_MEMORY = 1,
    ZIF_ERR_INVALID_ARGUMENT = 2,
    ZIF_ERR_NOT_FOUND = 3,
    ZIF_ERR_WRONG_TYPE = 4,
    ZIF_ERR_SHARED = 5,
    ZIF_ERR_LOCKED = 6,
    ZIF_ERR_LIST_FULL = 7,
    ZIF_ERR_LIST_EMPTY = 8,
    ZIF_ERR_DESCRIPTION_MISMATCH = 9,
    ZIF_ERR_CONNECTION_REFUSED = 10,
    ZIF_ERR_NO_FREE_SLOT = 11,
    ZIF_ERR_MODULE_LOAD = 12,
    ZIF_ERR_MODULE_NO_INIT = 13,
    ZIF_ERR_CONVERSION = 14,
    ZIF_ERR_STREAM_UNDERRUN = 18,
    ZIF_ERR_FILE_OPEN = 19,
    ZIF_ERR_BUILD_FAILED = 20,
    ZIF_ERR_BAD_BINARY = 22,
    ZIF_ERR_MISSING_ENTRY = 23,
    ZIF_ERR_READ = 24,
    ZIF_ERR_WRITE = 25,
    ZIF_ERR_BUILDER_NO_APPLY = 26,
    ZIF_ERR_PORT_CLOSED = 28,
    ZIF_ERR_NO_DIRECT_CREATE = 29,
    ZIF_ERR_SLAVE_START = 30,
    ZIF_ERR_WAIT = 31,
    ZIF_ERR_PIPE_CREATE = 32,
    ZIF_ERR_PARTNER_ENDED = 33,
    ZIF_ERR_FILE_LENGTH = 36,
    ZIF_ERR_SEMAPHORE = 37,
    ZIF_ERR_SLAVE_NOT_CONNECTED = 38
};

/* Interval kinds: bounds included (I) or excluded (E), lower then upper. */
enum { ZIF_INTERVAL_II = 0, ZIF_INTERVAL_IE = 1, ZIF_INTERVAL_EI = 2, ZIF_INTERVAL_EE = 3 };

/* ---- Context, memory, errors, keys, IDs, objects ---- */

int32_t zif_create(zif_context **context);
void zif_destroy(zif_context *context);

int32_t zif_getLastError(zif_context *context);
int32_t zif_setLastError(zif_context *context, int32_t code);
zif_context *zif_clearLastError(zif_context *context);

void *zif_alloc(zif_context *context, int32_t size);
void *zif_zalloc(zif_context *context, int32_t size);
int32_t zif_free(zif_context *context, void *block);
void *zif_allocAligned(zif_context *context, int32_t size, int32_t alignment);
void *zif_zallocAligned(zif_context *context, int32_t size, int32_t alignment);
int32_t zif_freeAligned(zif_context *context, void *block);

uint64_t zif_newID(zif_context *context);
int32_t zif_nameToKey(zif_context *context, const char *name);
const char *zif_keyToName(zif_context *context, int32_t key);

zif_object *zif_addRef(zif_object *object);
int32_t zif_release(zif_object *object);
zif_context *zif_objectGetContext(zif_object *object);
int32_t zif_objectGetType(zif_object *object);
int32_t zif_objectIsValue(zif_object *object);
int32_t zif_objectIsNumber(zif_object *object);
zif_object *zif_asValue(zif_object *object);
zif_object *zif_asInt(zif_object *object);
zif_object *zif_asDouble(zif_object *object);
zif_object *zif_asFract(zif_object *object);
zif_object *zif_asString(zif_object *object);
zif_object *zif_asInterval(zif_object *object);
zif_object *zif_asData(zif_object *object);
zif_object *zif_asTable(zif_object *object);
zif_object *zif_asList(zif_object *object);

/* ---- Scalar values ---- */

zif_object *zif_newInt(zif_context *context, int64_t value);
int64_t zif_intGetValue(zif_object *value);
zif_object *zif_newDouble(zif_context *context, double value);
double zif_doubleGetValue(zif_object *value);

zif_object *zif_newFract(zif_context *context, int64_t n, int64_t num, int64_t den);
zif_object *zif_newFractFromDouble(zif_context *context, double value);
int64_t zif_fractGetIntegralPart(zif_object *fract);
int64_t zif_fractGetNumerator(zif_object *fract);
int64_t zif_fractGetDenominator(zif_object *fract);
zif_object *zif_fractAdd(zif_object *a, zif_object *b);
zif_object *zif_fractSub(zif_object *a, zif_object *b);
zif_object *zif_fractNegate(zif_object *a);
zif_object *zif_fractInvert(zif_object *a);

zif_object *zif_newInterval(zif_context *context, int32_t kind, zif_object *lower, zif_object *upper);
int32_t zif_intervalGetType(zif_object *interval);
zif_object *zif_intervalGetLowerBound(zif_object *interval);
zif_object *zif_intervalGetUpperBound(zif_object *interval);

zif_object *zif_newString(zif_context *context, const char *text);
zif_object *zif_newStringN(zif_context *context, const char *bytes, int32_t length);
const char *zif_stringGetValue(zif_object *string);
char *zif_stringToCP(zif_object *string);
zif_char16 *zif_stringToUTF16(zif_object *string);

zif_object *zif_newData(zif_context *context, int32_t size);
const uint8_t *zif_dataGetReadPtr(zif_object *data);
uint8_t *zif_dataGetWritePtr(zif_object *data);
int32_t zif_dataGetSize(zif_object *data);
int32_t zif_dataGetAllocated(zif_object *data);
int32_t zif_dataAlloc(zif_object *data, int32_t n);
int32_t zif_dataEnsureAllocated(zif_object *data, int32_t n);
int32_t zif_dataSetSize(zif_object *data, int32_t n);
int32_t zif_dataSetContents(zif_object *data, const void *bytes, int32_t n);
int32_t zif_dataClear(zif_object *data);

zif_object *zif_numberAdd(zif_object *a, zif_object *b);
zif_object *zif_numberSub(zif_object *a, zif_object *b);
zif_object *zif_numberMul(zif_object *a, zif_object *b);
zif_object *zif_numberNegate(zif_object *a);
zif_object *zif_numberInvert(zif_object *a);
int64_t zif_numberGetIntValue(zif_object *value, int64_t defaultValue);
double zif_numberGetDoubleValue(zif_object *value, double defaultValue);
zif_object *zif_numberGetFractValue(zif_object *value, zif_object *defaultValue);

/* ---- Containers ---- */

zif_object *zif_newList(zif_context *context);
zif_list_link *zif_listInsert(zif_object *list, zif_list_link *position, zif_object *object);
zif_list_link *zif_listAdd(zif_object *list, zif_object *object);
zif_list_link *zif_listAddString(zif_object *list, const char *text);
zif_list_link *zif_listAddInt(zif_object *list, int64_t value);
zif_list_link *zif_listAddDouble(zif_object *list, double value);
zif_list_link *zif_listRemove(zif_object *list, zif_list_link *position);
zif_object *zif_listRemoveFirst(zif_object *list);
int32_t zif_listClear(zif_object *list);
int32_t zif_listSet(zif_object *list, zif_list_link *position, zif_object *object);
zif_object *zif_listGet(zif_object *list, zif_list_link *position);
zif_object *zif_listNext(zif_object *list, zif_list_link **position);
zif_list_link *zif_listBegin(zif_object *list);
zif_list_link *zif_listEnd(zif_object *list);
int32_t zif_listGetEntryCount(zif_object *list);
int32_t zif_listGetMaxEntryCount(zif_object *list);
int32_t zif_listSetMaxEntryCount(zif_object *list, int32_t n);
int32_t zif_listHasFreeSlots(zif_object *list, int32_t n);
zif_object *zif_iteratorNext(zif_object *iterator);

zif_object *zif_newTable(zif_context *context);
int32_t zif_tableSet(zif_object *table, const char *name, zif_object *object);
int32_t zif_tableSetK(zif_object *table, int32_t key, zif_object *object);
zif_object *zif_tableGet(zif_object *table, const char *name);
zif_object *zif_tableGetK(zif_object *table, int32_t key);
int32_t zif_tableContains(zif_object *table, const char *name);
int32_t zif_tableContainsK(zif_object *table, int32_t key);
int32_t zif_tableRemove(zif_object *table, const char *name);
int32_t zif_tableRemoveK(zif_object *table, int32_t key);
int32_t zif_tableClear(zif_object *table);

int32_t zif_tableSetInt(zif_object *table, const char *name, int64_t value);
int32_t zif_tableSetIntK(zif_object *table, int32_t key, int64_t value);
int32_t zif_tableSetDouble(zif_object *table, const char *name, double value);
int32_t zif_tableSetDoubleK(zif_object *table, int32_t key, double value);
int32_t zif_tableSetFract(zif_object *table, const char *name, int64_t n, int64_t num, int64_t den);
int32_t zif_tableSetFractK(zif_object *table, int32_t key, int64_t n, int64_t num, int64_t den);
int32_t zif_tableSetString(zif_object *table, const char *name, const char *text);
int32_t zif_tableSetStringK(zif_object *table, int32_t key, const char *text);
int32_t zif_tableSetData(zif_object *table, const char *name, const void *bytes, int32_t size);
int32_t zif_tableSetDataK(zif_object *table, int32_t key, const void *bytes, int32_t size);
int32_t zif_tableSetTable(zif_object *table, const char *name, zif_object *value);
int32_t zif_tableSetTableK(zif_object *table, int32_t key, zif_object *value);

int64_t zif_tableGetInt(zif_object *table, const char *name, int64_t defaultValue);
int64_t zif_tableGetIntK(zif_object *table, int32_t key, int64_t defaultValue);
double zif_tableGetDouble(zif_object *table, const char *name, double defaultValue);
double zif_tableGetDoubleK(zif_object *table, int32_t key, double defaultValue);
zif_object *zif_tableGetFract(zif_object *table, const char *name, zif_object *defaultValue);
zif_object *zif_tableGetFractK(zif_object *table, int32_t key, zif_object *defaultValue);
const char *zif_tableGetString(zif_object *table, const char *name, const char *defaultValue);
const char *zif_tableGetStringK(zif_object *table, int32_t key, const char *defaultValue);
int32_t zif_tableGetData(zif_object *table, const char *name, const uint8_t **bytes, int32_t *size,
                         const uint8_t *defaultBytes, int32_t defaultSize);
int32_t zif_tableGetDataK(zif_object *table, int32_t key, const uint8_t **bytes, int32_t *size,
                          const uint8_t *defaultBytes, int32_t defaultSize);
zif_object *zif_tableGetTable(zif_object *table, const char *name, zif_object *defaultTable);
zif_object *zif_tableGetTableK(zif_object *table, int32_t key, zif_object *defaultTable);
int32_t zif_tableSetFromTable(zif_object *destination, zif_object *source, const char *name);
int32_t zif_tableSetFromTableK(zif_object *destination, zif_object *source, int32_t key);

zif_object *zif_tableCreateIterator(zif_object *table);
int32_t zif_tableIteratorNext(zif_object *iterator);
zif_object *zif_tableIteratorReset(zif_object *iterator);

/* ---- Value operations ---- */

int32_t zif_valueClone(zif_object *value, zif_object **clone);
int32_t zif_valueIsLocked(zif_object *value);
int32_t zif_valueUnlock(zif_object *value);
int32_t zif_valueMakeModifiable(zif_object **value);
int32_t zif_valueCompare(zif_object *a, zif_object *b);
int32_t zif_valueEquals(zif_object *a, zif_object *b);
zif_object *zif_valueToXMLString(zif_object *value, int32_t indent);

/* ---- Strings and UTF conversion ---- */

char *zif_copyString(zif_context *context, const char *text);
char *zif_copyStringN(zif_context *context, const char *text, int32_t length);
char *zif_concatStrings(zif_context *context, const char *a, const char *b);
int32_t zif_concatStringsR(zif_context *context, char **text, const char *b);
zif_char16 *zif_utf8ToUTF16(zif_context *context, const char *text);
uint32_t *zif_utf8ToUTF32(zif_context *context, const char *text);

/* ---- URIs and files ---- */

zif_object *zif_parseURI(zif_context *context, const char *uri);
zif_object *zif_uriToFilePath(zif_context *context, const char *uri);
zif_object *zif_openFile(zif_context *context, const char *uri, int32_t forWriting);
int32_t zif_fileRead(zif_object *file, void *buffer, int32_t n);
int32_t zif_fileWrite(zif_object *file, const void *bytes, int32_t n);
char *zif_fileReadString(zif_object *file);
int32_t zif_fileWriteString(zif_object *file, const char *text);
int64_t zif_fileGetLength(zif_object *file);

/* ---- Data streams ---- */

zif_object *zif_newDataStream(zif_context *context);
int32_t zif_dataStreamAddBuffer(zif_object *stream, zif_object *data);
int32_t zif_dataStreamRead(zif_object *stream, void *destination, int32_t n);
int32_t zif_dataStreamPeek(zif_object *stream, void *destination, int32_t n);
int32_t zif_dataStreamResetPeekCursor(zif_object *stream);
int32_t zif_dataStreamAdvanceReadCursor(zif_object *stream);
uint64_t zif_dataStreamGetReadAvailable(zif_object *stream);
uint64_t zif_dataStreamGetPeekAvailable(zif_object *stream);

/* ---- Logs ---- */

enum { ZIF_LOG_DEBUG = 0, ZIF_LOG_INFO = 1, ZIF_LOG_WARNING = 2, ZIF_LOG_ERROR = 3 };

zif_object *zif_newLog(zif_context *context);
zif_object *zif_getLog(zif_context *context);
int32_t zif_log(zif_context *context, int32_t level, const char *source, const char *message);
int32_t zif_logAddEntry(zif_object *log, int32_t level, const char *source, const char *message);
int32_t zif_logSetMaxEntryCount(zif_object *log, int32_t n);
int32_t zif_logGetMaxEntryCount(zif_object *log);
int32_t zif_logGetEntryCount(zif_object *log);
int32_t zif_logClear(zif_object *log);
zif_object *zif_logGetEntries(zif_object *log);
zif_object *zif_logGetText(zif_object *log);
int32_t zif_logEntryGetLogLevel(zif_object *entry);
/* The low 32 bits of the entry's time (seconds since 1970 UTC). */
int32_t zif_logEntryGetTime(zif_object *entry);
/* The entry's whole time (seconds since 1970 UTC). */
int64_t zif_logEntryGetTime64(zif_object *entry);
zif_object *zif_logEntryGetSource(zif_object *entry);
zif_object *zif_logEntryGetMessage(zif_object *entry);

/* ---- Constraints and descriptions ---- */

/* Match grades. */
enum { ZIF_MATCH_FAILURE = 0, ZIF_MATCH_NONE = 1, ZIF_MATCH_PARTIAL = 2, ZIF_MATCH_FULL = 3 };

int32_t zif_constraintCheck(zif_object *constraint, zif_object *value);
int32_t zif_constraintsMatch(zif_object *a, zif_object *b, zif_object **overlap);
int32_t zif_copyDescriptionEntry(zif_object *destination, zif_object *source, const char *name);


/* ---- Plug-ins and modules ---- */

typedef int32_t (*zif_pluginAddBuildersFunc)(zif_object *plugin, zif_object *graph);
typedef void (*zif_pluginDestroyFunc)(zif_object *plugin);
typedef uint64_t (*zif_pluginDirectCreateNodeFunc)(zif_object *plugin, zif_object *graph, zif_object *description);
/* What every plug-in module exports as "zif_pluginModuleInit". */
typedef int32_t (*zif_pluginModuleInitFunc)(zif_context *context, const char *modulePath, void *module);

zif_object *zif_newPlugin(zif_context *context, const char *name);
int32_t zif_loadPluginModule(zif_context *context, const char *path);
zif_object *zif_findPluginWithName(zif_context *context, const char *name);
zif_object *zif_pluginGetName(zif_object *plugin);
/* The path of the module whose init function made the plug-in (new
 * reference), or null for a built-in plug-in. */
zif_object *zif_pluginGetModulePath(zif_object *plugin);
intptr_t zif_pluginGetUserData(zif_object *plugin);
int32_t zif_pluginSetUserData(zif_object *plugin, intptr_t data);
zif_pluginAddBuildersFunc zif_pluginGetAddBuildersFunc(zif_object *plugin);
int32_t zif_pluginSetAddBuildersFunc(zif_object *plugin, zif_pluginAddBuildersFunc function);
zif_pluginDestroyFunc zif_pluginGetDestroyFunc(zif_object *plugin);
int32_t zif_pluginSetDestroyFunc(zif_object *plugin, zif_pluginDestroyFunc function);
zif_pluginDirectCreateNodeFunc zif_pluginGetDirectCreateNodeFunc(zif_object *plugin);
int32_t zif_pluginSetDirectCreateNodeFunc(zif_object *plugin, zif_pluginDirectCreateNodeFunc function);
zif_object *zif_pluginGetDecodeFileExtensions(zif_object *plugin);
int32_t zif_pluginSetDecodeFileExtensions(zif_object *plugin, zif_object *extensions);
uint64_t zif_graphDirectCreateNode(zif_object *graph, const char *pluginName, zif_object *description);

/* ---- Graphs, nodes and ports ---- */

enum { ZIF_PORT_INPUT = 0, ZIF_PORT_OUTPUT = 1 };

typedef int32_t (*zif_nodeWorkFunc)(zif_object *node);
typedef void (*zif_nodeDestroyFunc)(zif_object *node);
typedef int32_t (*zif_portWorkFunc)(zif_object *port);
typedef int32_t (*zif_portRequestConnectFunc)(zif_object *port, zif_object *partnerDescription);
typedef int32_t (*zif_portOnConnectFunc)(zif_object *port, zif_object *connector);
typedef void (*zif_portDestroyFunc)(zif_object *port);
typedef int32_t (*zif_portConnectorWorkFunc)(zif_object *connector);
typedef int32_t (*zif_portConnectorChangeDescriptionFunc)(zif_object *connector, zif_object *description);
typedef void (*zif_portConnectorDisconnectFunc)(zif_object *connector);
typedef void (*zif_portConnectorDestroyFunc)(zif_object *connector);

zif_object *zif_newGraph(zif_context *context, int32_t withBuilders);
zif_object *zif_graphAddNewNode(zif_object *graph, const char *name);
uint64_t zif_graphFindNode(zif_object *graph, const char *name);
uint64_t zif_graphFindNodePort(zif_object *graph, uint64_t nodeId, const char *portName);
zif_object *zif_graphGetNodeDebugText(zif_object *graph, uint64_t nodeId);
/* type: -1 any, 0 input, 1 output; connection: -1 any, 0 room left, 1 below
 * minimum; a description filter must match at least at level (1..3). */
zif_object *zif_graphNewPortIterator(zif_object *graph, int32_t type, int32_t connection, zif_object *filter,
                                     int32_t level);
zif_object *zif_graphGetLog(zif_object *graph);
int32_t zif_graphLog(zif_object *graph, int32_t level, const char *source, const char *message);
int32_t zif_graphLogWithValue(zif_object *graph, int32_t level, const char *source, const char *message,
                              zif_object *value);

zif_object *zif_nodeAddNewPort(zif_object *node, int32_t type, const char *name);
uint64_t zif_nodeGetID(zif_object *node);
zif_object *zif_nodeGetGraph(zif_object *node);
zif_object *zif_nodeGetName(zif_object *node);
int32_t zif_nodeSetName(zif_object *node, const char *name);
zif_object *zif_nodeGetDebugText(zif_object *node);
int32_t zif_nodeSetDebugText(zif_object *node, const char *text);
intptr_t zif_nodeGetUserData(zif_object *node);
int32_t zif_nodeSetUserData(zif_object *node, intptr_t data);
zif_nodeDestroyFunc zif_nodeGetDestroyFunc(zif_object *node);
int32_t zif_nodeSetDestroyFunc(zif_object *node, zif_nodeDestroyFunc function);

uint64_t zif_portGetID(zif_object *port);
zif_object *zif_portGetNode(zif_object *port);
int32_t zif_portGetType(zif_object *port);
zif_object *zif_portGetName(zif_object *port);
int32_t zif_portSetName(zif_object *port, const char *name);
int32_t zif_portGetMinConnections(zif_object *port);
int32_t zif_portSetMinConnections(zif_object *port, int32_t n);
int32_t zif_portGetMaxConnections(zif_object *port);
int32_t zif_portSetMaxConnections(zif_object *port, int32_t n);
int32_t zif_portGetConnectorCount(zif_object *port);
intptr_t zif_portGetUserData(zif_object *port);
int32_t zif_portSetUserData(zif_object *port, intptr_t data);
zif_portDestroyFunc zif_portGetDestroyFunc(zif_object *port);
int32_t zif_portSetDestroyFunc(zif_object *port, zif_portDestroyFunc function);

/* ---- Connections ---- */

int32_t zif_portSetDescription(zif_object *port, zif_object *description);
zif_object *zif_portGetDescription(zif_object *port);
int32_t zif_portSetRequestConnectFunc(zif_object *port, zif_portRequestConnectFunc function);
zif_portRequestConnectFunc zif_portGetRequestConnectFunc(zif_object *port);
int32_t zif_portSetOnConnectFunc(zif_object *port, zif_portOnConnectFunc function);
zif_portOnConnectFunc zif_portGetOnConnectFunc(zif_object *port);
int32_t zif_graphCreateConnection(zif_object *graph, uint64_t portId1, uint64_t portId2);
int32_t zif_graphDestroyConnection(zif_object *graph, zif_object *connector, int32_t block);

zif_object *zif_portConnectorGetPort(zif_object *connector);
zif_object *zif_portConnectorGetDescription(zif_object *connector);
zif_object *zif_portConnectorGetPartnerDescription(zif_object *connector);
zif_object *zif_portConnectorGetQueue(zif_object *connector);
intptr_t zif_portConnectorGetUserData(zif_object *connector);
intptr_t zif_portConnectorSetUserData(zif_object *connector, intptr_t data);
zif_portConnectorDisconnectFunc zif_portConnectorGetDisconnectFunc(zif_object *connector);
int32_t zif_portConnectorSetDisconnectFunc(zif_object *connector, zif_portConnectorDisconnectFunc function);
zif_portConnectorDestroyFunc zif_portConnectorGetDestroyFunc(zif_object *connector);
int32_t zif_portConnectorSetDestroyFunc(zif_object *connector, zif_portConnectorDestroyFunc function);
zif_portConnectorChangeDescriptionFunc zif_portConnectorGetChangeDescriptionFunc(zif_object *connector);
int32_t zif_portConnectorSetChangeDescriptionFunc(zif_object *connector,
                                                  zif_portConnectorChangeDescriptionFunc function);

/* ---- Graph builders and the search ---- */

typedef int32_t (*zif_graphBuilderAddChoicesFunc)(zif_object *builder, zif_object *graph);
typedef int32_t (*zif_graphBuilderApplyChoiceFunc)(zif_object *builder, zif_object *graph, zif_object *choice);
typedef int32_t (*zif_graphBuilderUndoChoiceFunc)(zif_object *builder, zif_object *graph, zif_object *choice);
typedef void (*zif_graphBuilderDestroyFunc)(zif_object *builder);

zif_object *zif_graphAddNewBuilder(zif_object *graph, const char *name);
/* Borrowed: no new reference. */
zif_object *zif_graphBuilderGetGraph(zif_object *builder);
double zif_graphBuilderGetPriority(zif_object *builder);
int32_t zif_graphBuilderSetPriority(zif_object *builder, double priority);
intptr_t zif_graphBuilderGetUserData(zif_object *builder);
int32_t zif_graphBuilderSetUserData(zif_object *builder, intptr_t data);
zif_graphBuilderAddChoicesFunc zif_graphBuilderGetAddChoicesFunc(zif_object *builder);
int32_t zif_graphBuilderSetAddChoicesFunc(zif_object *builder, zif_graphBuilderAddChoicesFunc function);
zif_graphBuilderApplyChoiceFunc zif_graphBuilderGetApplyChoiceFunc(zif_object *builder);
int32_t zif_graphBuilderSetApplyChoiceFunc(zif_object *builder, zif_graphBuilderApplyChoiceFunc function);
zif_graphBuilderUndoChoiceFunc zif_graphBuilderGetOnUndoChoiceFunc(zif_object *builder);
int32_t zif_graphBuilderSetOnUndoChoiceFunc(zif_object *builder, zif_graphBuilderUndoChoiceFunc function);
zif_graphBuilderDestroyFunc zif_graphBuilderGetDestroyFunc(zif_object *builder);
int32_t zif_graphBuilderSetDestroyFunc(zif_object *builder, zif_graphBuilderDestroyFunc function);
int32_t zif_graphAddChoice(zif_object *graph, zif_object *builder, zif_object *choice);
int32_t zif_graphBuild(zif_object *graph);

/* ---- Graph execution ---- */

int32_t zif_graphWork(zif_object *graph);
int32_t zif_graphGetFinishedForNow(zif_object *graph);
int32_t zif_nodeSetFinishedForNow(zif_object *node, int32_t flag);
int32_t zif_nodeGetFinishedForNow(zif_object *node);
int32_t zif_nodeSetWorkFunc(zif_object *node, zif_nodeWorkFunc function);
zif_nodeWorkFunc zif_nodeGetWorkFunc(zif_object *node);
int32_t zif_portSetWorkFunc(zif_object *port, zif_portWorkFunc function);
zif_portWorkFunc zif_portGetWorkFunc(zif_object *port);
int32_t zif_portConnectorSetWorkFunc(zif_object *connector, zif_portConnectorWorkFunc function);
zif_portConnectorWorkFunc zif_portConnectorGetWorkFunc(zif_object *connector);

/* ---- Built-in nodes ---- */

/* A finished node named name with one output port (also named name) whose
 * description is {"command": command, "portclass": "staticcommand"} plus the
 * entries of entries (which may be null). *node receives a reference when
 * node is not null. */
int32_t zif_graphAddNewStaticCommandNode(zif_object *graph, const char *command, zif_object *entries,
                                         const char *name, zif_object **node);

/* ---- Boxed nodes: a slave process connected over a pipe ---- */

/* A file object over the two ends of a pipe (they may be the same socket
 * descriptor). partnerProcess is a pidfd of the other process, watched
 * while waiting; with terminateOnClose the partner gets 5 s to end once the
 * file closes, is then killed, and is reaped. readSemaphore (a sem_t *) is
 * waited for before every read, writeSemaphore posted before every write.
 * A negative read or write descriptor, a partner of 0 or below and a null
 * semaphore mean none. The file owns what it is given and closes it. Each
 * read and write waits at most 60 s (error 31); a partner that ended gives
 * 33, a failed write 25 (never SIGPIPE); a failed transfer's error sticks. */
zif_object *zif_newFileFromPipeHandles(zif_context *context, intptr_t readHandle, intptr_t writeHandle,
                                       intptr_t partnerProcess, int32_t terminateOnClose, intptr_t readSemaphore,
                                       intptr_t writeSemaphore);
/* Starts zif_slv (from $ZIF_SLV, else beside libwyv_zif.so, else on PATH),
 * loads the plug-in's module there and creates the node; the master graph
 * gets proxy nodes and ports that forward to it. The ID of the proxy node,
 * or 0. $ZIF_SLV_TIMEOUT_MS replaces the 60-s waits. */
uint64_t zif_graphDirectCreateNodeInBox(zif_object *graph, const char *pluginName, zif_object *description);
/* The slave's side: serves the master until it ends the run (result 0) or a
 * transfer fails (result: the error code). Descriptors and a sem_t *. */
int32_t zif_doPipeSlave(intptr_t readHandle, intptr_t writeHandle, intptr_t masterProcess, intptr_t semaphore);

/* ---- Graph dump ---- */

zif_object *zif_graphToXMLString(zif_object *graph);

#ifdef __cplusplus
}
#endif

#endif /* ZIF_H */
