#include "plugins/mediapipe/bus_error.h"

namespace mediapipe {

bool busErrorTake(GstElement *pipeline, const char *fallback, std::string *error)
{
    GstBus *bus = pipeline ? gst_element_get_bus(pipeline) : nullptr;
    GstMessage *m = bus ? gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR) : nullptr;
    if (bus)
        gst_object_unref(bus);
    if (!m)
        return false;
    GError *e = nullptr;
    gst_message_parse_error(m, &e, nullptr);
    if (error)
        *error = e ? e->message : fallback;
    if (e)
        g_error_free(e);
    gst_message_unref(m);
    return true;
}

}  // namespace mediapipe
