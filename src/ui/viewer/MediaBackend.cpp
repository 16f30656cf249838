#include "MediaBackend.h"

#include "images/GLibTypes.h"

#include <QVideoSink>

#include <gst/gst.h>

#include <cstring>
#include <string_view>

namespace mirelo::MediaBackend {

namespace {

bool reachesPastTheFile(GstElementFactory* factory)
{
    const std::string_view name = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
    if (gst_element_factory_get_uri_type(factory) == GST_URI_SRC && name != "filesrc" && name != "appsrc")
        return true; // http, rtsp, gio's remote schemes, …
    const char* klass = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
    return klass && (std::strstr(klass, "Adaptive") || std::strstr(klass, "Network") || std::strstr(klass, "Playlist"));
}

} // namespace

void start()
{
    static bool started = false;
    if (started) return;
    started = true;
    const SharedGate::Alone types(glibTypes());
    {
        QVideoSink start;
    } // Qt's back end initialises GStreamer
    if (!gst_is_initialized()) gst_init(nullptr, nullptr);
    GstRegistry* registry = gst_registry_get();
    GList* features = gst_registry_get_feature_list(registry, GST_TYPE_ELEMENT_FACTORY);
    for (GList* link = features; link; link = link->next)
        if (reachesPastTheFile(GST_ELEMENT_FACTORY(link->data)))
            gst_registry_remove_feature(registry, GST_PLUGIN_FEATURE(link->data));
    gst_plugin_feature_list_free(features);
}

} // namespace mirelo::MediaBackend
