#include "platform/gstpipeline.h"

#include <algorithm>
#include <cmath>

#include <QFileInfo>
#include <QUrl>

#include <gst/base/gstbaseparse.h>
#include <gst/base/gstbasetransform.h>

#include "persist/textcodec.h"

namespace {

// Takes over a reference. nullptr stays null.
ElementPointer adoptElement(GstElement *element)
{
    return ElementPointer(element, [](GstElement *owned) {
        if (owned)
            gst_object_unref(owned);
    });
}

} // namespace

// What to give playbin: a URL of another scheme as it stands, a local path as a file URL.
QByteArray uriOf(const QString &path)
{
    const QUrl url(path);
    if (path.contains(QStringLiteral("://")) && url.isValid() && !url.isLocalFile())
        return url.toEncoded();
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
}

MediaControl::Failure failureOf(const GError *error)
{
    using Failure = MediaControl::Failure;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
        case GST_RESOURCE_ERROR_OPEN_READ:
        case GST_RESOURCE_ERROR_OPEN_READ_WRITE:
        case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
            return Failure::Missing;
        default:
            return Failure::CannotDecode;
        }
    }
    if (error->domain == GST_STREAM_ERROR) {
        switch (error->code) {
        case GST_STREAM_ERROR_TYPE_NOT_FOUND:
        case GST_STREAM_ERROR_WRONG_TYPE:
        case GST_STREAM_ERROR_CODEC_NOT_FOUND:
        case GST_STREAM_ERROR_NOT_IMPLEMENTED:
            return Failure::NotAudio;
        default:
            return Failure::CannotDecode;
        }
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return Failure::NotAudio;
    return Failure::CannotDecode;
}

namespace {

// Gain factor of hundredths of a decibel.
double gainOf(int hundredthsOfDecibel)
{
    return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

// A parser of a stream without a length header (constant bit rate MP3 without a Xing frame,
// for one) reports the length only after about a second and a half of frames. It converts
// the stream's byte length to time from the frames it has seen so far, which is exact for a
// constant bit rate and a first estimate otherwise.
// Nanoseconds; -1 when no parser in the pipeline can tell.
gint64 parserDurationEstimate(GstElement *pipeline)
{
    gint64 result = -1;
    g_autoptr(GstIterator) elements = gst_bin_iterate_recurse(GST_BIN(pipeline));
    GValue item = G_VALUE_INIT;
    while (result < 0 && gst_iterator_next(elements, &item) == GST_ITERATOR_OK) {
        GstElement *element = GST_ELEMENT(g_value_get_object(&item));
        if (GST_IS_BASE_PARSE(element)) {
            g_autoptr(GstPad) input = gst_element_get_static_pad(element, "sink");
            g_autoptr(GstPad) output = gst_element_get_static_pad(element, "src");
            gint64 bytes = 0;
            gint64 nanoseconds = 0;
            if (input && output && gst_pad_peer_query_duration(input, GST_FORMAT_BYTES, &bytes) &&
                gst_pad_query_convert(output, GST_FORMAT_BYTES, bytes, GST_FORMAT_TIME,
                                      &nanoseconds) &&
                nanoseconds > 0)
                result = nanoseconds;
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    return result;
}

QString audioTag(const GstTagList *tags, const char *name)
{
    g_autofree gchar *text = nullptr;
    return tags && gst_tag_list_get_string(tags, name, &text)
               ? legacyTagText(QString::fromUtf8(text))
               : QString();
}

// The element inside `element` (taken over), or `element` itself, that renders the sound.
// Position queries go to it straight: a bin answers them by asking each of its sinks in turn,
// which would take a quarter of the user-interface thread's time while a track plays.
GstElement *renderingSink(GstElement *element)
{
    while (GST_IS_BIN(element)) {
        g_autoptr(GstIterator) sinks = gst_bin_iterate_sinks(GST_BIN(element));
        GValue item = G_VALUE_INIT;
        if (gst_iterator_next(sinks, &item) != GST_ITERATOR_OK)
            break;
        gst_object_unref(element);
        element = GST_ELEMENT(g_value_dup_object(&item));
        g_value_unset(&item);
    }
    return element;
}

constexpr const char *VolumeName = "output-volume";
constexpr const char *BalanceName = "output-balance";

} // namespace

TrackDescription describeTrack(GstElement *pipeline)
{
    TrackDescription info;
    GstElement *sink = nullptr;
    g_object_get(pipeline, "audio-sink", &sink, nullptr);
    info.sink = adoptElement(sink ? renderingSink(sink) : nullptr);
    info.duration = trackDuration(pipeline, info.sink.get());
    gint stream = 0;
    g_object_get(pipeline, "current-audio", &stream, nullptr);
    g_autoptr(GstTagList) tags = nullptr;
    g_signal_emit_by_name(pipeline, "get-audio-tags", std::max(stream, 0), &tags);
    const TrackTags texts = tagsOf(tags);
    info.artist = texts.artist;
    info.title = texts.title;
    return info;
}

double trackDuration(GstElement *pipeline, GstElement *sink)
{
    gint64 length = -1;
    if (!sink || !gst_element_query_duration(sink, GST_FORMAT_TIME, &length) || length <= 0)
        length = parserDurationEstimate(pipeline);
    return length <= 0 ? 0.0 : double(length) / GST_SECOND;
}

TrackTags tagsOf(const GstTagList *tags)
{
    return {audioTag(tags, GST_TAG_ARTIST), audioTag(tags, GST_TAG_TITLE)};
}

// libmpg123's decoder of MP3 and libavcodec's can have the same rank (they do in Debian 12),
// and then the first by name wins: libavcodec's. That one takes about twice the processor time per
// second of sound, and it loads libavcodec and libavfilter with their dependencies, about 30 MiB
// more memory. So libmpg123's is put a rank above every other MP3 decoder, unless the user has
// disabled it.
void preferLeanMp3Decoder()
{
    g_autoptr(GstPluginFeature) lean =
        gst_registry_lookup_feature(gst_registry_get(), "mpg123audiodec");
    if (!lean || gst_plugin_feature_get_rank(lean) < GST_RANK_MARGINAL)
        return;
    g_autoptr(GstCaps) mp3 = gst_caps_from_string("audio/mpeg, mpegversion=(int)1, layer=(int)3");
    GList *decoders = gst_element_factory_list_get_elements(
        GST_ELEMENT_FACTORY_TYPE_DECODER | GST_ELEMENT_FACTORY_TYPE_MEDIA_AUDIO, GST_RANK_NONE);
    GList *mp3Decoders = gst_element_factory_list_filter(decoders, mp3, GST_PAD_SINK, FALSE);
    guint highest = 0;
    for (GList *item = mp3Decoders; item; item = item->next)
        if (item->data != lean)
            highest =
                std::max(highest, gst_plugin_feature_get_rank(GST_PLUGIN_FEATURE(item->data)));
    if (gst_plugin_feature_get_rank(lean) <= highest)
        gst_plugin_feature_set_rank(lean, highest + 1);
    gst_plugin_feature_list_free(mp3Decoders);
    gst_plugin_feature_list_free(decoders);
}

void loadTrackPlugins()
{
    const auto load = [](GstPluginFeature *feature) {
        if (GstPluginFeature *loaded = feature ? gst_plugin_feature_load(feature) : nullptr)
            gst_object_unref(loaded);
    };
    for (const char *name : {"playbin", "filesrc", "audioconvert", "audioresample", "volume",
                             "audiopanorama", "autoaudiosink"}) {
        g_autoptr(GstPluginFeature) factory = gst_registry_lookup_feature(gst_registry_get(), name);
        load(factory);
    }
    if (GstPlugin *typeFinders = gst_plugin_load_by_name("typefindfunctions"))
        gst_object_unref(typeFinders);
    GList *sinks =
        g_list_sort(gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_SINK |
                                                              GST_ELEMENT_FACTORY_TYPE_MEDIA_AUDIO,
                                                          GST_RANK_MARGINAL),
                    gst_plugin_feature_rank_compare_func);
    load(sinks ? GST_PLUGIN_FEATURE(sinks->data) : nullptr);
    gst_plugin_feature_list_free(sinks);
}

// The sink with the volume and balance stages in front of it, as one bin that playbin takes
// for its audio sink. They sit behind playbin's queue and converters, on the sink's thread,
// where they need no converter of their own; as playbin's audio filter they would run on the
// decoding thread behind a converter playbin adds for them, which costs about a tenth more
// processor time while a track plays. The volume stage lets the sound through untouched at
// unity gain, the balance stage at balance 0 (see applyOutput()); otherwise the balance stage
// copies every buffer. Its input is always stereo, so that passing it through is right.
// Takes over a floating `sink`; nullptr when a stage is missing.
GstElement *outputStage(GstElement *sink)
{
    GstElement *volume = gst_element_factory_make("volume", VolumeName);
    GstElement *stereo = gst_element_factory_make("capsfilter", nullptr);
    GstElement *balance = gst_element_factory_make("audiopanorama", BalanceName);
    if (!sink || !volume || !stereo || !balance) {
        for (GstElement *element : {sink, volume, stereo, balance})
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
        return nullptr;
    }
    g_autoptr(GstCaps) stereoCaps = gst_caps_from_string("audio/x-raw, channels=(int)2");
    g_object_set(stereo, "caps", stereoCaps, nullptr);
    gst_util_set_object_arg(G_OBJECT(balance), "method", "simple");
    GstElement *bin = gst_bin_new("output");
    gst_bin_add_many(GST_BIN(bin), volume, stereo, balance, sink, nullptr);
    g_autoptr(GstPad) input = gst_element_get_static_pad(volume, "sink");
    if (!gst_element_link_many(volume, stereo, balance, sink, nullptr) ||
        !gst_element_add_pad(bin, gst_ghost_pad_new("sink", input))) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    return bin;
}

OutputSettings outputSettingsOf(int volume, int balance, bool isMuted)
{
    // The simple panorama method scales the channel away from the pan direction by
    // 1 - |panorama| and passes the other one unchanged.
    const double reduction = 1.0 - gainOf(-std::abs(balance));
    return {gainOf(volume), isMuted, float(balance < 0 ? -reduction : reduction)};
}

void applyOutputSettings(GstElement *pipeline, const OutputSettings &settings)
{
    GstElement *stage = nullptr;
    g_object_get(pipeline, "audio-sink", &stage, nullptr);
    if (!stage || !GST_IS_BIN(stage)) {
        gst_clear_object(&stage);
        return;
    }
    if (g_autoptr(GstElement) volume = gst_bin_get_by_name(GST_BIN(stage), VolumeName))
        g_object_set(volume, "volume", settings.gain, "mute", gboolean(settings.isMuted), nullptr);
    if (g_autoptr(GstElement) balance = gst_bin_get_by_name(GST_BIN(stage), BalanceName)) {
        g_object_set(balance, "panorama", settings.panorama, nullptr);
        gst_base_transform_set_passthrough(GST_BASE_TRANSFORM(balance), settings.panorama == 0);
    }
    gst_object_unref(stage);
}
