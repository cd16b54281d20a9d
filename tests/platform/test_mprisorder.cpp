#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "fakes/playerrig.h"
#include "platform/mprisplayeradaptor.h"
#include "platform/mprisservice.h"
#include "support/qtprinters.h"

namespace {

// The remote control's view of the play order and the play state, read from the service's
// signal without a bus.
TEST(MprisOrderTest, TogglesAndStatusAreTheRealOnes)
{
    PlayerRig rig;
    MprisService service{rig.player, rig.media};
    MprisPlayerAdaptor &adaptor = service.playerAdaptor();
    QSignalSpy spy{&service, &MprisService::propertiesChanged};
    // The values of `property` told since the last call.
    const auto told = [&](const char *property) {
        settle(rig.transport());
        QCoreApplication::sendPostedEvents();
        QVariantList values;
        for (const QList<QVariant> &signal : std::as_const(spy))
            values << signal.at(1).toMap().value(QLatin1String(property));
        spy.clear();
        values.removeAll(QVariant());
        return values;
    };
    adaptor.setShuffle(true);
    adaptor.setLoopStatus("None");
    EXPECT_TRUE(rig.transport().RandomMode() && !rig.transport().LoopMode());
    EXPECT_EQ(told("LoopStatus"), QVariantList{"None"});
    adaptor.setLoopStatus("Track");
    EXPECT_EQ(told("LoopStatus"), QVariantList{"None"}) << "refused, the real value told again";
    EXPECT_FALSE(rig.transport().LoopMode());

    rig.transport().openSongs({PlayerRig::songs("x"), {}, {}});
    const QVariantList failing = told("PlaybackStatus");
    EXPECT_FALSE(failing.contains("Playing")) << "a file that cannot be played";
    EXPECT_EQ(adaptor.playbackStatus(), "Stopped");
    rig.transport().openSongs({PlayerRig::songs("a"), {}, {}});
    EXPECT_EQ(told("PlaybackStatus"), (QVariantList{"Paused", "Playing"})) << "opening, then on";
    rig.media.changeDuration(123.5);
    EXPECT_EQ(told("Metadata").value(0).toMap().value("mpris:length"), qlonglong(123'500'000));
    rig.player.run(Command::DeleteAll);
    rig.media.finishTrack();
    EXPECT_EQ(told("PlaybackStatus"), QVariantList{"Stopped"}) << "nothing left to play";
}

} // namespace
