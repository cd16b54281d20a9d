#include "persist/textcodec.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include <QMutex>
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
bool isEscape(QStringView text, qsizetype index)
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

// The GB18030 bytes of `text` through the C library, as they stand in the file: an
// unpaired surrogate and the two dozen private-use characters the C library has no bytes
// for (GB18030-2005 gave them away) become one "?" each.
bool convertToGb18030(QStringView text, QByteArray &bytes)
{
    return convert("GB18030", "UTF-8", text.toUtf8(), bytes,
                   [](char *&out, const char *at) -> size_t {
                       *out++ = '?';
                       // The whole UTF-8 sequence of the character (toUtf8 gives valid UTF-8).
                       const auto lead = static_cast<uchar>(*at);
                       return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
                   });
}

// The GB18030 bytes of every UTF-16 unit that is a character of its own (all but the
// surrogates), taken from the C library in one conversion: a large list is tens of millions
// of characters, which iconv converts at tens of nanoseconds each and the table at one. The
// euro sign is the single byte 0x80, as in code page 936.
struct Gb18030Table
{
    // The bytes of each unit in their order, as many as `sizes` says.
    std::array<quint32, 0x10000> bytes{};
    std::array<quint8, 0x10000> sizes{};
};

QMutex tableMutex;
std::shared_ptr<const Gb18030Table> table;

// GB18030 tells its lengths by its bytes: below 0x80 one byte, a second byte from "0" to
// "9" four, otherwise two.
qsizetype gb18030Length(const char *at)
{
    if (static_cast<uchar>(at[0]) < 0x80)
        return 1;
    return at[1] >= '0' && at[1] <= '9' ? 4 : 2;
}

std::shared_ptr<const Gb18030Table> buildTable()
{
    QString units;
    units.reserve(0x10000);
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        if (!QChar::isSurrogate(unit))
            units.append(QChar(char16_t(unit)));
    }
    QByteArray bytes;
    if (!convertToGb18030(units, bytes))
        return nullptr;
    auto built = std::make_shared<Gb18030Table>();
    const char *at = bytes.constData();
    const char *const end = at + bytes.size();
    for (const QChar unit : std::as_const(units)) {
        const qsizetype length = gb18030Length(at);
        if (end - at < length)
            return nullptr;
        std::memcpy(&built->bytes[unit.unicode()], at, size_t(length));
        built->sizes[unit.unicode()] = quint8(length);
        at += length;
    }
    built->bytes[Euro] = static_cast<uchar>(EuroByte);
    built->sizes[Euro] = 1;
    return built;
}

// The table, built on first use; none when the conversion fails, and then every encoding
// fails, so that a system without the conversion shows on every write.
std::shared_ptr<const Gb18030Table> gb18030Table()
{
    const QMutexLocker locker(&tableMutex);
    if (!table)
        table = buildTable();
    return table;
}

// GB18030 bytes gathered straight into one array, for a text given in pieces (the lines of
// a file) without joining them first.
class Gb18030Writer
{
public:
    // `units`: about how many UTF-16 units will come.
    explicit Gb18030Writer(qsizetype units) : m_table(gb18030Table())
    {
        m_bytes.resize(2 * units + 16);
    }

    // Appends the bytes of `text`: each byte that decodeText kept undecoded as it was, the
    // rest from the table but for the surrogates, which the C library converts. False when
    // there is no conversion.
    bool append(QStringView text)
    {
        if (!m_table)
            return false;
        // No unit takes more than four bytes, nor does a surrogate pair more than two each.
        reserve(4 * text.size());
        char *out = m_bytes.data() + m_size;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t unit = text.at(i).unicode();
            if (!QChar::isSurrogate(unit)) {
                const quint32 bytes = m_table->bytes[unit];
                std::memcpy(out, &bytes, sizeof bytes);
                out += m_table->sizes[unit];
            } else if (isEscape(text, i)) {
                *out++ = char(unit - EscapeBase);
            } else {
                const bool isPair = QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                                    text.at(i + 1).isLowSurrogate();
                QByteArray bytes;
                if (!convertToGb18030(text.sliced(i, isPair ? 2 : 1), bytes))
                    return false;
                out = std::copy(bytes.cbegin(), bytes.cend(), out);
                i += isPair ? 1 : 0;
            }
        }
        m_size = out - m_bytes.constData();
        return true;
    }

    // What was appended; nothing when there is no conversion, even for no text.
    std::optional<QByteArray> take()
    {
        if (!m_table)
            return std::nullopt;
        m_bytes.truncate(m_size);
        return std::move(m_bytes);
    }

private:
    // Room for `count` more bytes, and the four that a table entry copies whole.
    void reserve(qsizetype count)
    {
        if (m_bytes.size() - m_size < count + 4)
            m_bytes.resize(std::max(2 * m_bytes.size(), m_size + count + 4));
    }

    std::shared_ptr<const Gb18030Table> m_table;
    QByteArray m_bytes;
    qsizetype m_size = 0;
};

// `bytes` led by the GB18030 byte order mark when they would otherwise pass for UTF-8 or
// begin with a byte order mark.
std::optional<QByteArray> withMarkIfNeeded(std::optional<QByteArray> bytes)
{
    if (!bytes)
        return std::nullopt;
    const bool passesForAnother =
        isUtf8WithMultiByte(*bytes) || std::ranges::any_of(Marks, [&bytes](const QByteArray &mark) {
            return bytes->startsWith(mark);
        });
    if (passesForAnother)
        bytes->prepend(Gb18030Mark);
    return bytes;
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
    Gb18030Writer writer(text.size());
    return writer.append(text) ? writer.take() : std::nullopt;
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
    return withMarkIfNeeded(encodeGb18030(text));
}

std::optional<QByteArray> encodeFileLines(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    Gb18030Writer writer(size);
    for (const QString &line : lines) {
        if (!writer.append(line) || !writer.append(u"\r\n"))
            return std::nullopt;
    }
    return withMarkIfNeeded(writer.take());
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
    const QMutexLocker locker(&tableMutex);
    const IconvFunctions replaced = iconvFunctions;
    iconvFunctions = functions;
    table.reset();
    return replaced;
}
