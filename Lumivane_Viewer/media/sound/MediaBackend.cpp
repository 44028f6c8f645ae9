#include "MediaBackend.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QtGlobal>

#include <gst/gst.h>

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// What a source may read: a local file, an open descriptor, a data: address,
// or the bytes the application hands to its players.
bool isLocalProtocol(QByteArrayView protocol)
{
    return protocol == "file" || protocol == "fd" || protocol == "data" || protocol == "appsrc";
}

bool reachesTheNetwork(GstElementFactory *factory)
{
    // HLS, DASH and Smooth Streaming demuxers download the segments their
    // playlist names, some through their own HTTP client rather than a source.
    const char *klass = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
    if (klass && QByteArrayView(klass).contains("Adaptive"))
        return true;
    if (gst_element_factory_get_uri_type(factory) != GST_URI_SRC)
        return false;
    for (const gchar *const *protocol = gst_element_factory_get_uri_protocols(factory); protocol && *protocol; ++protocol) {
        if (!isLocalProtocol(*protocol))
            return true;
    }
    return false;
}

QSet<QByteArray> pluginsReachingTheNetwork(GstRegistry *registry)
{
    QSet<QByteArray> plugins;
    GList *factories = gst_registry_get_feature_list(registry, GST_TYPE_ELEMENT_FACTORY);
    for (GList *item = factories; item; item = item->next) {
        auto *factory = GST_ELEMENT_FACTORY(item->data);
        const char *plugin = gst_plugin_feature_get_plugin_name(GST_PLUGIN_FEATURE(factory));
        if (plugin && reachesTheNetwork(factory))
            plugins.insert(plugin);
    }
    gst_plugin_feature_list_free(factories);
    return plugins;
}

} // namespace

void pinMediaBackend()
{
    // The ffmpeg backend of Qt 6.4 crashes on machines without an audio device;
    // GStreamer degrades to silence there.
    qputenv("QT_MEDIA_BACKEND", QByteArrayLiteral("gstreamer"));
}

void keepMediaOffTheNetwork()
{
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return;
    // A low rank keeps an element out of decoding chains only: a redirect or a
    // playlist still gets a source for its address by protocol, whatever the
    // rank. Whole plugins go, since loading one registers all its elements again.
    GstRegistry *registry = gst_registry_get();
    for (const QByteArray &name : pluginsReachingTheNetwork(registry)) {
        if (GstPlugin *plugin = gst_registry_find_plugin(registry, name.constData())) {
            gst_registry_remove_plugin(registry, plugin);
            gst_object_unref(plugin);
        }
    }
}

void keepVideoSinksOutOfDecoding()
{
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return;
    // Chains take only elements of at least marginal rank; a sink asked for
    // by name is made whatever its rank.
    GList *sinks = gst_element_factory_list_get_elements(
        GST_ELEMENT_FACTORY_TYPE_SINK | GST_ELEMENT_FACTORY_TYPE_MEDIA_VIDEO, GST_RANK_NONE);
    for (GList *item = sinks; item; item = item->next)
        gst_plugin_feature_set_rank(GST_PLUGIN_FEATURE(item->data), GST_RANK_NONE);
    gst_plugin_feature_list_free(sinks);
}

void exitWithoutLibraryTeardown(int exitCode)
{
    // Qt 6.4 Multimedia keeps its PulseAudio connection in a library global.
    // Its destructor, run by exit(), disconnects from the sound server while
    // the connection's own thread may be reading a reply, which then reads
    // freed memory. Such a reply is often under way at exit: the server
    // reports a change of its output whenever a stream of this process ends.
    // Nothing of those globals is needed once the application object is gone.
    std::fflush(nullptr);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check(); // exit() would have run it
#endif
    std::_Exit(exitCode);
}
