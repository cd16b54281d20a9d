#include "core/lyricoffsets.h"

#include <algorithm>

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcLyricOffsets, "zorvan.lyrics", QtWarningMsg)

LyricOffsets::LyricOffsets(const QString &path) : m_writer(path, lcLyricOffsets()) {}

void LyricOffsets::load()
{
    const ReadResult<QList<LyricOffsetEntry>> read = LoadLyricOffsets(path());
    if (read.status == ReadStatus::Unreadable) {
        qCWarning(lcLyricOffsets).noquote()
            << QStringLiteral("cannot read %1: %2").arg(path(), read.error);
        m_writer.keepFile();
    }
    m_entries = read.value;
}

int LyricOffsets::offset(const QString &song) const
{
    const auto entry = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                    [&](const LyricOffsetEntry &each) { return each.song == song; });
    return entry == m_entries.cend() ? 0 : entry->milliseconds;
}

void LyricOffsets::setOffset(const QString &song, int milliseconds)
{
    m_entries.removeIf([&](const LyricOffsetEntry &each) { return each.song == song; });
    if (milliseconds != 0)
        m_entries.append({song, milliseconds});
    if (m_entries.size() > MaxLyricOffsetEntries)
        m_entries.remove(0, m_entries.size() - MaxLyricOffsetEntries);
    m_writer.write(
        [entries = m_entries](const QString &path) { return SaveLyricOffsets(path, entries); });
}
