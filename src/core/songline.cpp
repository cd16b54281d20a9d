#include "core/songline.h"

#include <QFileInfo>
#include <QUrl>

#include "persist/playlistfile.h"
#include "persist/textcodec.h"

QString songLine(const QString &author, const QString &title, const QString &path)
{
    if (!author.isEmpty() || !title.isEmpty())
        return author + QStringLiteral(" - ") + title;
    // A stream address names its file by the last part of its path, if it has one.
    const QString file = isStreamAddress(path) ? QUrl(path).path() : path;
    const QFileInfo info(file);
    // A name that is all extension (".hidden") is kept whole.
    const QString name = info.completeBaseName();
    return displayText(name.isEmpty() ? info.fileName() : name);
}
