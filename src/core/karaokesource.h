#pragma once

#include <QObject>
#include <QString>

// What the desktop lyric window shows: the current lyric line, the next one, and how far the
// current one has been sung. The player's position (PlaybackPosition) provides it; tests
// fake it.
class KaraokeSource : public QObject
{
    Q_OBJECT

public:
    struct KaraokeLines
    {
        // The current line's index in the lyrics; -1 before the first line.
        int index = -1;
        QString current;
        QString next;

        bool operator==(const KaraokeLines &) const = default;
    };

    using QObject::QObject;

    virtual KaraokeLines karaokeLines() const = 0;
    // How much of the current line is sung now, in characters: 2.5 is two characters and
    // half of the third. Between 0 and the line's length.
    virtual double karaokeFill() const = 0;
    // Whether the track moves, and with it the fill.
    virtual bool isRunning() const = 0;

signals:
    void karaokeLinesChanged();
    void runningChanged(bool running);
};
