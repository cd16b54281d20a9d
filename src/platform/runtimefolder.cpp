#include "platform/runtimefolder.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Why `path` is not a folder private to the user, or empty when it is. lstat, so that a
// symbolic link another user planted is never followed.
QString whyNotPrivate(const QString &path)
{
    if (!QDir::isAbsolutePath(path))
        return QStringLiteral("%1 is not an absolute path").arg(path);
    struct stat status = {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("cannot examine %1: %2").arg(path, systemError());
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("%1 is a symbolic link").arg(path);
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("%1 is not a folder").arg(path);
    if (status.st_uid != ::geteuid())
        return QStringLiteral("%1 belongs to the user %2").arg(path).arg(status.st_uid);
    if ((status.st_mode & 0777) != 0700)
        return QStringLiteral("%1 has the permissions %2, not 700")
            .arg(path)
            .arg(status.st_mode & 0777, 3, 8, QChar(u'0'));
    return {};
}

} // namespace

RuntimeFolder privateRuntimeFolder(const QString &sessionFolder, const QString &temporaryFolder)
{
    QString passedOver;
    if (!sessionFolder.isEmpty()) {
        passedOver = whyNotPrivate(sessionFolder);
        if (passedOver.isEmpty())
            return {sessionFolder, {}};
        passedOver = QStringLiteral("the runtime folder is not private (%1); ").arg(passedOver);
    }
    const QString fallback =
        QDir(temporaryFolder).filePath(QStringLiteral("zorvan-%1").arg(::geteuid()));
    if (QDir::isAbsolutePath(fallback) &&
        ::mkdir(QFile::encodeName(fallback).constData(), 0700) != 0 && errno != EEXIST)
        return {{}, passedOver + QStringLiteral("cannot make %1: %2").arg(fallback, systemError())};
    if (const QString problem = whyNotPrivate(fallback); !problem.isEmpty())
        return {{}, passedOver + problem};
    if (passedOver.isEmpty())
        return {fallback, {}};
    return {fallback, passedOver + QStringLiteral("using %1").arg(fallback)};
}
