#include "dialogs/qtplaylistfiledialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace {

// The open dialog's filters, the first one chosen.
const QStringList SongFilters{QStringLiteral("所有支持的文件(*.m3u *.mp3 *.wma)"),
                              QStringLiteral("WMA文件 (*.wma)"), QStringLiteral("MP3文件 (*.mp3)")};

} // namespace

QWidget *QtPlaylistFileDialogs::parentWindow() const
{
    return m_parent ? m_parent : QApplication::activeWindow();
}

QStringList QtPlaylistFileDialogs::chooseSongFiles()
{
    return QFileDialog::getOpenFileNames(parentWindow(), QString(), QString(),
                                         SongFilters.join(QStringLiteral(";;")));
}

QString QtPlaylistFileDialogs::choosePlaylistTarget()
{
    return QFileDialog::getSaveFileName(parentWindow(), QString(), QString(),
                                        QStringLiteral("音乐列表文件(*.m3u)"), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
