#include "persist/numberformat.h"

#include <cmath>
#include <limits>

#include <QLocale>

QString formatDecimal(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    // Rounding to 7 significant digits first, then printing the shortest fixed form of
    // the result, avoids both the exponent form and binary noise such as 0.30000000000000004.
    const double rounded = QString::number(value, 'g', 7).toDouble();
    if (rounded == 0)
        return QStringLiteral("0"); // not "-0"
    return QString::number(rounded, 'f', QLocale::FloatingPointShortest);
}

QString formatTruthValue(bool value)
{
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

std::optional<double> parseNumber(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint32> parseWholeNumber(const QString &text)
{
    const std::optional<double> value = parseNumber(text);
    if (!value)
        return std::nullopt;
    const double whole = std::nearbyint(*value);
    if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(whole);
}

std::optional<bool> parseTruthValue(const QString &text)
{
    const QString word = text.trimmed();
    if (word.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> value = parseNumber(text);
    if (!value)
        return std::nullopt;
    return *value != 0;
}
