#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The player's text files are GB18030 (a superset of code page 936: every character
// that code page has keeps its code page 936 bytes, and no character is lost).
// Files from elsewhere are often UTF-8, so decoding looks at the bytes first.

// Bytes with a UTF-8 byte order mark, or valid UTF-8 holding at least one multi-byte
// sequence, are UTF-8; bytes with the GB18030 mark, and anything else, are GB18030. The
// mark is dropped. Bytes that are not valid GB18030 become U+FFFD, one per byte, and
// decoding goes on after them.
QString decodeText(const QByteArray &bytes);

// The GB18030 bytes of `text`.
QByteArray encodeText(const QString &text);

// The bytes of a text file of ours: the GB18030 bytes of `text`, led by the GB18030 byte
// order mark only when they would otherwise pass for UTF-8 (a short Chinese text such as
// "图片" can), so that every file reads back as it was written.
QByteArray encodeFileText(const QString &text);

// Lines separated by LF or CR LF (the CR before an LF is dropped, and so is a CR at the
// very end; a CR elsewhere stays in its line). A line break at the very end does not
// start another line: "a\r\n" is one line.
QStringList splitLines(const QString &text);
