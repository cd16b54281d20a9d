#include "core/typeahead.h"

#include "core/playlist.h"

int TypeAhead::find(const Playlist &list, const QString &letters, qint64 atMilliseconds,
                    int current)
{
    const bool gathering = isGathering(atMilliseconds);
    m_letters = gathering ? m_letters + letters : letters;
    m_typedAt = atMilliseconds;
    return list.findName(m_letters, gathering ? current : current + 1);
}

bool TypeAhead::continuesSearch(QChar letter, qint64 atMilliseconds) const
{
    return letter.isLetterOrNumber() && isGathering(atMilliseconds);
}

bool TypeAhead::isGathering(qint64 atMilliseconds) const
{
    return !m_letters.isEmpty() && atMilliseconds - m_typedAt <= GatherMilliseconds;
}
