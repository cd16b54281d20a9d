#pragma once

#include <optional>

#include <Qt>
#include <QString>

class LyricList;

// How long before a line is due the lyric labels go blank, in seconds.
constexpr double LyricBlankLead = 0.2;

// Keeping the two lyric labels (`LTxtMin`, `LTxtMax`) in step with playback. Both labels
// always get the same text. The functions take the position as an input and return the
// text the labels are to show whenever a step sets them (the caller skips a text the
// labels already show); nothing when the step leaves them alone.
//
// The selected item of the list is the next line due. The playback start empties the
// list and finds the lyric (the parser selects the header, item 0); the first step then
// shows the header and makes the first line the one due.

// One display step at playback position `position` (seconds): when the selected item is
// due (its time <= position) its text is shown and the next item selected; when it is due
// within 0.2 s the labels go blank. At most one line is taken per call, so lines due at
// once are caught up one per call; after the last line the selection stays on it and the
// labels keep it. An empty list or no selection changes nothing.
std::optional<QString> SyncLyric(LyricList &list, float position);

// After a seek to `seconds`: selects the last item whose time is not after `seconds` and
// returns its text for the labels, unless every item is after `seconds` (item 0 stays
// selected) or none is (the last item is selected and shown by the next step).
std::optional<QString> refindLyricLine(LyricList &list, float seconds);

// The lyric label's alignment after a click on it: left, centred, right, then left again.
// The vertical part of `alignment` is kept.
Qt::Alignment nextLyricAlignment(Qt::Alignment alignment);
