#include "persist/textcodec.h"

#include <cerrno>
#include <iconv.h>

#include <QStringDecoder>

namespace {

constexpr char32_t Euro = 0x20AC;
const QByteArray Utf8Mark = "\xEF\xBB\xBF";
const QByteArray Gb18030Mark = "\x84\x31\x95\x33";
// Code page 936 has the euro sign as the single byte 0x80; GB18030 names it otherwise.
constexpr char EuroByte = '\x80';

// Runs iconv over `input`. A sequence it cannot convert is handed to `onInvalid`, which
// appends what stands for it and says how many input bytes it used up.
template <typename OnInvalid>
QByteArray convert(const char *to, const char *from, const QByteArray &input, OnInvalid onInvalid)
{
    QByteArray output;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return output;
    output.reserve(input.size() * 3 / 2 + 16);
    char buffer[16384];
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    while (inLeft > 0) {
        char *out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, out - buffer);
        if (result == size_t(-1) && errno != E2BIG) {
            const size_t used = std::min(inLeft, onInvalid(output, in, inLeft));
            in += used;
            inLeft -= used;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
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

} // namespace

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Mark))
        return QString::fromUtf8(bytes.mid(Utf8Mark.size()));
    const bool marked = bytes.startsWith(Gb18030Mark);
    if (!marked && isUtf8WithMultiByte(bytes))
        return QString::fromUtf8(bytes);
    const QByteArray gb18030 = marked ? bytes.mid(Gb18030Mark.size()) : bytes;
    const QByteArray utf8 =
        convert("UTF-8", "GB18030", gb18030, [](QByteArray &out, const char *at, size_t) -> size_t {
            out.append(*at == EuroByte ? "\xE2\x82\xAC" : "\xEF\xBF\xBD");
            return 1;
        });
    return QString::fromUtf8(utf8);
}

QByteArray encodeText(const QString &text)
{
    // Every Unicode character has a GB18030 form, so only the euro sign is handled apart.
    QByteArray result;
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        const QByteArray utf8 = text.mid(start, end - start).toUtf8();
        result.append(
            convert("GB18030", "UTF-8", utf8, [](QByteArray &out, const char *, size_t) -> size_t {
                out.append('?'); // only reached for unpaired surrogates, which have no form
                return 1;
            }));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() == Euro) {
            flush(i);
            result.append(EuroByte);
            start = i + 1;
        }
    }
    flush(text.size());
    return result;
}

QByteArray encodeFileText(const QString &text)
{
    const QByteArray bytes = encodeText(text);
    return isUtf8WithMultiByte(bytes) ? Gb18030Mark + bytes : bytes;
}

QStringList splitLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}
