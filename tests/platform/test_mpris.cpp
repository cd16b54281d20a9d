#include <functional>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "core/player.h"
#include "core/session.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/fakewindow.h"
#include "platform/mprisplayeradaptor.h"
#include "platform/mprisservice.h"
#include "support/qtprinters.h"

// What the remote control tells, on the scripted backend and without a bus: read from the
// service's signal. Its methods and properties are tested on the whole program over a real
// bus (tests/app/test_mpris.sh).
namespace {

const QString SongA = QStringLiteral("/m/a.mp3");
const QString SongB = QStringLiteral("/m/b.wav");

// SongA (200 s) and SongB in the list, A playing.
struct Rig
{
    Rig()
    {
        media.setDuration(SongA, 200);
        media.setDuration(SongB, 100);
        transport().openSongs({{SongA, SongB}, {}, {}});
        settle();
    }
    Transport &transport() { return player.transport(); }
    MprisPlayerAdaptor &adaptor() { return service.playerAdaptor(); }
    // Runs the backend's answers and the service's gathered refresh.
    void settle()
    {
        const QDeadlineTimer deadline(5000);
        do {
            QCoreApplication::sendPostedEvents();
            QThread::yieldCurrentThread();
        } while (transport().isBusy() && !deadline.hasExpired());
        QCoreApplication::sendPostedEvents();
    }

    QTemporaryDir dir;
    Session session{dir.path()};
    FakeMediaControl media;
    FakeWindow window;
    Player player{media, session, window};
    MprisService service{player, media, window};
    QSignalSpy told{&service, &MprisService::propertiesChanged};
};

TEST(MprisTest, ChangesAreToldOncePerTurnAndOnlyWhenReal)
{
    Rig rig;
    // The list and the state in the turn of the request, the track in the turn it opened.
    ASSERT_EQ(rig.told.count(), 2);
    EXPECT_EQ(rig.told.at(0).at(0).toString(), QStringLiteral("org.mpris.MediaPlayer2.Player"));
    EXPECT_EQ(rig.told.at(0).at(1).toMap().value("PlaybackStatus"), QStringLiteral("Playing"));
    EXPECT_EQ(rig.told.at(1).at(1).toMap().keys(), QStringList({"CanSeek", "Metadata"}));

    using Act = std::function<void(Rig &)>;
    const QList<std::tuple<const char *, Act, QStringList>> steps{
        {"a tick", [](Rig &r) { r.media.setPosition(3), r.player.position().onTimerMain(); }, {}},
        {"a loop mode set already", [](Rig &r) { r.transport().setLoopMode(true); }, {}},
        {"a toggle undone",
         [](Rig &r) { r.transport().setRandomMode(true), r.transport().setRandomMode(false); },
         {}},
        {"a seek", [](Rig &r) { r.player.position().seekTo(9); }, {}},
        {"pause", [](Rig &r) { r.transport().PauseSong(); }, {"PlaybackStatus"}},
        {"a lyric line",
         [](Rig &r) { r.player.labels().setText(DisplayLabels::Label::LTxtMin, "x"); },
         {"Metadata"}},
        {"the volume key", [](Rig &r) { r.player.sound().VolumeDown(); }, {"Volume"}},
    };
    for (const auto &[name, act, expectedKeys] : steps) {
        const qsizetype before = rig.told.count();
        act(rig);
        rig.settle();
        EXPECT_EQ(rig.told.count() - before, expectedKeys.isEmpty() ? 0 : 1) << name;
        if (rig.told.count() > before) {
            EXPECT_EQ(rig.told.last().at(1).toMap().keys(), expectedKeys) << name;
        }
    }
}

} // namespace
