#pragma once

#include <QStringList>

class QMimeData;

// The local files a drag carries (a file manager's "text/uri-list"), in its order; addresses
// that are not local files are left out.
QStringList droppedFiles(const QMimeData &data);
