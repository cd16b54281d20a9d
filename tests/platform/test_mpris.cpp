#include <functional>

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "fakes/playerrig.h"
#include "platform/mprisplayeradaptor.h"
#include "platform/mprisservice.h"
#include "support/qtprinters.h"

// What the remote control tells, on the scripted backend and without a bus: read from the
// service's signal. Its methods and properties are tested on the whole program over a real
// bus (tests/app/test_mpris.sh).
namespace {

using Label = DisplayLabels::Label;

// The songs of `letters` in the list, the first playing.
struct Rig : PlayerRig
{
    explicit Rig(const char *letters = "ab")
    {
        transport().openSongs({songs(letters), {}, {}});
        settle();
    }
    // Runs the backend's answers and the service's gathered refresh.
    void settle()
    {
        ::settle(transport());
        QCoreApplication::sendPostedEvents();
    }
    // The values of `property` told since the last call.
    QVariantList told(const char *property)
    {
        settle();
        QVariantList values;
        for (const QList<QVariant> &signal : std::as_const(spy))
            values << signal.at(1).toMap().value(QLatin1String(property));
        spy.clear();
        values.removeAll(QVariant());
        return values;
    }

    MprisService service{player, media};
    QSignalSpy spy{&service, &MprisService::propertiesChanged};
};

TEST(MprisTest, ChangesAreToldOncePerTurnAndOnlyWhenReal)
{
    Rig rig;
    // The list and the track coming in the turn of the request, the track playing in the
    // turn it opened (the status values told: TogglesAndStatusAreTheRealOnes).
    ASSERT_EQ(rig.spy.count(), 2);
    EXPECT_EQ(rig.spy.at(0).at(0).toString(), QStringLiteral("org.mpris.MediaPlayer2.Player"));
    EXPECT_EQ(rig.spy.at(1).at(1).toMap().keys(),
              QStringList({"CanSeek", "Metadata", "PlaybackStatus"}));

    Transport &transport = rig.transport();
    PlaybackPosition &position = rig.player.position();
    // What is done, and the properties then told, a signal an entry.
    const QList<std::tuple<const char *, std::function<void()>, QStringList>> steps{
        {"a tick", [&] { rig.media.setPosition(3), position.onTimerMain(); }, {}},
        {"a loop mode set already", [&] { transport.setLoopMode(true); }, {}},
        {"on and off", [&] { transport.setRandomMode(true), transport.setRandomMode(false); }, {}},
        {"a seek", [&] { position.seekTo(9); }, {}},
        {"pause", [&] { transport.PauseSong(); }, {"PlaybackStatus"}},
        {"a lyric line", [&] { rig.player.labels().setText(Label::LTxtMin, "x"); }, {"Metadata"}},
        {"the volume key", [&] { rig.player.sound().VolumeDown(); }, {"Volume"}},
    };
    for (const auto &[name, act, expected] : steps) {
        rig.spy.clear();
        act();
        rig.settle();
        QStringList told;
        for (const QList<QVariant> &signal : std::as_const(rig.spy))
            told << signal.at(1).toMap().keys().join(u',');
        EXPECT_EQ(told, expected) << name;
    }
}

// The remote control's view of the play order and the play state, read from the service's
// signal without a bus.
TEST(MprisTest, TogglesAndStatusAreTheRealOnes)
{
    Rig rig("");
    MprisPlayerAdaptor &adaptor = rig.service.playerAdaptor();
    adaptor.setShuffle(true);
    adaptor.setLoopStatus("None");
    EXPECT_TRUE(rig.transport().RandomMode() && !rig.transport().LoopMode());
    EXPECT_EQ(rig.told("LoopStatus"), QVariantList{"None"});
    adaptor.setLoopStatus("Track");
    EXPECT_EQ(rig.told("LoopStatus"), QVariantList{"None"}) << "refused, the real value told again";
    EXPECT_FALSE(rig.transport().LoopMode());

    rig.transport().openSongs({PlayerRig::songs("x"), {}, {}});
    const QVariantList failing = rig.told("PlaybackStatus");
    EXPECT_FALSE(failing.contains("Playing")) << "a file that cannot be played";
    EXPECT_EQ(adaptor.playbackStatus(), "Stopped");
    rig.transport().openSongs({PlayerRig::songs("a"), {}, {}});
    EXPECT_EQ(rig.told("PlaybackStatus"), (QVariantList{"Paused", "Playing"}))
        << "opening, then on";
    rig.media.changeDuration(123.5);
    EXPECT_EQ(rig.told("Metadata").value(0).toMap().value("mpris:length"), qlonglong(123'500'000));
    rig.player.run(Command::DeleteAll);
    rig.media.finishTrack();
    EXPECT_EQ(rig.told("PlaybackStatus"), QVariantList{"Stopped"}) << "nothing left to play";
}

} // namespace
