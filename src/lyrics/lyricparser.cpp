#include "lyrics/lyricparser.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QLoggingCategory>
#include <QVarLengthArray>

#include "lyrics/lyriclist.h"
#include "persist/textcodec.h"
#include "persist/textfile.h"

Q_LOGGING_CATEGORY(lcLyrics, "zorvan.lyrics", QtWarningMsg)

namespace {

// 999:59.99, the latest time a tag can write.
constexpr qint64 MaxHundredths = (999 * 60 + 59) * 100 + 99;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads 1 to `maxDigits` ASCII digits at `position` and moves past them.
std::optional<int> readNumber(QStringView text, qsizetype &position, int maxDigits)
{
    int value = 0;
    const qsizetype start = position;
    while (position < text.size() && position - start < maxDigits && isDigit(text[position]))
        value = value * 10 + text[position++].digitValue();
    if (position == start)
        return std::nullopt;
    return value;
}

// The time of a tag's content ("01:23.45" and the other forms the parser reads) in
// hundredths of a second; further decimals are cut off.
std::optional<qint64> tagHundredths(QStringView tag)
{
    qsizetype position = 0;
    const std::optional<int> minutes = readNumber(tag, position, 3);
    if (!minutes || position == tag.size() || tag[position] != u':')
        return std::nullopt;
    ++position;
    const std::optional<int> seconds = readNumber(tag, position, 2);
    if (!seconds)
        return std::nullopt;
    qint64 hundredths = (qint64(*minutes) * 60 + *seconds) * 100;
    if (position == tag.size())
        return hundredths;
    if (tag[position] != u'.' && tag[position] != u':')
        return std::nullopt;
    int weight = 10;
    for (++position; position < tag.size(); ++position) {
        if (!isDigit(tag[position]))
            return std::nullopt;
        hundredths += tag[position].digitValue() * weight;
        weight /= 10;
    }
    return hundredths;
}

// A time tag's place on the list in hundredths: its time `tagTime` less the offset, rounded
// (halves to even); nothing when it is past the latest. A time before 0 is kept here: the
// item goes to 0, and its word stamps keep their distance to the tag.
std::optional<qint64> lineHundredths(qint64 tagTime, double offsetMilliseconds)
{
    const double time = std::nearbyint(double(tagTime) - offsetMilliseconds / 10);
    if (time > double(MaxHundredths))
        return std::nullopt;
    return qint64(time);
}

// A word-timing mark: the character of the line's text it stands before, and its time.
struct WordMark
{
    qsizetype character = 0;
    qint64 hundredths = 0;
};

struct MarkedText
{
    QString text;
    QList<WordMark> marks;
};

// The text without its word-timing marks, and where they stood; other text in angle
// brackets stays.
MarkedText withoutWordTimes(QStringView text)
{
    MarkedText result;
    qsizetype copied = 0;
    qsizetype close = -1;
    for (qsizetype open = text.indexOf(u'<'); open >= 0; open = text.indexOf(u'<', open + 1)) {
        // One search for the closing mark serves every "<" before it, so a line full of
        // "<" costs one pass.
        if (close < open)
            close = text.indexOf(u'>', open);
        if (close < 0)
            break;
        const std::optional<qint64> time = tagHundredths(text.sliced(open + 1, close - open - 1));
        if (!time)
            continue;
        result.text += text.sliced(copied, open - copied);
        result.marks.append({result.text.size(), *time});
        copied = close + 1;
        open = close;
    }
    result.text += text.sliced(copied);
    return result;
}

// The word stamps of the item placed at `itemTime` (hundredths) whose line's marks lie
// `shift` hundredths from the times they give. A stamp never comes before its item nor before
// the stamp ahead of it.
QList<WordStamp> wordStamps(const QList<WordMark> &marks, qint64 shift, qint64 itemTime)
{
    QList<WordStamp> stamps;
    stamps.reserve(marks.size());
    qint64 earliest = itemTime;
    for (const WordMark &mark : marks) {
        earliest = std::max(earliest, mark.hundredths + shift);
        stamps.append({int(mark.character), double(earliest) / 100});
    }
    return stamps;
}

// The item of a line: the time as "0000.00", "#", the lyric and " ##".
QString timedItem(qint64 hundredths, QStringView lyric)
{
    // Written from the right: two decimals, the point, then at least four digits.
    char time[24];
    char *start = time + sizeof time;
    *--start = '#';
    for (int digit = 0; digit < 6 || hundredths > 0; ++digit) {
        if (digit == 2)
            *--start = '.';
        *--start = char('0' + hundredths % 10);
        hundredths /= 10;
    }
    const qsizetype length = time + sizeof time - start;
    QString item;
    item.reserve(length + lyric.size() + 3);
    item += QLatin1String(start, length);
    item += lyric;
    item += u" ##";
    return item;
}

} // namespace

QList<LyricItem> parseLyricItems(const QString &text, bool *isCut)
{
    const qsizetype characterBudget = lyricItemCharacters(text.size());
    qsizetype characters = 0;
    bool isStopped = false;
    QList<LyricItem> items;
    std::optional<QString> title;
    QString artist;
    double offsetMilliseconds = 0;
    QVarLengthArray<qint64, 4> times;
    qint64 firstTagTime = 0;
    const QStringList lines = splitLines(text);
    for (auto line = lines.cbegin(); line != lines.cend() && !isStopped; ++line) {
        times.clear();
        QStringView rest(*line);
        while (rest.startsWith(u'[')) {
            const qsizetype close = rest.indexOf(u']');
            if (close < 0)
                break;
            const QStringView tag = rest.sliced(1, close - 1);
            rest = rest.sliced(close + 1);
            if (const std::optional<qint64> tagTime = tagHundredths(tag)) {
                const std::optional<qint64> time = lineHundredths(*tagTime, offsetMilliseconds);
                if (time && times.isEmpty())
                    firstTagTime = *tagTime;
                if (time)
                    times.append(*time);
            } else if (tag.startsWith(u"ti:")) {
                title = tag.sliced(3).toString();
            } else if (tag.startsWith(u"ar:")) {
                artist += tag.sliced(3);
            } else if (tag.startsWith(u"offset:")) {
                bool ok = false;
                const double value = tag.sliced(7).toDouble(&ok);
                if (ok && std::isfinite(value))
                    offsetMilliseconds = value;
            }
        }
        if (times.isEmpty())
            continue;
        MarkedText marked;
        if (rest.contains(u'<')) {
            marked = withoutWordTimes(rest);
            rest = marked.text;
        }
        for (qint64 time : times) {
            const qint64 itemTime = std::max<qint64>(time, 0);
            LyricItem item{timedItem(itemTime, rest),
                           wordStamps(marked.marks, time - firstTagTime, itemTime)};
            characters += item.text.size() + item.words.size() * StampCharacters;
            isStopped = items.size() >= MaxLyricItems || characters > characterBudget;
            if (isStopped)
                break;
            items.append(std::move(item));
        }
    }
    if (isCut)
        *isCut = isStopped;
    QString header = QStringLiteral("   0.00#");
    if (title)
        header += *title + QStringLiteral(" - ");
    items.append({header + artist, {}});
    return items;
}

QStringList parseLyricText(const QString &text, bool *isCut)
{
    QStringList texts;
    for (LyricItem &item : parseLyricItems(text, isCut))
        texts.append(std::move(item.text));
    return texts;
}

bool ParseLyricFile(const QString &path, LyricList &list)
{
    const ReadResult<QString> read = readTextFile(path, MaxLyricFileBytes);
    if (!read.isRead())
        return false;
    // A lyric file is only shown, never written back: a byte that did not decode is shown
    // as U+FFFD rather than kept.
    bool isCut = false;
    list.insertItems(parseLyricItems(displayText(read.value), &isCut));
    list.select(0);
    if (isCut) {
        qCWarning(lcLyrics).noquote()
            << QStringLiteral("lyric file \"%1\" cut short: it holds more timed lines than a "
                              "lyric file does; only the first ones are shown")
                   .arg(path);
    }
    return true;
}
