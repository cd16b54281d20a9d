#include "persist/textfile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "persist/textcodec.h"

namespace {

ReadResult<QByteArray> unreadable(const QString &error)
{
    return {ReadStatus::Unreadable, QByteArray(), error};
}

ReadResult<QByteArray> fromErrno(int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return {};
    return unreadable(qt_error_string(error));
}

ReadResult<QByteArray> notRegular()
{
    return unreadable(QStringLiteral("not a regular file"));
}

ReadResult<QByteArray> tooLarge(qint64 maxBytes)
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

// The file that stands in for the one being written until it takes its place; removed when
// it does not.
struct TemporaryFile
{
    QByteArray name;
    bool isCreated = false;
    ~TemporaryFile()
    {
        if (isCreated)
            ::unlink(name.constData());
    }
};

WriteResult writeFailure(int error)
{
    return {false, qt_error_string(error)};
}

// Opens the regular file at `path` for reading into `file`, refusing what readFile refuses
// before it reads; Read when it is open, `status` then telling its size.
ReadResult<QByteArray> openRegular(const QString &path, qint64 maxBytes, Descriptor &file,
                                   struct stat &status)
{
    const QByteArray name = QFile::encodeName(path);
    // The type and size are looked at before the file is opened: opening a named pipe
    // waits for a writer, and opening a device may do something.
    if (::stat(name.constData(), &status) != 0)
        return fromErrno(errno);
    if (!S_ISREG(status.st_mode))
        return notRegular();
    if (status.st_size > maxBytes)
        return tooLarge(maxBytes);

    // Not blocking, and checked again once open, in case something else took the file's
    // place in between.
    file.fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file.fd < 0)
        return fromErrno(errno);
    if (::fstat(file.fd, &status) != 0)
        return fromErrno(errno);
    if (!S_ISREG(status.st_mode))
        return notRegular();
    return {ReadStatus::Read, {}, {}};
}

// Reads from `fd` into `bytes` from `filled` on until they are full or the file ends; the
// number of bytes filled then, or -1 with errno set.
qint64 fill(int fd, QByteArray &bytes, qint64 filled)
{
    while (filled < bytes.size()) {
        const ssize_t count = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return -1;
        if (count == 0)
            break;
        filled += count;
    }
    return filled;
}

} // namespace

ReadResult<QByteArray> readFile(const QString &path, qint64 maxBytes)
{
    Descriptor file;
    struct stat status;
    ReadResult<QByteArray> opened = openRegular(path, maxBytes, file, status);
    if (!opened.isRead())
        return opened;

    // One byte more than the size, so a file that grew shows; never more than the limit
    // and one byte.
    QByteArray bytes(std::min<qint64>(status.st_size, maxBytes) + 1, Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        filled = fill(file.fd, bytes, filled);
        if (filled < 0)
            return fromErrno(errno);
        if (filled < bytes.size())
            break;
        if (filled > maxBytes)
            return tooLarge(maxBytes);
        bytes.resize(std::min<qint64>(bytes.size() * 2, maxBytes + 1));
    }
    bytes.truncate(filled);
    return {ReadStatus::Read, std::move(bytes), QString()};
}

ReadResult<QByteArray> readFileHead(const QString &path, qint64 maxBytes, qint64 count)
{
    Descriptor file;
    struct stat status;
    ReadResult<QByteArray> opened = openRegular(path, maxBytes, file, status);
    if (!opened.isRead())
        return opened;
    QByteArray bytes(std::min<qint64>(status.st_size, count), Qt::Uninitialized);
    const qint64 filled = fill(file.fd, bytes, 0);
    if (filled < 0)
        return fromErrno(errno);
    bytes.truncate(filled);
    return {ReadStatus::Read, std::move(bytes), QString()};
}

ReadResult<QString> decodeRead(const ReadResult<QByteArray> &file)
{
    if (!file.isRead())
        return {file.status, QString(), file.error};
    std::optional<QString> text = decodeText(file.value);
    if (!text)
        return {ReadStatus::Unreadable, QString(),
                QStringLiteral("the text cannot be converted from GB18030")};
    return {ReadStatus::Read, std::move(*text), QString()};
}

ReadResult<QString> readTextFile(const QString &path, qint64 maxBytes)
{
    return decodeRead(readFile(path, maxBytes));
}

WriteResult writeTextLines(const QString &path, const QStringList &lines)
{
    const std::optional<QByteArray> bytes = encodeFileLines(lines);
    if (!bytes)
        return {false, QStringLiteral("the text cannot be converted to GB18030")};
    return writeFileBytes(path, *bytes);
}

WriteResult writeFileBytes(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder))
        return {false, QStringLiteral("cannot create the folder %1").arg(folder)};
    // A link is followed, so that a linked file (a dotfile kept elsewhere) stays linked.
    const QByteArray target =
        QFile::encodeName(info.exists() ? info.canonicalFilePath() : info.absoluteFilePath());
    struct stat original;
    const bool replaces = ::stat(target.constData(), &original) == 0;
    TemporaryFile temporary;
    temporary.name =
        target + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".new";
    Descriptor file{
        ::open(temporary.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)};
    if (file.fd < 0)
        return writeFailure(errno);
    temporary.isCreated = true;
    if (replaces && ::fchmod(file.fd, original.st_mode & 07777) != 0)
        return writeFailure(errno);
    const char *data = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t count = ::write(file.fd, data, left);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return writeFailure(errno);
        data += count;
        left -= size_t(count);
    }
    if (::fsync(file.fd) != 0 || ::close(std::exchange(file.fd, -1)) != 0)
        return writeFailure(errno);
    if (::rename(temporary.name.constData(), target.constData()) != 0)
        return writeFailure(errno);
    temporary.isCreated = false;
    // The rename itself is made lasting too; the file is whole whether or not this works.
    const QByteArray targetFolder = target.left(target.lastIndexOf('/') + 1);
    const Descriptor parent{::open(targetFolder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (parent.fd >= 0)
        ::fsync(parent.fd);
    return {};
}
