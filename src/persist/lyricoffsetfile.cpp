#include "persist/lyricoffsetfile.h"

#include <algorithm>
#include <cstdlib>

#include <QSet>

#include "persist/textcodec.h"

QList<LyricOffsetEntry> parseLyricOffsets(const QString &text)
{
    QList<LyricOffsetEntry> read;
    for (const QString &line : splitLines(text)) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0 || tab + 1 == line.size())
            continue;
        bool ok = false;
        const int milliseconds = QStringView(line).first(tab).toInt(&ok);
        if (ok && milliseconds != 0 && std::abs(milliseconds) <= MaxLyricOffsetMilliseconds)
            read.append({line.sliced(tab + 1), milliseconds});
    }
    // From the newest back: the first line of a path counts, up to the bound.
    QList<LyricOffsetEntry> kept;
    QSet<QString> seen;
    for (auto entry = read.crbegin();
         entry != read.crend() && kept.size() < MaxLyricOffsetEntries; ++entry) {
        if (!seen.contains(entry->song)) {
            seen.insert(entry->song);
            kept.append(*entry);
        }
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

ReadResult<QList<LyricOffsetEntry>> LoadLyricOffsets(const QString &path)
{
    const ReadResult<QString> read = readTextFile(path, SmallTextFileLimit);
    if (!read.isRead())
        return {read.status, {}, read.error};
    return {ReadStatus::Read, parseLyricOffsets(read.value), QString()};
}

WriteResult SaveLyricOffsets(const QString &path, const QList<LyricOffsetEntry> &entries)
{
    QStringList lines;
    lines.reserve(entries.size());
    for (const LyricOffsetEntry &entry : entries)
        lines.append(QString::number(entry.milliseconds) + u'\t' + entry.song);
    return writeTextLines(path, lines);
}
