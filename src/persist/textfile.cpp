#include "persist/textfile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "persist/textcodec.h"

namespace {

FileRead unreadable(const QString &error)
{
    return {ReadStatus::Unreadable, QByteArray(), error};
}

FileRead fromErrno(int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return {};
    return unreadable(qt_error_string(error));
}

FileRead notRegular()
{
    return unreadable(QStringLiteral("not a regular file"));
}

FileRead tooLarge(qint64 maxBytes)
{
    const qint64 mebibyte = 1024 * 1024;
    return unreadable(maxBytes % mebibyte == 0
                          ? QStringLiteral("larger than %1 MiB").arg(maxBytes / mebibyte)
                          : QStringLiteral("larger than %1 bytes").arg(maxBytes));
}

// Closes the descriptor when it goes out of scope.
struct Descriptor
{
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

FileRead readFile(const QString &path, qint64 maxBytes)
{
    const QByteArray name = QFile::encodeName(path);
    // The type and size are looked at before the file is opened: opening a named pipe
    // waits for a writer, and opening a device may do something.
    struct stat status;
    if (::stat(name.constData(), &status) != 0)
        return fromErrno(errno);
    if (!S_ISREG(status.st_mode))
        return notRegular();
    if (status.st_size > maxBytes)
        return tooLarge(maxBytes);

    // Not blocking, and checked again once open, in case something else took the file's
    // place in between.
    Descriptor file{::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0)
        return fromErrno(errno);
    if (::fstat(file.fd, &status) != 0)
        return fromErrno(errno);
    if (!S_ISREG(status.st_mode))
        return notRegular();

    // One byte more than the size, so a file that grew shows; never more than the limit
    // and one byte.
    QByteArray bytes(std::min<qint64>(status.st_size, maxBytes) + 1, Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes)
                return tooLarge(maxBytes);
            bytes.resize(std::min<qint64>(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t count = ::read(file.fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return fromErrno(errno);
        if (count == 0)
            break;
        filled += count;
    }
    bytes.truncate(filled);
    return {ReadStatus::Read, std::move(bytes), QString()};
}

TextRead readTextFile(const QString &path, qint64 maxBytes)
{
    FileRead file = readFile(path, maxBytes);
    if (!file.isRead())
        return {file.status, QString(), file.error};
    std::optional<QString> text = decodeText(file.bytes);
    if (!text)
        return {ReadStatus::Unreadable, QString(),
                QStringLiteral("the text cannot be converted from GB18030")};
    return {ReadStatus::Read, std::move(*text), QString()};
}

WriteResult writeTextLines(const QString &path, const QStringList &lines)
{
    QString text;
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += u"\r\n";
    }
    const std::optional<QByteArray> bytes = encodeFileText(text);
    if (!bytes)
        return {false, QStringLiteral("the text cannot be converted to GB18030")};
    return writeFileBytes(path, *bytes);
}

WriteResult writeFileBytes(const QString &path, const QByteArray &bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return {false, QStringLiteral("cannot create the folder %1").arg(folder)};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    file.write(bytes);
    if (!file.commit())
        return {false, file.errorString()};
    return {};
}
