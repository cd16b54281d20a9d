#include "lyrics/lyricparser.h"

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

// A time tag's place on the list in hundredths: its time less the offset, rounded
// (halves to even), before 0 taken as 0; nothing when it is no time or past the latest.
std::optional<qint64> lineHundredths(QStringView tag, double offsetMilliseconds)
{
    const std::optional<qint64> tagTime = tagHundredths(tag);
    if (!tagTime)
        return std::nullopt;
    const double time = std::nearbyint(double(*tagTime) - offsetMilliseconds / 10);
    if (time > double(MaxHundredths))
        return std::nullopt;
    return time < 0 ? 0 : qint64(time);
}

// The text without its word-timing marks; other text in angle brackets stays.
QString withoutWordTimes(QStringView text)
{
    QString result;
    qsizetype copied = 0;
    qsizetype close = -1;
    for (qsizetype open = text.indexOf(u'<'); open >= 0; open = text.indexOf(u'<', open + 1)) {
        // One search for the closing mark serves every "<" before it, so a line full of
        // "<" costs one pass.
        if (close < open)
            close = text.indexOf(u'>', open);
        if (close < 0)
            break;
        if (!tagHundredths(text.sliced(open + 1, close - open - 1)))
            continue;
        result += text.sliced(copied, open - copied);
        copied = close + 1;
        open = close;
    }
    result += text.sliced(copied);
    return result;
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

QStringList parseLyricText(const QString &text, bool *isCut)
{
    const qsizetype characterBudget = lyricItemCharacters(text.size());
    qsizetype characters = 0;
    bool isStopped = false;
    QStringList items;
    std::optional<QString> title;
    QString artist;
    double offsetMilliseconds = 0;
    QVarLengthArray<qint64, 4> times;
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
            if (const std::optional<qint64> time = lineHundredths(tag, offsetMilliseconds)) {
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
        QString withoutMarks;
        if (rest.contains(u'<')) {
            withoutMarks = withoutWordTimes(rest);
            rest = withoutMarks;
        }
        for (qint64 time : times) {
            QString item = timedItem(time, rest);
            characters += item.size();
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
    items.append(header + artist);
    return items;
}

bool ParseLyricFile(const QString &path, LyricList &list)
{
    const ReadResult<QString> read = readTextFile(path, MaxLyricFileBytes);
    if (!read.isRead())
        return false;
    // A lyric file is only shown, never written back: a byte that did not decode is shown
    // as U+FFFD rather than kept.
    bool isCut = false;
    list.insert(parseLyricText(displayText(read.value), &isCut));
    list.select(0);
    if (isCut) {
        qCWarning(lcLyrics).noquote()
            << QStringLiteral("lyric file \"%1\" cut short: it holds more timed lines than a "
                              "lyric file does; only the first ones are shown")
                   .arg(path);
    }
    return true;
}
