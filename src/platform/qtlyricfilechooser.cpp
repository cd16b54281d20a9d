#include "platform/qtlyricfilechooser.h"

#include <QFileDialog>

QString QtLyricFileChooser::chooseLyricFile()
{
    return QFileDialog::getOpenFileName(m_parent, QString(), QString(),
                                        QStringLiteral("LRC文件 (*.lrc)"));
}
