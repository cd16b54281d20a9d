#pragma once

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QStringList>

// The playlist `ListSong`: one row per song, the row's text being the song's full path,
// in play order. The selection model carries two separate things: its current index is
// the current entry (`CurrentEntry`), and its selection is the highlight, which may
// cover several rows (for deleting). A list view shows both through the same
// selection model.
//
// `ListSongInfo` rides along: for every song appended from a playlist file it holds the
// line that introduced the entry. Nothing reads it back and removals leave it alone.
class Playlist : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit Playlist(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    int count() const { return int(m_songs.size()); }
    const QStringList &songs() const { return m_songs; }
    // The song at `row`; "" outside the list.
    QString song(int row) const;
    const QStringList &ListSongInfo() const { return m_songInfo; }

    // Appends songs at the end; `infos` go to ListSongInfo (missing ones as the song). An
    // empty list takes `songs` over without copying them, so a list read at start-up costs
    // nothing more here, and songs() compares equal to it at once while nothing changed.
    void append(const QStringList &songs, const QStringList &infos = {});
    // Empties the list (ListSongInfo too).
    void clear();
    // Removes every highlighted row; the current entry follows its row or becomes -1
    // when its row went.
    void removeHighlighted();
    // Keeps only the highlighted rows, in their order (none highlighted empties the list);
    // the current entry as above.
    void removeNotHighlighted();

    // -1 when there is no current entry.
    int CurrentEntry() const;
    void setCurrentEntry(int row);
    bool isHighlighted(int row) const;
    void setHighlighted(int row, bool highlighted);

    QItemSelectionModel *selectionModel() { return &m_selection; }

    // The first row from `from` on, going round past the end, whose song's name (what follows
    // its last "/") contains `text`, ignoring case; -1 when none does or `text` is empty.
    // `from` outside the list starts at the first row.
    int findName(const QString &text, int from) const;

private:
    // Removes `rows` (ascending, each once).
    void removeSongRows(QList<int> rows);

    QStringList m_songs;
    QStringList m_songInfo;
    QItemSelectionModel m_selection{this};
};
