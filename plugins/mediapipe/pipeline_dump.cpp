#include "plugins/mediapipe/pipeline_dump.h"

#include <cstdio>

namespace mediapipe {

std::string xmlEscape(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

namespace {

std::string pointer(const void *p)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

std::string orErr(const gchar *s) { return s ? xmlEscape(s) : "*err*"; }

void dumpPad(GstPad *pad, std::string *out)
{
    gchar *name = gst_pad_get_name(pad);
    *out += "<pin id=\"" + pointer(pad) + "\" direction=\"" +
            (GST_PAD_DIRECTION(pad) == GST_PAD_SRC ? "out" : "in") + "\" name=\"" + orErr(name) + "\"";
    g_free(name);
    GstPad *peer = gst_pad_get_peer(pad);
    if (peer) {
        GstCaps *caps = gst_pad_get_current_caps(pad);
        gchar *text = caps ? gst_caps_to_string(caps) : nullptr;
        *out += " peer=\"" + pointer(peer) + "\" mediatype=\"" + orErr(text) + "\"";
        g_free(text);
        if (caps)
            gst_caps_unref(caps);
        gst_object_unref(peer);
    }
    *out += "/>\n";
}

void dumpElement(GstElement *element, std::string *out)
{
    gchar *name = gst_element_get_name(element);
    GstElementFactory *factory = gst_element_get_factory(element);
    const gchar *vendor = factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_AUTHOR) : nullptr;
    const gchar *kind = factory ? gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)) : nullptr;
    *out += "<filter id=\"" + pointer(element) + "\" name=\"" + orErr(name) + "\" factory=\"" + orErr(kind) +
            "\" vendor=\"" + orErr(vendor) + "\">\n";
    g_free(name);
    GstIterator *pads = gst_element_iterate_pads(element);
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(pads, &item) == GST_ITERATOR_OK) {
        dumpPad(GST_PAD(g_value_get_object(&item)), out);
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(pads);
    *out += "</filter>\n";
    if (GST_IS_BIN(element)) {
        GstIterator *children = gst_bin_iterate_elements(GST_BIN(element));
        while (gst_iterator_next(children, &item) == GST_ITERATOR_OK) {
            dumpElement(GST_ELEMENT(g_value_get_object(&item)), out);
            g_value_reset(&item);
        }
        g_value_unset(&item);
        gst_iterator_free(children);
    }
}

}  // namespace

std::string pipelineDump(GstElement *bin)
{
    std::string out = "<dsgraph>\n";
    if (bin)
        dumpElement(bin, &out);
    out += "</dsgraph>\n";
    return out;
}

}  // namespace mediapipe
