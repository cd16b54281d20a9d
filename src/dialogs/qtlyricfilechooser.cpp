#include "dialogs/qtlyricfilechooser.h"

#include <QApplication>
#include <QFileDialog>

QString QtLyricFileChooser::chooseLyricFile()
{
    QWidget *parent = m_parent ? m_parent : QApplication::activeWindow();
    return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                        QStringLiteral("LRC文件 (*.lrc)"));
}
