#include "dialogs/qtplaylistfiledialogs.h"

#include <QApplication>
#include <QFileDialog>

#include "associations/association.h"

namespace {

// The open dialog's filters, the first one chosen: the types the player plays and takes
// over as their application, all of them and each alone, then any file (GStreamer may
// decode more).
QString songFilters()
{
    QStringList patterns;
    QStringList filters;
    for (const QStringView extension : AssociationExtensions) {
        const QString pattern = QStringLiteral("*.") + extension.toString();
        patterns.append(pattern);
        filters.append(QStringLiteral("%1文件 (%2)").arg(extension.toString().toUpper(), pattern));
    }
    filters.prepend(QStringLiteral("所有支持的文件 (%1)").arg(patterns.join(u' ')));
    filters.append(QStringLiteral("所有文件 (*)"));
    return filters.join(QStringLiteral(";;"));
}

} // namespace

QWidget *QtPlaylistFileDialogs::parentWindow() const
{
    return m_parent ? m_parent : QApplication::activeWindow();
}

QStringList QtPlaylistFileDialogs::chooseSongFiles()
{
    return QFileDialog::getOpenFileNames(parentWindow(), QString(), QString(), songFilters());
}

QString QtPlaylistFileDialogs::choosePlaylistTarget()
{
    return QFileDialog::getSaveFileName(parentWindow(), QString(), QString(),
                                        QStringLiteral("音乐列表文件(*.m3u)"), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
