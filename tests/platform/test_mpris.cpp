#include <functional>

#include <QCoreApplication>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "core/player.h"
#include "core/session.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/fakewindow.h"
#include "platform/mprisplayeradaptor.h"
#include "platform/mprisrootadaptor.h"
#include "platform/mprisservice.h"
#include "support/qtprinters.h"

// The desktop's remote control mapped onto the player, on the scripted backend and without a
// bus: the adaptors are called as the bus would call them, and the changes they tell are read
// from the service's signal.
namespace {

const QString SongA = QStringLiteral("/m/a.mp3");
const QString SongB = QStringLiteral("/m/b.wav");
const QString SongC = QStringLiteral("/音乐/晴 天.mp3");

struct Rig
{
    Rig()
    {
        media.setDuration(SongA, 200);
        media.setDuration(SongB, 100);
        media.setDuration(SongC, 3);
        media.setTags(SongA, QStringLiteral("歌手"), QStringLiteral("晴天"));
        player.sound().ShowVolume();
    }

    Transport &transport() { return player.transport(); }
    MprisPlayerAdaptor &adaptor() { return service.playerAdaptor(); }
    // Runs the backend's answers, the skips and the service's gathered refresh.
    void settle()
    {
        const QDeadlineTimer deadline(5000);
        do {
            QCoreApplication::sendPostedEvents();
            QThread::yieldCurrentThread();
        } while (transport().isBusy() && !deadline.hasExpired());
        QCoreApplication::sendPostedEvents();
    }
    void open(const QStringList &songs)
    {
        transport().openSongs({songs, songs, {}});
        settle();
    }
    QString state() { return adaptor().playbackStatus(); }
    QString track() { return media.fileName(); }

    QTemporaryDir dir;
    Session session{dir.path()};
    FakeMediaControl media;
    FakeWindow window;
    Player player{media, session, window};
    MprisService service{player, media, window};
    QSignalSpy told{&service, &MprisService::propertiesChanged};
};

QVariantMap metadataOf(Rig &rig)
{
    return rig.adaptor().metadata();
}

TEST(MprisTest, MetadataDescribesTheLoadedTrack)
{
    struct Case
    {
        const char *name;
        QString song;
        QString lyric;
        QVariantMap expected;
    };
    const QString lengthKey = QStringLiteral("mpris:length");
    const QList<Case> cases{
        {"tags and a lyric line",
         SongA,
         QStringLiteral("故事的小黄花"),
         {{lengthKey, qlonglong(200'000'000)},
          {QStringLiteral("xesam:title"), QStringLiteral("晴天")},
          {QStringLiteral("xesam:artist"), QStringList{QStringLiteral("歌手")}},
          {QStringLiteral("xesam:url"), QStringLiteral("file:///m/a.mp3")},
          {QStringLiteral("xesam:asText"), QStringLiteral("故事的小黄花")}}},
        {"no tags: the file's name, an encoded address",
         SongC,
         {},
         {{lengthKey, qlonglong(3'000'000)},
          {QStringLiteral("xesam:title"), QStringLiteral("晴 天.mp3")},
          {QStringLiteral("xesam:url"),
           QStringLiteral("file:///%E9%9F%B3%E4%B9%90/%E6%99%B4%20%E5%A4%A9.mp3")}}},
        {"a stream of unknown length",
         QStringLiteral("http://radio.example/live"),
         {},
         {{QStringLiteral("xesam:title"), QStringLiteral("live")},
          {QStringLiteral("xesam:url"), QStringLiteral("http://radio.example/live")}}},
    };
    for (const Case &c : cases) {
        Rig rig;
        rig.open({c.song});
        rig.player.labels().setText(DisplayLabels::Label::LTxtMin, c.lyric);
        QVariantMap metadata = metadataOf(rig);
        const auto trackId =
            metadata.take(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>();
        EXPECT_EQ(trackId.path(),
                  QStringLiteral("/org/zorvan/track/%1").arg(rig.transport().loadedTrack()))
            << c.name;
        EXPECT_EQ(metadata, c.expected) << c.name;
    }

    // Nothing loaded: the track is "no track" and nothing else is said.
    Rig rig;
    rig.media.failOpen(SongA);
    rig.open({SongA});
    const QVariantMap none = metadataOf(rig);
    EXPECT_EQ(none.keys(), QStringList{QStringLiteral("mpris:trackid")});
    EXPECT_EQ(none.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
              QString::fromLatin1(MprisPlayerAdaptor::NoTrack));
}

TEST(MprisTest, ChangesAreToldOncePerTurnAndOnlyWhenReal)
{
    Rig rig;
    rig.open({SongA, SongB});
    // The list and the state first, then the track once it has opened: what each turn
    // changed, in one signal per turn.
    ASSERT_EQ(rig.told.count(), 2);
    for (const QList<QVariant> &signal : rig.told)
        EXPECT_EQ(signal.at(0).toString(), QStringLiteral("org.mpris.MediaPlayer2.Player"));
    const QVariantMap listed = rig.told.at(0).at(1).toMap();
    EXPECT_EQ(listed.value(QStringLiteral("PlaybackStatus")), QStringLiteral("Playing"));
    EXPECT_EQ(listed.value(QStringLiteral("CanGoNext")), true);
    const QVariantMap opened = rig.told.at(1).at(1).toMap();
    EXPECT_EQ(opened.keys(), (QStringList{QStringLiteral("CanSeek"), QStringLiteral("Metadata")}));
    EXPECT_EQ(opened.value(QStringLiteral("Metadata")), rig.adaptor().metadata());

    struct Step
    {
        const char *name;
        std::function<void(Rig &)> act;
        QStringList expectedKeys;
    };
    const QList<Step> steps{
        {"the time label moves",
         [](Rig &r) {
             r.media.setPosition(3);
             r.player.position().onTimerMain();
         },
         {}},
        {"a loop mode that was already set", [](Rig &r) { r.transport().setLoopMode(true); }, {}},
        {"a toggle undone in the same turn",
         [](Rig &r) {
             r.transport().setRandomMode(true);
             r.transport().setRandomMode(false);
         },
         {}},
        {"pause", [](Rig &r) { r.transport().PauseSong(); }, {QStringLiteral("PlaybackStatus")}},
        {"a lyric line",
         [](Rig &r) { r.player.labels().setText(DisplayLabels::Label::LTxtMin, "x"); },
         {QStringLiteral("Metadata")}},
        {"the volume key",
         [](Rig &r) { r.player.sound().VolumeDown(); },
         {QStringLiteral("Volume")}},
        {"shuffle and loop",
         [](Rig &r) {
             r.adaptor().setShuffle(true);
             r.adaptor().setLoopStatus(QStringLiteral("None"));
         },
         {QStringLiteral("LoopStatus"), QStringLiteral("Shuffle")}},
        {"a seek", [](Rig &r) { r.player.position().seekTo(9); }, {}},
    };
    for (const Step &step : steps) {
        const qsizetype before = rig.told.count();
        step.act(rig);
        rig.settle();
        QStringList keys;
        if (rig.told.count() > before)
            keys = rig.told.last().at(1).toMap().keys();
        EXPECT_EQ(keys, step.expectedKeys) << step.name;
        EXPECT_LE(rig.told.count(), before + 1) << step.name;
    }
}

TEST(MprisTest, MethodsRunThePlayersCommands)
{
    struct Case
    {
        const char *name;
        // Before the call: SongA, SongB in the list, A loaded and playing, at 10 s.
        std::function<void(Rig &)> before;
        std::function<void(MprisPlayerAdaptor &)> call;
        QString expectedState;
        QString expectedTrack;
        // What the backend was asked to do.
        QStringList expectedCalls;
        // The Seeked signal's position in microseconds; -1 for none.
        qlonglong expectedSeeked = -1;
    };
    const auto nothing = [](Rig &) {};
    const auto pause = [](Rig &r) { r.transport().PauseSong(); };
    const auto stop = [](Rig &r) { r.transport().StopSong(); };
    const auto currentTrack = [](MprisPlayerAdaptor &a) {
        return a.metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>();
    };
    const QStringList openB{QStringLiteral("open ") + SongB, QStringLiteral("play")};
    const QList<Case> cases{
        {"Play while playing", nothing, [](auto &a) { a.Play(); }, "Playing", SongA, {}},
        {"Play while paused resumes", pause, [](auto &a) { a.Play(); }, "Playing", SongA, {"play"}},
        {"Play while stopped starts over",
         stop,
         [](auto &a) { a.Play(); },
         "Playing",
         SongA,
         {QStringLiteral("open ") + SongA, "play"}},
        {"Pause", nothing, [](auto &a) { a.Pause(); }, "Paused", SongA, {"pause"}},
        {"Pause while paused", pause, [](auto &a) { a.Pause(); }, "Paused", SongA, {}},
        {"PlayPause while playing",
         nothing,
         [](auto &a) { a.PlayPause(); },
         "Paused",
         SongA,
         {"pause"}},
        {"PlayPause while paused",
         pause,
         [](auto &a) { a.PlayPause(); },
         "Playing",
         SongA,
         {"play"}},
        {"Stop", nothing, [](auto &a) { a.Stop(); }, "Stopped", SongA, {"pause", "seek 0"}},
        {"Next", nothing, [](auto &a) { a.Next(); }, "Playing", SongB, openB},
        {"Previous wraps", nothing, [](auto &a) { a.Previous(); }, "Playing", SongB, openB},
        {"Seek on",
         nothing,
         [](auto &a) { a.Seek(2'500'000); },
         "Playing",
         SongA,
         {"seek 12.5"},
         12'500'000},
        {"Seek back past the start",
         nothing,
         [](auto &a) { a.Seek(-60'000'000); },
         "Playing",
         SongA,
         {"seek 0"},
         0},
        {"Seek past the end plays the next", nothing, [](auto &a) { a.Seek(191'000'000); },
         "Playing", SongB, openB},
        {"SetPosition",
         nothing,
         [currentTrack](auto &a) { a.SetPosition(currentTrack(a), 1'500'000); },
         "Playing",
         SongA,
         {"seek 1.5"},
         1'500'000},
        {"SetPosition of another track",
         nothing,
         [](auto &a) { a.SetPosition(QDBusObjectPath("/org/zorvan/track/999"), 1'500'000); },
         "Playing",
         SongA,
         {}},
        {"SetPosition past the end",
         nothing,
         [currentTrack](auto &a) { a.SetPosition(currentTrack(a), 200'000'001); },
         "Playing",
         SongA,
         {}},
        {"OpenUri of something not a file",
         nothing,
         [](auto &a) { a.OpenUri(QStringLiteral("http://radio.example/live")); },
         "Playing",
         SongA,
         {}},
    };
    for (const Case &c : cases) {
        Rig rig;
        rig.open({SongA, SongB});
        rig.media.setPosition(10);
        c.before(rig);
        rig.settle();
        rig.media.log.clear();
        QSignalSpy seeked(&rig.adaptor(), &MprisPlayerAdaptor::Seeked);

        c.call(rig.adaptor());
        rig.settle();

        EXPECT_EQ(rig.state(), c.expectedState) << c.name;
        EXPECT_EQ(rig.track(), c.expectedTrack) << c.name;
        EXPECT_EQ(rig.media.log, c.expectedCalls) << c.name;
        if (c.expectedSeeked < 0) {
            EXPECT_EQ(seeked.count(), 0) << c.name;
        } else {
            ASSERT_EQ(seeked.count(), 1) << c.name;
            EXPECT_NEAR(seeked.at(0).at(0).toLongLong(), c.expectedSeeked, 1) << c.name;
        }
    }
}

TEST(MprisTest, VolumeLoopAndShuffleAreThePlayersOwn)
{
    Rig rig;
    MprisPlayerAdaptor &adaptor = rig.adaptor();
    adaptor.setVolume(0.5);
    EXPECT_EQ(rig.media.volume(), -2000);
    EXPECT_EQ(adaptor.volume(), 0.5);
    rig.player.sound().VolumeUp();
    EXPECT_NEAR(adaptor.volume(), 0.54, 1e-6);
    adaptor.setVolume(-1);
    EXPECT_EQ(rig.media.volume(), -3000);
    EXPECT_EQ(adaptor.volume(), 0.0);

    adaptor.setLoopStatus(QStringLiteral("None"));
    EXPECT_FALSE(rig.transport().LoopMode());
    adaptor.setLoopStatus(QStringLiteral("Track"));
    EXPECT_FALSE(rig.transport().LoopMode());
    EXPECT_EQ(adaptor.loopStatus(), QStringLiteral("None"));
    adaptor.setLoopStatus(QStringLiteral("Playlist"));
    EXPECT_TRUE(rig.transport().LoopMode());
    adaptor.setShuffle(true);
    EXPECT_TRUE(rig.transport().RandomMode());
    EXPECT_TRUE(adaptor.shuffle());
}

TEST(MprisTest, OpenUriAddsAFileAndPlaysIt)
{
    Rig rig;
    rig.open({SongA});
    const QString song = rig.dir.filePath(QStringLiteral("new 歌.mp3"));
    QFile file(song);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    rig.adaptor().OpenUri(QUrl::fromLocalFile(song).toString());
    rig.settle();
    EXPECT_EQ(rig.transport().ListSong().songs(), (QStringList{SongA, song}));
    EXPECT_EQ(rig.track(), song);
    EXPECT_EQ(rig.state(), QStringLiteral("Playing"));
}

TEST(MprisTest, RaiseAndQuitReachTheWindowAfterTheCall)
{
    Rig rig;
    QSignalSpy raised(&rig.service, &MprisService::raiseRequested);
    rig.service.root().Raise();
    rig.service.root().Quit();
    EXPECT_EQ(raised.count(), 0);
    EXPECT_TRUE(rig.window.calls.isEmpty());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(raised.count(), 1);
    EXPECT_EQ(rig.window.calls, QStringList{QStringLiteral("UnloadMe")});
}

} // namespace
