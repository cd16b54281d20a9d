#include "core/session.h"

#include <QDir>

#include "persist/listfiles.h"
#include "persist/playlistfile.h"

Session::Session(const QString &dataFolder, QObject *parent)
    : QObject(parent), m_dataFolder(dataFolder)
{}

QString Session::path(File file) const
{
    static const char *const names[] = {"zorvan.set", "zorvan.m3u", "zorvan.pic", "zorvan.lyr"};
    return QDir(m_dataFolder).filePath(QLatin1String(names[int(file)]));
}

void Session::endRun()
{
    m_appRunning = false;
}

void Session::setSettings(const SettingsRecord &settings)
{
    if (m_settings == settings)
        return;
    m_settings = settings;
    emit settingsChanged();
}

void Session::setListPic(const QStringList &pictures, int shownPicture)
{
    m_pictures = pictures;
    m_shownPicture = shownPicture;
    emit picturesChanged();
}

void Session::setShownPicture(int index)
{
    m_shownPicture = index;
}

void Session::setListLyricDir(const QStringList &folders)
{
    if (m_lyricFolders == folders)
        return;
    m_lyricFolders = folders;
    emit lyricFoldersChanged();
}

SettingsLoad Session::load()
{
    SettingsRecord settings = m_settings;
    const SettingsLoad result = LoadSettings(path(File::Settings), settings);
    setSettings(settings);
    if (const auto pictures = LoadPicList(path(File::Pictures), m_dataFolder)) {
        const ListContents contents = picListContents(*pictures, ListTarget::FmMain);
        setListPic(contents.items, contents.selected);
    }
    if (const auto folders = LoadLyricDirList(path(File::LyricFolders)))
        setListLyricDir(folders->items);
    return result;
}

QList<Session::WriteFailure> Session::save(const QStringList &songs) const
{
    QList<WriteFailure> failures;
    const auto keep = [&failures](const QString &path, const WriteResult &result) {
        if (!result.ok)
            failures.append({path, result.error});
    };
    keep(path(File::Settings), SaveSettings(path(File::Settings), m_settings));
    keep(path(File::Playlist), SavePlaylist(path(File::Playlist), songs));
    return failures;
}
