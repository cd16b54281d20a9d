#include "lyrics/lyricdisplay.h"

#include "lyrics/lyriclist.h"

namespace {} // namespace

std::optional<QString> SyncLyric(LyricList &list, float position)
{
    const int due = list.selectedIndex();
    const double time = list.seconds(due);
    if (time <= position) {
        const QString text = list.shownText(due);
        list.select(due + 1);
        return text;
    }
    if (time <= position + LyricBlankLead)
        return QString();
    return std::nullopt;
}

std::optional<QString> refindLyricLine(LyricList &list, float seconds)
{
    if (!list.select(0))
        return std::nullopt;
    int line = 0;
    while (line + 1 < list.count() && list.seconds(line) <= seconds) {
        if (list.seconds(line + 1) > seconds) {
            list.select(line);
            return list.shownText(line);
        }
        ++line;
    }
    list.select(line);
    return std::nullopt;
}

Qt::Alignment nextLyricAlignment(Qt::Alignment alignment)
{
    const Qt::Alignment vertical = alignment & ~Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        return vertical | Qt::AlignRight;
    if (alignment & Qt::AlignRight)
        return vertical | Qt::AlignLeft;
    return vertical | Qt::AlignHCenter;
}
