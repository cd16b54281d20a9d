#pragma once

#include <QString>

class Playlist;

// Finding a song in the list by typing part of its name, as in a file manager: letters typed
// within GatherMilliseconds of the ones before add to them, a later letter starts anew. A new
// search looks from the entry after the current one, so typing the same letters again goes on
// to the next song that holds them; more letters keep the current entry while it still holds
// them all.
class TypeAhead
{
public:
    static constexpr qint64 GatherMilliseconds = 1000;

    // Takes `letters` typed at `atMilliseconds` (any steady clock) while `current` is the
    // current row (-1 for none); returns the row to make current, -1 when no song's name
    // holds the letters gathered.
    int find(const Playlist &list, const QString &letters, qint64 atMilliseconds, int current);

    // Whether `letter` typed at `atMilliseconds` goes on with the search under way rather than
    // acting as a key command: a letter or digit within GatherMilliseconds of the last one, so
    // that typing "map" mutes nothing once the search has begun.
    bool continuesSearch(QChar letter, qint64 atMilliseconds) const;

private:
    bool isGathering(qint64 atMilliseconds) const;

    QString m_letters;
    qint64 m_typedAt = 0;
};
