#include "plugins/ffmpeg/encoder_codecs.h"

#include <cstring>

namespace ffplug {

namespace {

struct TableRow {
    const char *format;
    bool video;
    AVCodecID id;
    const char *byName;  // the encoder by name where the codec has several
};

const TableRow kTable[] = {
    {"mpeg1.video", true, AV_CODEC_ID_MPEG1VIDEO, nullptr},
    {"mpeg2.video", true, AV_CODEC_ID_MPEG2VIDEO, nullptr},
    {"mpeg4.video.asp", true, AV_CODEC_ID_MPEG4, "mpeg4"},
    {"mpeg4.video.asp", true, AV_CODEC_ID_MPEG4, "libxvid"},
    {"mpeg1.audio.mp2", false, AV_CODEC_ID_MP2, nullptr},
    {"mpeg1.audio.mp3", false, AV_CODEC_ID_MP3, nullptr},
    {"mpeg4.audio.aac", false, AV_CODEC_ID_AAC, nullptr},
};

bool addTable(zif_object *list, zif_object *table)
{
    bool ok = table && list && zif_listAdd(list, table);
    zif_release(table);
    return ok;
}

zif_object *outputDescription(zif_context *context, const EncoderEntry &e)
{
    zif_object *d = zif_newTable(context);
    bool ok = d && zif_tableSetString(d, "portclass", "data") &&
              zif_tableSetString(d, "mediatype", e.video ? "video" : "audio") && zif_tableSetString(d, "format", e.format);
    if (ok && e.video) {
        ok = zif_tableSetInt(d, "framerateexact", 1);
        if (ok && e.codec->supported_framerates) {
            zif_object *rates = zif_newList(context);
            for (const AVRational *r = e.codec->supported_framerates; ok && r->num; ++r) {
                zif_object *f = zif_newFract(context, 0, r->num, r->den);
                ok = rates && f && zif_listAdd(rates, f);
                zif_release(f);
            }
            ok = ok && zif_tableSet(d, "framerate", rates);
            zif_release(rates);
        }
    }
    if (!ok) {
        zif_release(d);
        return nullptr;
    }
    return d;
}

}  // namespace

const std::vector<EncoderEntry> &encoderEntries()
{
    static const std::vector<EncoderEntry> entries = [] {
        std::vector<EncoderEntry> found;
        for (const TableRow &row : kTable) {
            const AVCodec *codec = row.byName ? avcodec_find_encoder_by_name(row.byName) : avcodec_find_encoder(row.id);
            if (codec)
                found.push_back({row.format, row.video, codec});
        }
        return found;
    }();
    return entries;
}

const EncoderEntry *encoderFind(const char *format)
{
    const EncoderEntry *match = nullptr;
    for (const EncoderEntry &e : encoderEntries())
        if (format && std::strcmp(e.format, format) == 0)
            match = &e;
    return match;
}

std::vector<const EncoderEntry *> encoderAlternatives(const char *format)
{
    std::vector<const EncoderEntry *> found;
    for (const EncoderEntry &e : encoderEntries())
        if (format && std::strcmp(e.format, format) == 0)
            found.insert(found.begin(), &e);
    return found;
}

zif_object *encoderOutputDescriptions(zif_context *context, bool video)
{
    zif_object *list = zif_newList(context);
    for (const EncoderEntry &e : encoderEntries())
        if (e.video == video && !addTable(list, outputDescription(context, e))) {
            zif_release(list);
            return nullptr;
        }
    return list;
}

zif_object *encoderAllOutputDescriptions(zif_context *context)
{
    zif_object *list = zif_newList(context);
    for (const EncoderEntry &e : encoderEntries())
        if (!addTable(list, outputDescription(context, e))) {
            zif_release(list);
            return nullptr;
        }
    return list;
}

zif_object *encoderInputDescription(zif_context *context, bool video)
{
    zif_object *d = zif_newTable(context);
    bool ok = d && zif_tableSetString(d, "portclass", "data") &&
              zif_tableSetString(d, "mediatype", video ? "video" : "audio");
    if (ok && video) {
        ok = zif_tableSetString(d, "format", "yuv.separate") && zif_tableSetInt(d, "framerateexact", 1);
        for (const char *k : {"yuv.hratio.y", "yuv.vratio.y"})
            ok = ok && zif_tableSetInt(d, k, 2);
        for (const char *k : {"yuv.hratio.u", "yuv.hratio.v", "yuv.vratio.u", "yuv.vratio.v"})
            ok = ok && zif_tableSetInt(d, k, 1);
    } else if (ok) {
        ok = zif_tableSetString(d, "format", "pcm.interleaved") && zif_tableSetInt(d, "pcm.bitspervalue", 16) &&
             zif_tableSetInt(d, "pcm.signed", 1);
    }
    if (!ok) {
        zif_release(d);
        return nullptr;
    }
    return d;
}

zif_object *encoderAllInputDescriptions(zif_context *context)
{
    zif_object *list = zif_newList(context);
    if (!addTable(list, encoderInputDescription(context, true)) || !addTable(list, encoderInputDescription(context, false))) {
        zif_release(list);
        return nullptr;
    }
    return list;
}

}  // namespace ffplug
