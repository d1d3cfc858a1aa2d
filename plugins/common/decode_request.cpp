#include "plugins/common/decode_request.h"
#include "plugins/common/plugin_errors.h"

#include <cstring>

namespace plugins {

zif_object *commandPortDescription(zif_context *context)
{
    zif_object *d = zif_newTable(context);
    if (d && zif_tableSetString(d, "portclass", "staticcommand") && zif_tableSetString(d, "command", "read"))
        return d;
    zif_release(d);
    return nullptr;
}

int32_t commandPortAcceptsPartner(zif_object *port, zif_object *partnerDescription)
{
    // A command without "uri" is let through so that the on-connect can
    // report it as the missing entry it is.
    if (!zif_tableContains(partnerDescription, "uri"))
        return 1;
    const char *uri = zif_tableGetString(partnerDescription, "uri", nullptr);
    if (!uri)
        return 0;
    zif_object *parsed = zif_parseURI(zif_objectGetContext(port), uri);
    if (!parsed)
        return 0;
    const char *scheme = zif_tableGetString(parsed, "uri.scheme", nullptr);
    bool local = !scheme || std::strcmp(scheme, "file") == 0;
    zif_release(parsed);
    return local ? 1 : 0;
}

bool decodeRequestRead(zif_object *connector, DecodeRequest *request)
{
    zif_object *partner = zif_portConnectorGetPartnerDescription(connector);
    const char *uri = partner ? zif_tableGetString(partner, "uri", nullptr) : nullptr;
    if (!uri) {
        zif_release(partner);
        return fail(connector, kErrMissingEntry);
    }
    request->uri = uri;
    request->startTime = zif_tableGetDouble(partner, "decodestarttime", 0.0);
    request->endTime = zif_tableGetDouble(partner, "decodeendtime", -1.0);
    request->wantVideo = zif_tableGetInt(partner, "wantvideo", 1) != 0;
    request->wantAudio = zif_tableGetInt(partner, "wantaudio", 1) != 0;
    zif_release(partner);
    zif_object *path = zif_uriToFilePath(zif_objectGetContext(connector), request->uri.c_str());
    if (!path)
        return false;
    request->path = zif_stringGetValue(path);
    zif_release(path);
    return true;
}

}  // namespace plugins
