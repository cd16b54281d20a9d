#include "core/typeahead.h"

#include "core/playlist.h"

int TypeAhead::find(const Playlist &list, const QString &letters, qint64 atMilliseconds,
                    int current)
{
    const bool gathering = !m_letters.isEmpty() && atMilliseconds - m_typedAt <= GatherMilliseconds;
    m_letters = gathering ? m_letters + letters : letters;
    m_typedAt = atMilliseconds;
    return list.findName(m_letters, gathering ? current : current + 1);
}
