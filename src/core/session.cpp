#include "core/session.h"

#include <utility>

#include <QDir>
#include <QLoggingCategory>

#include "persist/listfiles.h"

namespace {

Q_LOGGING_CATEGORY(lcSession, "zorvan.session")

} // namespace

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

void Session::setLiveState(std::function<void(SettingsRecord &)> fill)
{
    m_liveState = std::move(fill);
}

SettingsRecord Session::withLiveState(SettingsRecord settings) const
{
    if (m_liveState)
        m_liveState(settings);
    return settings;
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

ReadResult<SettingsLoad> Session::load()
{
    SettingsRecord settings = m_settings;
    ReadResult<SettingsLoad> result = LoadSettings(path(File::Settings), settings);
    m_settingsReadError = result.error;
    reportUnreadable(File::Settings, m_settingsReadError);
    setSettings(settings);
    loadListPic();
    loadListLyricDir();
    return result;
}

void Session::loadListPic()
{
    const ReadResult<ListFileEntries> pictures = LoadPicList(path(File::Pictures), m_dataFolder);
    if (pictures.isRead()) {
        const ListContents contents =
            picListContents(pictures.value, ListSelection::FirstAfterEndMark);
        setListPic(contents.items, contents.selected);
    }
    reportUnreadable(File::Pictures, pictures.error);
}

void Session::loadListLyricDir()
{
    const ReadResult<ListFileEntries> folders = LoadLyricDirList(path(File::LyricFolders));
    if (folders.isRead())
        setListLyricDir(folders.value.items);
    reportUnreadable(File::LyricFolders, folders.error);
}

WriteResult Session::saveSettings(const SettingsRecord &settings)
{
    const SettingsRecord kept = withLiveState(settings);
    WriteResult written = SaveSettings(path(File::Settings), kept);
    if (written.ok) {
        m_settingsReadError.clear();
        setSettings(kept);
    }
    return written;
}

WriteResult Session::replaceListPic(const QStringList &pictures)
{
    WriteResult written = SavePicList(path(File::Pictures), pictures);
    if (written.ok)
        loadListPic();
    return written;
}

WriteResult Session::replaceListLyricDir(const QStringList &folders)
{
    WriteResult written = SaveLyricDirList(path(File::LyricFolders), folders);
    if (written.ok)
        loadListLyricDir();
    return written;
}

PlaylistEntries Session::loadSavedList()
{
    ReadResult<PlaylistEntries> saved = LoadPlaylist(path(File::Playlist));
    m_savedListReadError = saved.error;
    reportUnreadable(File::Playlist, m_savedListReadError);
    return std::move(saved.value);
}

void Session::reportUnreadable(File file, const QString &error) const
{
    if (!error.isEmpty())
        qCWarning(lcSession).noquote()
            << QStringLiteral("cannot read %1: %2").arg(path(file), error);
}

QList<Session::WriteFailure> Session::save(const QStringList &songs)
{
    setSettings(withLiveState(m_settings));
    QList<WriteFailure> failures;
    const auto keep = [&failures](const QString &path, const WriteResult &result) {
        if (!result.ok)
            failures.append({path, result.error});
    };
    const auto leftAsItWas = [](const QString &readError) {
        return WriteResult{false, QStringLiteral("left as it was, since it could not be read "
                                                 "when the player started: %1")
                                      .arg(readError)};
    };
    keep(path(File::Settings), m_settingsReadError.isEmpty()
                                   ? SaveSettings(path(File::Settings), m_settings)
                                   : leftAsItWas(m_settingsReadError));
    keep(path(File::Playlist), m_savedListReadError.isEmpty()
                                   ? SavePlaylist(path(File::Playlist), songs)
                                   : leftAsItWas(m_savedListReadError));
    return failures;
}
