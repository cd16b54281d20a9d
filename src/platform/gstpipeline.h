#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

#include <gst/gst.h>

#include "core/mediacontrol.h"

// The pieces of one track's GStreamer pipeline that need no thread of their own: what playbin
// is given, what a prerolled pipeline tells, the output stage with volume and balance, and
// how errors map onto the player's reasons. Everything here runs on a track's thread, except
// uriOf().

// An element released with the last copy.
using ElementPointer = std::shared_ptr<GstElement>;

// What to give playbin: a URL of another scheme as it stands, a local path as a file URL.
QByteArray uriOf(const QString &path);

// Why a track failed, from a GStreamer error.
MediaControl::Failure failureOf(const GError *error);

// What a prerolled pipeline tells of its track.
struct TrackDescription
{
    // Seconds; 0 when unknown.
    double duration = 0;
    QString artist;
    QString title;
    // The element that renders the sound, which answers position queries.
    ElementPointer sink;
};

TrackDescription describeTrack(GstElement *pipeline);

// The length of what `pipeline` plays in seconds, as its rendering `sink` tells it (the
// pipeline itself would wait for playbin's lock, which a streaming thread holds while it
// opens a following source), else as the parsers estimate it; 0 when unknown.
double trackDuration(GstElement *pipeline, GstElement *sink);

// Artist and title in a tag list; "" for one it lacks.
struct TrackTags
{
    QString artist;
    QString title;
};
TrackTags tagsOf(const GstTagList *tags);

// Ranks libmpg123's MP3 decoder above the others (see the definition for why). Call once,
// after GStreamer is initialised.
void preferLeanMp3Decoder();

// Loads the plugins that every track needs on its way to the preroll, whatever the file: playbin
// with the file source, type finding and converters, the output stage, and the sound output that
// autoaudiosink tries first. Done ahead, the first track does not wait for them. Call after
// GStreamer is initialised.
void loadTrackPlugins();

// `sink` (a floating reference, taken over) behind a volume stage and a balance stage, as one
// bin for playbin's audio sink; nullptr when a stage cannot be made.
GstElement *outputStage(GstElement *sink);

// Volume, mute and balance as the output stage takes them.
struct OutputSettings
{
    double gain = 1;
    bool isMuted = false;
    // -1 … 1, see audiopanorama's simple method.
    float panorama = 0;
};

// `volume` in hundredths of a decibel, `balance` -5000 … 5000.
OutputSettings outputSettingsOf(int volume, int balance, bool isMuted);
// Gives the output stage of `pipeline` the settings; nothing when it has none.
void applyOutputSettings(GstElement *pipeline, const OutputSettings &settings);
