#pragma once

#include <QStringList>

class QDropEvent;
class QMimeData;

// The local files a drag carries (a file manager's "text/uri-list") are what a drop on the
// window or the playlist adds; addresses that are not local files are left out.

// Whether `data` (which may be null) carries at least one local file.
bool carriesFiles(const QMimeData *data);
// The local files dropped, in the drop's order. A drop that carries any is accepted.
QStringList acceptDroppedFiles(QDropEvent &event);
