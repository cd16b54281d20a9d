#pragma once

#include <QTemporaryDir>

#include "core/commandline.h"
#include "core/player.h"
#include "core/session.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/fakewindow.h"
#include "fakes/settle.h"

// One player on the scripted backend, with a data folder of its own. Songs are named by
// letters: a to d are 200 s long, x and y never open (y times out).
struct PlayerRig
{
    PlayerRig()
    {
        for (const QString &path : songs("abcd"))
            media.setDuration(path, 200);
        media.failOpen(song('x'));
        media.failOpen(song('y'), MediaControl::Failure::TimedOut);
        player.sound().ShowVolume();
        player.attachWindow(&window);
    }
    static QString song(char letter)
    {
        return QStringLiteral("/m/%1.mp3").arg(QLatin1Char(letter));
    }
    static QStringList songs(const char *letters)
    {
        QStringList paths;
        for (const char *letter = letters; *letter; ++letter)
            paths << song(*letter);
        return paths;
    }
    // Hands the songs over as a later start does, and waits for the first of them.
    void open(const QStringList &paths)
    {
        transport().openSongs({paths, paths, {}});
        settle(transport());
    }
    // Puts the songs in the list with entry `current` (-1: none) current and highlighted.
    void load(const QStringList &paths, int current = 0)
    {
        list().clear();
        list().append(paths);
        list().setCurrentEntry(current);
        list().setHighlighted(current, true);
    }
    // The letters of the songs opened since the log was last cleared.
    QString opened() const
    {
        return media.log.filter("open /m/").join("").remove("open /m/").remove(".mp3");
    }
    QString state()
    {
        return QStringList{"stopped", "playing", "paused"}.at(int(transport().playState()));
    }
    QString current() { return list().song(list().CurrentEntry()); }
    // A file in the data folder.
    QString path(const QString &name) const { return dir.filePath(name); }
    Transport &transport() { return player.transport(); }
    PlaybackPosition &position() { return player.position(); }
    Playlist &list() { return transport().ListSong(); }

    QTemporaryDir dir;
    Session session{dir.path()};
    FakeMediaControl media;
    FakeWindow window;
    Player player{media, session};
};
