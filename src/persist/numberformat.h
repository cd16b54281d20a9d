#pragma once

#include <optional>

#include <QString>

// The text forms of numbers in the settings file. Writing uses "." as the decimal point
// and no thousands separators; reading accepts any decimal text that converts as a
// number (surrounding white space, a sign and an exponent included) and makes it whole
// by rounding halves to the even neighbour (10.5 gives 10, 11.5 gives 12).

// `value` with at most 7 significant digits, never in exponent form and without trailing
// zeros: 1440, -120, 10.5, 26.25. A value that is not finite is written as "0", so the
// file stays readable.
QString formatDecimal(double value);

// "-1" for true, "0" for false.
QString formatTruthValue(bool value);

// The finite number the text holds, or nothing ("inf" and "nan" are not numbers here).
std::optional<double> parseNumber(const QString &text);

// The number rounded halves-to-even, or nothing when it is not a number or does not fit
// 32 bits signed.
std::optional<qint32> parseWholeNumber(const QString &text);

// A number is false when it is 0 and true otherwise; the words True and False are
// accepted in any letter case.
std::optional<bool> parseTruthValue(const QString &text);
