#include "persist/textcodec.h"

#include <algorithm>
#include <cerrno>

#include <QStringDecoder>
#include <QtEndian>

namespace {

constexpr char32_t Euro = 0x20AC;
const QByteArray Utf8Mark = "\xEF\xBB\xBF";
const QByteArray Utf16LittleEndianMark = "\xFF\xFE";
const QByteArray Utf16BigEndianMark = "\xFE\xFF";
const QByteArray Gb18030Mark = "\x84\x31\x95\x33";
const QByteArray Marks[] = {Utf8Mark, Utf16LittleEndianMark, Utf16BigEndianMark, Gb18030Mark};
// Code page 936 has the euro sign as the single byte 0x80; GB18030 names it otherwise.
constexpr char EuroByte = '\x80';
// A byte that does not decode stands in the text as the lone low surrogate EscapeBase + the
// byte, which no decoded text holds, and is written back as that byte.
constexpr char16_t EscapeBase = 0xDC00;

IconvFunctions iconvFunctions;

// Runs iconv over `input` into `output` (a QByteArray, or a QString for UTF-16 in the host's
// order), which it sizes to what was written: straight into the result, since a large list
// is tens of megabytes and each copy of it costs. A sequence iconv cannot convert (invalid,
// or cut off at the end) is handed to `onInvalid`, which writes what stands for it (at most
// two bytes) at `out`, moves `out` past it and says how many input bytes it used up. False
// when the conversion cannot be opened or fails otherwise.
template <typename Text, typename OnInvalid>
bool convert(const char *to, const char *from, const QByteArray &input, Text &output,
             OnInvalid onInvalid)
{
    constexpr qsizetype unit = sizeof(*output.data());
    const IconvFunctions functions = iconvFunctions;
    iconv_t cd = functions.open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr): iconv says so
        return false;
    // Twice the input is room enough for the conversions made here; more comes if not.
    output.resize(2 * input.size() / unit + 16);
    qsizetype written = 0;
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    bool failed = false;
    while (inLeft > 0) {
        char *const begin = reinterpret_cast<char *>(output.data());
        char *out = begin + written;
        size_t outLeft = size_t(output.size() * unit - written);
        const size_t result = functions.convert(cd, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        written = out - begin;
        if (result != size_t(-1))
            continue;
        if (error != E2BIG && error != EILSEQ && error != EINVAL) {
            failed = true;
            break;
        }
        if (error == E2BIG || outLeft < 2) {
            output.resize(output.size() * 2);
            continue;
        }
        const size_t used = std::min(inLeft, onInvalid(out, in));
        written = out - begin;
        in += used;
        inLeft -= used;
        functions.convert(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    output.resize(written / unit);
    return !failed;
}

bool isUtf8WithMultiByte(const QByteArray &bytes)
{
    bool multiByte = false;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            multiByte = true;
            break;
        }
    }
    return multiByte && bytes.isValidUtf8();
}

// Qt's UTF-16 decoder lets unpaired surrogates through; they become U+FFFD here, so that
// none of them passes for a byte that did not decode.
QString decodeUtf16(const QByteArray &bytes, QStringDecoder::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (unit.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

// The text of `bytes` in the encoding `from`, every byte that does not decode escaped; the
// euro sign stands for the single byte 0x80, as in code page 936.
std::optional<QString> decodeEscaping(const char *from, const QByteArray &bytes)
{
    QString text;
    const bool converted =
        convert("UTF-16LE", from, bytes, text, [](char *&out, const char *at) -> size_t {
            const char16_t unit =
                *at == EuroByte ? char16_t(Euro) : char16_t(EscapeBase + static_cast<uchar>(*at));
            qToLittleEndian(unit, out);
            out += sizeof unit;
            return 1;
        });
    if (!converted)
        return std::nullopt;
    qFromLittleEndian<char16_t>(text.constData(), text.size(), text.data());
    return text;
}

// Whether the unit at `index` stands for a byte that did not decode.
bool isEscape(const QString &text, qsizetype index)
{
    const char16_t unit = text.at(index).unicode();
    return unit >= EscapeBase && unit <= EscapeBase + 0xFF &&
           (index == 0 || !text.at(index - 1).isHighSurrogate());
}

// Whether `unit` belongs to the Chinese, Japanese or Korean scripts or their punctuation
// and full-width forms; the high surrogates D840 to D8BF lead the rarer ideographs beyond
// the first plane (U+20000 to U+3FFFF).
bool isCjk(char16_t unit)
{
    return (unit >= 0x2E80 && unit <= 0x9FFF) || (unit >= 0xAC00 && unit <= 0xD7AF) ||
           (unit >= 0xD840 && unit <= 0xD8BF) || (unit >= 0xF900 && unit <= 0xFAFF) ||
           (unit >= 0xFE30 && unit <= 0xFE4F) || (unit >= 0xFF00 && unit <= 0xFFEF);
}

// Whether Latin-1 text would hardly hold these bytes: a C1 control, or two bytes above
// ASCII in a row.
bool isUnlikelyLatin1(const QByteArray &bytes)
{
    bool previousHigh = false;
    for (const char c : bytes) {
        const auto byte = static_cast<uchar>(c);
        const bool high = byte >= 0x80;
        if ((byte >= 0x80 && byte <= 0x9F) || (high && previousHigh))
            return true;
        previousHigh = high;
    }
    return false;
}

} // namespace

QString legacyTagText(const QString &text)
{
    bool hasHigh = false;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return text;
        hasHigh = hasHigh || c.unicode() >= 0x80;
    }
    if (!hasHigh)
        return text;
    const QByteArray bytes = text.toLatin1();
    if (!isUnlikelyLatin1(bytes))
        return text;
    std::optional<QString> decoded = decodeEscaping("GB18030", bytes);
    if (!decoded)
        return text;
    // A lead byte alone at the end is the half of a character that a fixed-length field cut.
    if (!decoded->isEmpty() && isEscape(*decoded, decoded->size() - 1) &&
        static_cast<uchar>(bytes.back()) >= 0x81)
        decoded->chop(1);
    bool hasCjk = false;
    for (qsizetype i = 0; i < decoded->size(); ++i) {
        if (isEscape(*decoded, i))
            return text;
        hasCjk = hasCjk || isCjk(decoded->at(i).unicode());
    }
    return hasCjk ? *decoded : text;
}

std::optional<QString> decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Mark)) {
        const QByteArray utf8 = bytes.mid(Utf8Mark.size());
        return utf8.isValidUtf8() ? QString::fromUtf8(utf8) : decodeEscaping("UTF-8", utf8);
    }
    if (bytes.startsWith(Utf16LittleEndianMark))
        return decodeUtf16(bytes.mid(Utf16LittleEndianMark.size()), QStringDecoder::Utf16LE);
    if (bytes.startsWith(Utf16BigEndianMark))
        return decodeUtf16(bytes.mid(Utf16BigEndianMark.size()), QStringDecoder::Utf16BE);
    const bool marked = bytes.startsWith(Gb18030Mark);
    if (!marked && isUtf8WithMultiByte(bytes))
        return QString::fromUtf8(bytes);
    return decodeEscaping("GB18030", marked ? bytes.mid(Gb18030Mark.size()) : bytes);
}

bool decodesAsPartOfWhole(const QByteArray &head)
{
    if (head.startsWith(Utf16LittleEndianMark) || head.startsWith(Utf16BigEndianMark))
        return false;
    return head.startsWith(Utf8Mark) || head.startsWith(Gb18030Mark) || !isUtf8WithMultiByte(head);
}

std::optional<QByteArray> encodeGb18030(const QString &text)
{
    // Every Unicode character has a GB18030 form, so only the euro sign and the bytes that
    // did not decode are handled apart. An unpaired surrogate has no form, and the C library
    // has none for two dozen private-use characters that GB18030-2005 gave away: each becomes
    // one "?". Even an empty text is converted, so that a failing conversion shows on every
    // write.
    QByteArray result;
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        const QByteArray utf8 = QStringView(text).sliced(start, end - start).toUtf8();
        QByteArray bytes;
        const bool converted =
            convert("GB18030", "UTF-8", utf8, bytes, [](char *&out, const char *at) -> size_t {
                *out++ = '?';
                // The whole UTF-8 sequence of the character (toUtf8 gives valid UTF-8).
                const auto lead = static_cast<uchar>(*at);
                return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            });
        result.append(bytes);
        return converted;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool escape = isEscape(text, i);
        if (text.at(i).unicode() != Euro && !escape)
            continue;
        if (!flush(i))
            return std::nullopt;
        result.append(escape ? char(text.at(i).unicode() - EscapeBase) : EuroByte);
        start = i + 1;
    }
    if (!flush(text.size()))
        return std::nullopt;
    return result;
}

QString displayText(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isEscape(text, i))
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

std::optional<QByteArray> encodeFileText(const QString &text)
{
    const std::optional<QByteArray> bytes = encodeGb18030(text);
    if (!bytes)
        return std::nullopt;
    const bool passesForAnother =
        isUtf8WithMultiByte(*bytes) || std::ranges::any_of(Marks, [&bytes](const QByteArray &mark) {
            return bytes->startsWith(mark);
        });
    return passesForAnother ? Gb18030Mark + *bytes : *bytes;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    const auto *const begin = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = begin + text.size();
    const char16_t *start = begin;
    for (const char16_t *at = begin; at != end; ++at) {
        if (*at != u'\n' && *at != u'\r')
            continue;
        lines.append(QString(reinterpret_cast<const QChar *>(start), at - start));
        if (*at == u'\r' && at + 1 != end && at[1] == u'\n')
            ++at;
        start = at + 1;
    }
    if (start != end)
        lines.append(QString(reinterpret_cast<const QChar *>(start), end - start));
    return lines;
}

IconvFunctions setIconvFunctions(IconvFunctions functions)
{
    const IconvFunctions replaced = iconvFunctions;
    iconvFunctions = functions;
    return replaced;
}
