#include "core/playlistfeed.h"

#include <algorithm>
#include <memory>
#include <utility>

#include <QScopedValueRollback>
#include <QTimer>

#include "core/playlist.h"

PlaylistFeed::PlaylistFeed(Playlist &playlist, QObject *parent)
    : QObject(parent), m_playlist(playlist)
{
    connect(&m_playlist, &QAbstractItemModel::modelReset, this, [this] {
        if (!m_isAppending)
            cancel();
    });
}

void PlaylistFeed::add(const CommandLineSongs &songs, Arrival arrival)
{
    const quint64 request = ++m_lastRequest;
    const qsizetype firstPiece = qsizetype(m_pieces.size());
    const auto addSongs = [&](qsizetype from, qsizetype to) {
        if (from < to)
            m_pieces.push_back({.request = request,
                                .songs = songs.songs.mid(from, to - from),
                                .infos = songs.infos.mid(from, to - from)});
    };
    qsizetype next = 0;
    for (const CommandLineSongs::Folder &folder : songs.folders) {
        const qsizetype before = std::clamp(folder.before, next, songs.songs.size());
        addSongs(next, before);
        next = before;
        m_pieces.push_back({.request = request, .id = ++m_lastId, .isComplete = false});
        listFolder(folder.path, m_lastId);
    }
    addSongs(next, songs.songs.size());
    if (qsizetype(m_pieces.size()) == firstPiece) {
        if (arrival)
            arrival(-1);
        return;
    }
    m_pieces.at(firstPiece).arrival = std::move(arrival);
    scheduleFeed();
}

void PlaylistFeed::cancel()
{
    ++m_serial;
    m_pieces.clear();
}

void PlaylistFeed::listFolder(const QString &folder, quint64 id)
{
    // Listed by one job and sorted by the next: the first song joins the list in between.
    const auto files = std::make_shared<SoundFolder>();
    m_listings.add(
        [files, folder] {
            files->list(folder);
            // When the first cannot be read, the checks after the sort find the first that can.
            const QString first = files->first();
            return first.isEmpty() ? QStringList() : readableFiles({first});
        },
        [this, id, files, serial = m_serial](const QStringList &first) {
            Piece *piece = serial == m_serial ? folderPiece(id) : nullptr;
            if (!piece)
                return;
            piece->songs = first;
            m_listings.add([files, skip = first.size()] { return files->sorted(skip); },
                           [this, id, serial](const QStringList &rest) {
                               if (serial == m_serial)
                                   checkFiles(id, rest);
                           });
            scheduleFeed();
        });
}

void PlaylistFeed::checkFiles(quint64 id, const QStringList &files)
{
    Piece *piece = folderPiece(id);
    if (!piece)
        return;
    piece->checksLeft = int((files.size() + BatchSongs - 1) / BatchSongs);
    piece->isComplete = files.isEmpty();
    for (qsizetype from = 0; from < files.size(); from += BatchSongs) {
        m_listings.add([batch = files.mid(from, BatchSongs)] { return readableFiles(batch); },
                       [this, id, serial = m_serial](const QStringList &readable) {
                           if (serial == m_serial)
                               checked(id, readable);
                       });
    }
    scheduleFeed();
}

void PlaylistFeed::checked(quint64 id, const QStringList &readable)
{
    Piece *piece = folderPiece(id);
    if (!piece)
        return;
    piece->songs += readable;
    piece->isComplete = --piece->checksLeft == 0;
    scheduleFeed();
}

PlaylistFeed::Piece *PlaylistFeed::folderPiece(quint64 id)
{
    const auto piece = std::find_if(m_pieces.begin(), m_pieces.end(),
                                    [id](const Piece &each) { return each.id == id; });
    return piece == m_pieces.end() ? nullptr : &*piece;
}

void PlaylistFeed::scheduleFeed()
{
    if (std::exchange(m_isFeedScheduled, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_isFeedScheduled = false;
        feed();
    });
}

void PlaylistFeed::feed()
{
    qsizetype room = BatchSongs;
    while (!m_pieces.empty()) {
        Piece &piece = m_pieces.front();
        const qsizetype ready = piece.songs.size() - piece.added;
        // A folder's next checked batch asks for a turn when it comes.
        if (ready == 0 && !piece.isComplete)
            return;
        if (ready > 0 && room == 0) {
            scheduleFeed();
            return;
        }
        const qsizetype count = std::min(room, ready);
        const int row = m_playlist.count();
        Arrival arrived;
        if (count > 0) {
            const QScopedValueRollback appending(m_isAppending, true);
            m_playlist.append(piece.songs.mid(piece.added, count),
                              piece.infos.mid(piece.added, count));
            piece.added += count;
            room -= count;
            arrived = std::exchange(piece.arrival, {});
        }
        if (piece.isComplete && piece.added == piece.songs.size())
            finishFirstPiece();
        // Last: what it starts may add or drop pieces.
        if (arrived)
            arrived(row);
    }
}

void PlaylistFeed::finishFirstPiece()
{
    Piece finished = std::move(m_pieces.front());
    m_pieces.pop_front();
    if (!finished.arrival)
        return;
    if (!m_pieces.empty() && m_pieces.front().request == finished.request)
        m_pieces.front().arrival = std::move(finished.arrival);
    else
        finished.arrival(-1);
}
