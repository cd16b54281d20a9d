#pragma once

#include <deque>
#include <functional>

#include <QObject>
#include <QStringList>

#include "core/commandline.h"
#include "core/workqueue.h"

class Playlist;

// Puts the songs of a start, or of a later start handed over, into the playlist in their
// order, folders included, without holding up the window. A folder is listed on the feed's
// worker (see WorkQueue) and its first song, once found readable, joins the list at once:
// the folder's sort and the checks of the rest come after it. The rest are checked there
// BatchSongs at a time, each batch coming back as soon as it is checked. Songs join the list
// at most BatchSongs at a time, one batch per turn of the event loop, so the window paints
// and answers between them.
//
// Requests queue up: the songs of one join the list after all of those before it. When the
// list is emptied (its model reset by anything but the feed itself) whatever is still to come
// is dropped: a listing under way carries the serial it was started with and its result is
// dropped when that is no longer the feed's.
class PlaylistFeed : public QObject
{
    Q_OBJECT

public:
    static constexpr int BatchSongs = 2000;
    // Told once per request: the row of its first song as soon as that song is in the list,
    // or -1 when the request brought none (its folders hold no sound file). Not told for a
    // request that was dropped.
    using Arrival = std::function<void(int row)>;

    explicit PlaylistFeed(Playlist &playlist, QObject *parent = nullptr);

    void add(const CommandLineSongs &songs, Arrival arrival = {});
    // Drops everything still to come.
    void cancel();
    // Songs or folder listings still to come.
    bool isFilling() const { return !m_pieces.empty(); }

private:
    // A run of songs of one request, or one of its folders.
    struct Piece
    {
        quint64 request = 0;
        // Names a folder's piece for the results of its listing and checks.
        quint64 id = 0;
        // All its songs are known: a folder's once it is listed and every batch checked.
        bool isComplete = true;
        int checksLeft = 0;
        QStringList songs{};
        // Empty for a folder's songs: each song is its own information line.
        QStringList infos{};
        // Songs already in the list.
        qsizetype added = 0;
        // The request's arrival, while its first song is still to come.
        Arrival arrival{};
    };

    void listFolder(const QString &folder, quint64 id);
    // Has the files of a folder's listing checked, batch by batch.
    void checkFiles(quint64 id, const QStringList &files);
    void checked(quint64 id, const QStringList &readable);
    // The folder's piece `id`; nullptr once it is gone.
    Piece *folderPiece(quint64 id);
    // Appends one batch, then asks for another turn when more is ready.
    void feed();
    void scheduleFeed();
    // Drops the first piece, handing its arrival on to the request's next piece.
    void finishFirstPiece();

    Playlist &m_playlist;
    std::deque<Piece> m_pieces;
    quint64 m_serial = 0;
    quint64 m_lastRequest = 0;
    quint64 m_lastId = 0;
    bool m_isFeedScheduled = false;
    // The feed's own appends never count as the list being emptied.
    bool m_isAppending = false;
    WorkQueue m_listings;
};
