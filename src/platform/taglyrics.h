#pragma once

#include "lyrics/songtags.h"

// The tags of the song at `songPath`, read with TagLib (a SongTagReader): artist and title
// from whichever tag the file has, and the lyric texts in this order: ID3v2 SYLT frames
// with times in milliseconds (as LRC lines; frames timed in MPEG frames, or holding chords,
// events and the like, are left out), ID3v2 USLT frames, then the lyric fields of the other
// tags (APE "LYRICS", Xiph "LYRICS" and "UNSYNCEDLYRICS", ASF "WM/Lyrics", MP4 "©lyr").
// Texts in a legacy 8-bit encoding are read as legacyTagText does. A text longer than
// MaxLyricFileBytes characters is left out, as a lyric file of that size would be. Empty
// tags for what is not a regular file or what TagLib cannot open.
SongTags readSongTags(const QString &songPath);
