#include "core/desktoplyricstore.h"

#include <QLoggingCategory>

#include "persist/numberformat.h"

namespace {

Q_LOGGING_CATEGORY(lcDesktopLyrics, "zorvan.desktoplyrics")

const QString Marker = QStringLiteral("[ZORVANDESKTOPLYRICS]");

// The value of `key` in `values` converted by `parse` into `target`; `target` stays as it is
// when the key is missing or its value does not convert.
template <typename T, typename Parse>
void take(const QHash<QString, QString> &values, const char *key, T &target, Parse parse)
{
    const auto found = values.constFind(QLatin1String(key));
    if (found == values.cend())
        return;
    if (const auto parsed = parse(*found))
        target = *parsed;
}

// "#rrggbb".
std::optional<quint32> parseColour(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const uint value = trimmed.mid(1).toUInt(&ok, 16);
    return trimmed.size() == 7 && trimmed.startsWith(u'#') && ok ? std::optional(quint32(value))
                                                                 : std::nullopt;
}

QString colourText(quint32 colour)
{
    return QStringLiteral("#%1").arg(colour & 0xffffffU, 6, 16, QLatin1Char('0'));
}

std::optional<double> parsePointSize(const QString &text)
{
    const std::optional<double> size = parseNumber(text);
    return size && *size >= 1 && *size <= 1000 ? size : std::nullopt;
}

std::optional<QString> parseFamily(const QString &text)
{
    return text.trimmed().isEmpty() ? std::nullopt : std::optional(text.trimmed());
}

} // namespace

DesktopLyricStore::DesktopLyricStore(const QString &path, QObject *parent)
    : QObject(parent), m_writer(path, lcDesktopLyrics())
{}

void DesktopLyricStore::setSettings(const DesktopLyricSettings &settings)
{
    if (settings == m_settings)
        return;
    m_settings = settings;
    emit changed();
    m_writer.write([lines = format(settings)](const QString &path) {
        return writeKeyValueFile(path, Marker, lines);
    });
}

ReadStatus DesktopLyricStore::load()
{
    const ReadResult<QHash<QString, QString>> read = readKeyValueFile(path(), Marker);
    if (read.status == ReadStatus::Unreadable) {
        qCWarning(lcDesktopLyrics).noquote()
            << QStringLiteral("cannot read %1: %2").arg(path(), read.error);
        m_writer.keepFile();
        return read.status;
    }
    const DesktopLyricSettings loaded = applied(m_settings, read.value);
    if (loaded != m_settings) {
        m_settings = loaded;
        emit changed();
    }
    return read.status;
}

KeyValues DesktopLyricStore::format(const DesktopLyricSettings &settings)
{
    const QRect &place = settings.place;
    return {
        {QStringLiteral("shown"), formatTruthValue(settings.shown)},
        {QStringLiteral("locked"), formatTruthValue(settings.locked)},
        {QStringLiteral("left"), QString::number(place.x())},
        {QStringLiteral("top"), QString::number(place.y())},
        {QStringLiteral("width"), QString::number(place.width())},
        {QStringLiteral("height"), QString::number(place.height())},
        {QStringLiteral("font"), settings.fontFamily},
        {QStringLiteral("size"), formatDecimal(settings.pointSize)},
        {QStringLiteral("bold"), formatTruthValue(settings.bold)},
        {QStringLiteral("normal"), colourText(settings.normal)},
        {QStringLiteral("highlight"), colourText(settings.highlight)},
        {QStringLiteral("outline"), colourText(settings.outline)},
    };
}

DesktopLyricSettings DesktopLyricStore::applied(DesktopLyricSettings settings,
                                                const QHash<QString, QString> &values)
{
    take(values, "shown", settings.shown, parseTruthValue);
    take(values, "locked", settings.locked, parseTruthValue);
    // The place counts only as a whole: four whole numbers, the size not empty.
    const auto number = [&values](const char *key) {
        return parseWholeNumber(values.value(QLatin1String(key)));
    };
    const std::optional<qint32> left = number("left");
    const std::optional<qint32> top = number("top");
    const std::optional<qint32> width = number("width");
    const std::optional<qint32> height = number("height");
    if (left && top && width && height && *width > 0 && *height > 0)
        settings.place = QRect(*left, *top, *width, *height);
    take(values, "font", settings.fontFamily, parseFamily);
    take(values, "size", settings.pointSize, parsePointSize);
    take(values, "bold", settings.bold, parseTruthValue);
    take(values, "normal", settings.normal, parseColour);
    take(values, "highlight", settings.highlight, parseColour);
    take(values, "outline", settings.outline, parseColour);
    return settings;
}
