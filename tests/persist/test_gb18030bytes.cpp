#include <iconv.h>

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include "persist/textcodec.h"

namespace {

// The C library's GB18030 bytes of one character given as UTF-8; "?" when it has none.
QByteArray libraryBytes(iconv_t cd, const QByteArray &utf8)
{
    char out[8];
    char *in = const_cast<char *>(utf8.constData());
    char *at = out;
    size_t inLeft = size_t(utf8.size()), outLeft = sizeof out;
    const bool converted = iconv(cd, &in, &inLeft, &at, &outLeft) != size_t(-1);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return converted ? QByteArray(out, at - out) : QByteArray("?");
}

// Every character of the first plane, in one text, gets the bytes the C library gives it
// alone (the euro sign the byte of code page 936), and so do one beyond it and a byte that
// did not decode standing among them.
TEST(Gb18030Bytes, EveryCharacterIsWrittenAsTheCLibraryWritesIt)
{
    const iconv_t cd = iconv_open("GB18030", "UTF-8");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)); // NOLINT(performance-no-int-to-ptr)
    QString text;
    QByteArray expected;
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        if (QChar::isSurrogate(unit))
            continue;
        const QString character = QChar(char16_t(unit));
        text += character;
        expected += unit == 0x20AC ? QByteArray("\x80") : libraryBytes(cd, character.toUtf8());
    }
    const QString beyond = QStringLiteral("😀");
    text += beyond + QChar(0xDCE9);
    expected += libraryBytes(cd, beyond.toUtf8()) + "\xE9";
    iconv_close(cd);
    EXPECT_EQ(encodeGb18030(text).value_or("failed"), expected);
}

// The lines of a file are its text with CR LF after each, mark and all.
TEST(Gb18030Bytes, LinesAreWrittenAsTheirText)
{
    const QStringList lines[] = {{}, {QString()}, {QStringLiteral("图片"), QStringLiteral("/a")}};
    for (const QStringList &each : lines) {
        const QString text =
            each.isEmpty() ? QString() : each.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        EXPECT_EQ(encodeFileLines(each), encodeFileText(text)) << text.toStdString();
    }
}

} // namespace
