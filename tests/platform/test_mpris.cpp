#include <functional>

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "fakes/playerrig.h"
#include "platform/mprisservice.h"
#include "support/qtprinters.h"

// What the remote control tells, on the scripted backend and without a bus: read from the
// service's signal. Its methods and properties are tested on the whole program over a real
// bus (tests/app/test_mpris.sh).
namespace {

// Songs a and b in the list, a playing.
struct Rig : PlayerRig
{
    Rig()
    {
        transport().openSongs({songs("ab"), {}, {}});
        settle();
    }
    // Runs the backend's answers and the service's gathered refresh.
    void settle()
    {
        ::settle(transport());
        QCoreApplication::sendPostedEvents();
    }

    MprisService service{player, media};
    QSignalSpy told{&service, &MprisService::propertiesChanged};
};

TEST(MprisTest, ChangesAreToldOncePerTurnAndOnlyWhenReal)
{
    Rig rig;
    // The list and the track coming in the turn of the request, the track playing in the
    // turn it opened.
    ASSERT_EQ(rig.told.count(), 2);
    EXPECT_EQ(rig.told.at(0).at(0).toString(), QStringLiteral("org.mpris.MediaPlayer2.Player"));
    EXPECT_EQ(rig.told.at(0).at(1).toMap().value("PlaybackStatus"), QStringLiteral("Paused"));
    EXPECT_EQ(rig.told.at(1).at(1).toMap().keys(),
              QStringList({"CanSeek", "Metadata", "PlaybackStatus"}));

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
