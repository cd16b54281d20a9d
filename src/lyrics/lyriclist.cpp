#include "lyrics/lyriclist.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

// The plain decimal number before the first "#" (spaces around it allowed), which is what
// the parser writes; anything else is never due. Read by hand since a general number
// parser would cost more than the rest of a whole file's parse.
double itemSeconds(const QString &item)
{
    constexpr double never = std::numeric_limits<double>::infinity();
    const qsizetype mark = item.indexOf(u'#');
    if (mark < 0)
        return never;
    const QStringView field = QStringView(item).first(mark).trimmed();
    qint64 digits = 0;
    int digitCount = 0;
    double scale = 1;
    bool hasPoint = false;
    for (QChar c : field) {
        if (c == u'.' && !hasPoint) {
            hasPoint = true;
        } else if (c >= u'0' && c <= u'9' && digitCount < 15) {
            digits = digits * 10 + (c.unicode() - u'0');
            ++digitCount;
            if (hasPoint)
                scale *= 10;
        } else {
            return never;
        }
    }
    // Both are exact, so the quotient is the number's nearest double.
    return digitCount == 0 ? never : double(digits) / scale;
}

} // namespace

QStringList LyricList::items() const
{
    QStringList result;
    result.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        result.append(entry.text);
    return result;
}

double LyricList::seconds(int index) const
{
    if (index < 0 || index >= count())
        return std::numeric_limits<double>::infinity();
    return m_entries.at(index).seconds;
}

QString LyricList::shownText(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const QString &text = m_entries.at(index).text;
    const qsizetype start = text.indexOf(u'#') + 1;
    if (start == 0)
        return {};
    const qsizetype end = text.indexOf(u'#', start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

QList<WordStamp> LyricList::words(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return m_entries.at(index).words;
}

bool LyricList::select(int index)
{
    if (index < 0 || index >= count())
        return false;
    m_selectedIndex = index;
    return true;
}

void LyricList::insert(const QStringList &items)
{
    QList<LyricItem> plain;
    plain.reserve(items.size());
    for (const QString &item : items)
        plain.append({item, {}});
    insertItems(plain);
}

void LyricList::insertItems(const QList<LyricItem> &items)
{
    QList<Entry> added;
    added.reserve(items.size());
    for (const LyricItem &item : items)
        added.append({item.text, itemSeconds(item.text), item.words});
    std::stable_sort(added.begin(), added.end(), isBefore);
    m_selectedIndex = -1;
    if (m_entries.isEmpty()) {
        m_entries = std::move(added);
        return;
    }

    // A merge keeps the items already here before equal new ones, and costs one pass
    // instead of a sorted insert per item.
    QList<Entry> merged;
    merged.reserve(m_entries.size() + added.size());
    std::merge(std::make_move_iterator(m_entries.begin()), std::make_move_iterator(m_entries.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
               std::back_inserter(merged), isBefore);
    m_entries = std::move(merged);
}

void LyricList::clear()
{
    m_entries.clear();
    m_selectedIndex = -1;
}

bool LyricList::isBefore(const Entry &first, const Entry &second)
{
    if (first.seconds != second.seconds)
        return first.seconds < second.seconds;
    return QString::compare(first.text, second.text, Qt::CaseInsensitive) < 0;
}
