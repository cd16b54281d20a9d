#include "ui/droppedfiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

QStringList localFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

bool carriesFiles(const QMimeData *data)
{
    return !localFiles(data).isEmpty();
}

QStringList acceptDroppedFiles(QDropEvent &event)
{
    QStringList paths = localFiles(event.mimeData());
    if (!paths.isEmpty())
        event.acceptProposedAction();
    return paths;
}
