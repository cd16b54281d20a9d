#include "dialogs/qtlyricfilechooser.h"

#include <QApplication>
#include <QFileDialog>

QString QtLyricFileChooser::chooseLyricFile()
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), QString(),
                                        QStringLiteral("LRC文件 (*.lrc)"));
}
