#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The player's text files are GB18030 (a superset of code page 936: every character
// that code page has keeps its code page 936 bytes, and no character is lost).
// Files from elsewhere are often UTF-8, so decoding looks at the bytes first.

// Bytes with a UTF-8 byte order mark, or valid UTF-8 holding at least one multi-byte
// sequence, are UTF-8 (the mark is dropped); anything else is GB18030. Bytes that are
// not valid GB18030 become U+FFFD, one per byte, and decoding goes on after them.
QString decodeText(const QByteArray &bytes);

// The GB18030 bytes of `text`.
QByteArray encodeText(const QString &text);

// Lines separated by LF or CR LF (the CR before an LF is dropped; a lone CR stays in its
// line). A line break at the very end does not start another line: "a\r\n" is one line.
QStringList splitLines(const QString &text);
