#include "core/playlist.h"

#include <algorithm>

#include "persist/textcodec.h"

Playlist::Playlist(QObject *parent) : QAbstractListModel(parent) {}

int Playlist::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant Playlist::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return displayText(m_songs.at(index.row()));
    return {};
}

QString Playlist::song(int row) const
{
    return row >= 0 && row < count() ? m_songs.at(row) : QString();
}

void Playlist::append(const QStringList &songs, const QStringList &infos)
{
    if (songs.isEmpty())
        return;
    beginInsertRows({}, count(), count() + int(songs.size()) - 1);
    if (m_songs.isEmpty())
        m_songs = songs;
    else
        m_songs += songs;
    if (m_songInfo.isEmpty() && infos.size() == songs.size()) {
        m_songInfo = infos;
    } else {
        m_songInfo += infos.size() > songs.size() ? infos.first(songs.size()) : infos;
        for (qsizetype i = infos.size(); i < songs.size(); ++i)
            m_songInfo += songs.at(i);
    }
    endInsertRows();
}

void Playlist::clear()
{
    beginResetModel();
    m_songs.clear();
    m_songInfo.clear();
    endResetModel();
}

void Playlist::removeHighlighted()
{
    QList<int> rows;
    for (const QModelIndex &index : m_selection.selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    removeSongRows(rows);
}

void Playlist::removeNotHighlighted()
{
    QList<int> rows;
    for (int row = 0; row < count(); ++row) {
        if (!isHighlighted(row))
            rows.append(row);
    }
    removeSongRows(rows);
}

void Playlist::removeSongRows(QList<int> rows)
{
    // The selection model would make a neighbour current; a list box has none then.
    const bool currentGoes = rows.contains(CurrentEntry());
    // Remove runs of neighbouring rows from the bottom up, so earlier rows keep their
    // numbers and a large highlight costs few model notifications.
    while (!rows.isEmpty()) {
        const int last = rows.takeLast();
        int first = last;
        while (!rows.isEmpty() && rows.last() == first - 1)
            first = rows.takeLast();
        beginRemoveRows({}, first, last);
        m_songs.remove(first, last - first + 1);
        endRemoveRows();
    }
    if (currentGoes)
        setCurrentEntry(-1);
}

int Playlist::CurrentEntry() const
{
    const QModelIndex current = m_selection.currentIndex();
    return current.isValid() ? current.row() : -1;
}

void Playlist::setCurrentEntry(int row)
{
    m_selection.setCurrentIndex(index(row), QItemSelectionModel::NoUpdate);
}

bool Playlist::isHighlighted(int row) const
{
    return m_selection.isSelected(index(row));
}

void Playlist::setHighlighted(int row, bool highlighted)
{
    const QModelIndex target = index(row);
    if (target.isValid())
        m_selection.select(target, highlighted ? QItemSelectionModel::Select
                                               : QItemSelectionModel::Deselect);
}

int Playlist::findName(const QString &text, int from) const
{
    if (text.isEmpty() || m_songs.isEmpty())
        return -1;
    const int start = from >= 0 && from < count() ? from : 0;
    for (int step = 0; step < count(); ++step) {
        const int row = (start + step) % count();
        const QString &song = m_songs.at(row);
        const QStringView name = QStringView(song).sliced(song.lastIndexOf(u'/') + 1);
        if (name.contains(text, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}
