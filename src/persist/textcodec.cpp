#include "persist/textcodec.h"

#include <cerrno>

#include <QStringDecoder>

namespace {

constexpr char32_t Euro = 0x20AC;
const QByteArray Utf8Mark = "\xEF\xBB\xBF";
const QByteArray Utf16LittleEndianMark = "\xFF\xFE";
const QByteArray Utf16BigEndianMark = "\xFE\xFF";
const QByteArray Gb18030Mark = "\x84\x31\x95\x33";
// Code page 936 has the euro sign as the single byte 0x80; GB18030 names it otherwise.
constexpr char EuroByte = '\x80';

IconvFunctions iconvFunctions;

// Runs iconv over `input`. A sequence it cannot convert (invalid, or cut off at the end)
// is handed to `onInvalid`, which appends what stands for it and says how many input
// bytes it used up. Nothing when the conversion cannot be opened or fails otherwise.
template <typename OnInvalid>
std::optional<QByteArray> convert(const char *to, const char *from, const QByteArray &input,
                                  OnInvalid onInvalid)
{
    const IconvFunctions functions = iconvFunctions;
    iconv_t cd = functions.open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr): iconv says so
        return std::nullopt;
    QByteArray output;
    output.reserve(input.size() * 3 / 2 + 16);
    char buffer[16384];
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    bool failed = false;
    while (inLeft > 0) {
        char *out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = functions.convert(cd, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        output.append(buffer, out - buffer);
        if (result != size_t(-1) || error == E2BIG)
            continue;
        if (error != EILSEQ && error != EINVAL) {
            failed = true;
            break;
        }
        const size_t used = std::min(inLeft, onInvalid(output, in, inLeft));
        in += used;
        inLeft -= used;
        functions.convert(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    if (failed)
        return std::nullopt;
    return output;
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
    if (!multiByte)
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoder converts only when its result becomes a QString.
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

QString decodeUtf16(const QByteArray &bytes, QStringDecoder::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace

std::optional<QString> decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Mark))
        return QString::fromUtf8(bytes.mid(Utf8Mark.size()));
    if (bytes.startsWith(Utf16LittleEndianMark))
        return decodeUtf16(bytes.mid(Utf16LittleEndianMark.size()), QStringDecoder::Utf16LE);
    if (bytes.startsWith(Utf16BigEndianMark))
        return decodeUtf16(bytes.mid(Utf16BigEndianMark.size()), QStringDecoder::Utf16BE);
    const bool marked = bytes.startsWith(Gb18030Mark);
    if (!marked && isUtf8WithMultiByte(bytes))
        return QString::fromUtf8(bytes);
    const QByteArray gb18030 = marked ? bytes.mid(Gb18030Mark.size()) : bytes;
    const std::optional<QByteArray> utf8 =
        convert("UTF-8", "GB18030", gb18030, [](QByteArray &out, const char *at, size_t) -> size_t {
            out.append(*at == EuroByte ? "\xE2\x82\xAC" : "\xEF\xBF\xBD");
            return 1;
        });
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

std::optional<QByteArray> encodeGb18030(const QString &text)
{
    // Every Unicode character has a GB18030 form, so only the euro sign is handled apart.
    // Even an empty text is converted, so that a failing conversion shows on every write.
    QByteArray result;
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        const QByteArray utf8 = text.mid(start, end - start).toUtf8();
        const std::optional<QByteArray> bytes =
            convert("GB18030", "UTF-8", utf8, [](QByteArray &out, const char *, size_t) -> size_t {
                out.append('?'); // only reached for unpaired surrogates, which have no form
                return 1;
            });
        if (bytes)
            result.append(*bytes);
        return bytes.has_value();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() == Euro) {
            if (!flush(i))
                return std::nullopt;
            result.append(EuroByte);
            start = i + 1;
        }
    }
    if (!flush(text.size()))
        return std::nullopt;
    return result;
}

std::optional<QByteArray> encodeFileText(const QString &text)
{
    const std::optional<QByteArray> bytes = encodeGb18030(text);
    if (!bytes)
        return std::nullopt;
    return isUtf8WithMultiByte(*bytes) ? Gb18030Mark + *bytes : *bytes;
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
