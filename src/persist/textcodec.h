#pragma once

#include <optional>

#include <iconv.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

// The player's text files are GB18030 (a superset of code page 936: every character
// that code page has keeps its code page 936 bytes, and no character is lost).
// Files from elsewhere are often UTF-8 or, from Windows editors, UTF-16, so decoding
// looks at the bytes first.
//
// GB18030 goes through iconv. A conversion that cannot be set up (a system without the
// GB18030 module) or that fails is an error, never empty text: a reader that got empty
// text would empty the player's lists, and a writer that wrote nothing would wipe the
// saved playlist and settings.

// Bytes with a UTF-8 byte order mark, or valid UTF-8 holding at least one multi-byte
// sequence, are UTF-8; bytes with a UTF-16 mark (FF FE little-endian, FE FF big-endian)
// are UTF-16; bytes with the GB18030 mark, and anything else, are GB18030. The mark is
// dropped. In GB18030 and marked UTF-8, a byte that does not decode (a Latin-1 "é" in a
// file name, a sequence cut off at the end) is kept as the lone low surrogate U+DC00 + the
// byte, which decoded text never holds, and decoding goes on after it; only the byte 0x80
// is the euro sign, as in code page 936. encodeGb18030 writes such a surrogate back as its
// byte, so a file of ours reads and writes back byte for byte whatever it holds; the text is
// not for display as it is (see displayText). UTF-16 that is not valid becomes U+FFFD.
// Nothing when the conversion cannot be set up or fails.
std::optional<QString> decodeText(const QByteArray &bytes);

// Whether decodeText gives for `head`, the first lines of a longer text cut after a line feed,
// what it gives for those lines within the whole text, whatever follows. Not for UTF-16 (a
// line feed byte is half a character there), nor for unmarked bytes that pass for UTF-8 with
// a multi-byte sequence (a later byte may show the whole to be GB18030).
bool decodesAsPartOfWhole(const QByteArray &head);

// The GB18030 bytes of `text`, each byte that decodeText kept undecoded back as it was and
// the euro sign as the byte 0x80; an unpaired surrogate, and each of the two dozen
// private-use characters the C library has no bytes for, as one "?". Nothing when the
// conversion cannot be set up or fails, even for no text.
std::optional<QByteArray> encodeGb18030(const QString &text);

// `text` as it is shown: each byte that decodeText kept undecoded is U+FFFD.
QString displayText(QString text);

// The bytes of a text file of ours: the GB18030 bytes of `text`, led by the GB18030 byte
// order mark only when they would otherwise pass for UTF-8 (a short Chinese text such as
// "图片" can) or begin with a byte order mark (a text that begins with U+FEFF, or with
// bytes that did not decode), so that every file reads back as it was written. Nothing
// when the conversion fails.
std::optional<QByteArray> encodeFileText(const QString &text);
// encodeFileText of the lines, each followed by CR LF, without joining them first.
std::optional<QByteArray> encodeFileLines(const QStringList &lines);

// A tag text that GStreamer read from a legacy 8-bit field (ID3v1, the ISO-8859-1 frames of
// ID3v2, RIFF INFO) as ISO-8859-1, one character per byte, read again for what its bytes
// are: GB18030 when they decode as GB18030 whole (but for a lead byte cut off at the end of
// a fixed-length field) into text holding Chinese, Japanese or Korean characters, and when
// as Latin-1 they would be unlikely (a C1 control character, or two non-ASCII characters in
// a row, as every Chinese character's two bytes are); otherwise the text as it came. The
// second test keeps "Björk", whose "ör" is also a valid GB18030 character. Text holding a
// character above U+00FF was not read that way and comes back as it is.
QString legacyTagText(const QString &text);

// Lines separated by CR LF, a lone LF or a lone CR. A line break at the very end does not
// start another line: "a\r\n" and "a\r" are one line each.
QStringList splitLines(const QString &text);

// The iconv entry points the codec calls: the C library's in the program. Tests put in
// ones that fail, as on a system without the GB18030 conversion.
struct IconvFunctions
{
    iconv_t (*open)(const char *toCode, const char *fromCode) = iconv_open;
    size_t (*convert)(iconv_t, char **, size_t *, char **, size_t *) = iconv;
};

// Makes every later conversion use `functions` and gives back the ones it replaces. Not
// to be called while a conversion runs on another thread.
IconvFunctions setIconvFunctions(IconvFunctions functions);
