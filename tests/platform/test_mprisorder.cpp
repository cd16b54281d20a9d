#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "fakes/playerrig.h"
#include "platform/mprisplayeradaptor.h"
#include "platform/mprisservice.h"
#include "support/qtprinters.h"

// The remote control's view of the play order and of the play state, read from the
// service's signal without a bus.
namespace {

struct OrderRig : PlayerRig
{
    // Runs the backend's answers and the service's gathered refresh; the values told since
    // the last call, under their names, one list per property.
    QHash<QString, QVariantList> settle()
    {
        ::settle(transport());
        return collect();
    }
    // The same without waiting for the transport (while an open is held).
    QHash<QString, QVariantList> collect()
    {
        QCoreApplication::sendPostedEvents();
        QHash<QString, QVariantList> values;
        for (const QList<QVariant> &signal : std::as_const(told)) {
            const QVariantMap changed = signal.at(1).toMap();
            for (auto each = changed.cbegin(); each != changed.cend(); ++each)
                values[each.key()] << each.value();
        }
        told.clear();
        return values;
    }
    MprisPlayerAdaptor &adaptor() { return service.playerAdaptor(); }

    MprisService service{player, media};
    QSignalSpy told{&service, &MprisService::propertiesChanged};
};

// Shuffle and LoopStatus set the player's toggles; a LoopStatus the player has not (a
// single track looped) is refused, and the real value is told again.
TEST(MprisOrderTest, ShuffleAndLoopStatusSetTheTogglesOrAreRefused)
{
    OrderRig rig;
    struct Row
    {
        const char *property;
        QVariant value;
        bool loops, shuffles;
        QVariant told; // invalid: nothing
    };
    const Row rows[] = {
        {"Shuffle", true, true, true, true},
        {"LoopStatus", "None", false, true, "None"},
        {"LoopStatus", "Track", false, true, "None"},
        {"LoopStatus", "Playlist", true, true, "Playlist"},
        {"LoopStatus", "Track", true, true, "Playlist"},
        {"Shuffle", false, true, false, false},
        {"Shuffle", false, true, false, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.property << " " << row.value.toString().toStdString());
        if (QLatin1String(row.property) == "Shuffle")
            rig.adaptor().setShuffle(row.value.toBool());
        else
            rig.adaptor().setLoopStatus(row.value.toString());
        EXPECT_EQ(rig.transport().LoopMode(), row.loops);
        EXPECT_EQ(rig.transport().RandomMode(), row.shuffles);
        const QHash<QString, QVariantList> told = rig.settle();
        EXPECT_EQ(told.value(row.property),
                  row.told.isValid() ? QVariantList{row.told} : QVariantList{});
    }
}

// PlaybackStatus says Playing only while a loaded track plays, and Stopped once nothing is
// loaded and nothing is coming; a length the backend tells reaches the metadata.
TEST(MprisOrderTest, PlaybackStatusFollowsWhatReallyPlays)
{
    OrderRig rig;
    EXPECT_EQ(rig.adaptor().playbackStatus(), "Stopped") << "an empty list";
    rig.transport().openSongs({PlayerRig::songs("x"), {}, {}});
    const QVariantList failing = rig.settle().value("PlaybackStatus");
    EXPECT_FALSE(failing.contains("Playing")) << "a file that cannot be played";
    EXPECT_EQ(failing.value(failing.size() - 1), "Stopped");

    rig.media.holdOpens(true);
    rig.transport().openSongs({PlayerRig::songs("a"), {}, {}});
    EXPECT_EQ(rig.collect().value("PlaybackStatus"), QVariantList{"Paused"}) << "while it opens";
    rig.media.answerOpen();
    EXPECT_EQ(rig.settle().value("PlaybackStatus"), QVariantList{"Playing"});
    rig.media.changeDuration(123.5);
    const QVariantList metadata = rig.settle().value("Metadata");
    ASSERT_EQ(metadata.size(), 1);
    EXPECT_EQ(metadata.front().toMap().value("mpris:length"), qlonglong(123'500'000));

    rig.player.run(Command::DeleteAll);
    EXPECT_EQ(rig.settle().value("PlaybackStatus"), QVariantList{}) << "the song plays on";
    rig.media.finishTrack();
    EXPECT_EQ(rig.settle().value("PlaybackStatus"), QVariantList{"Stopped"});
}

} // namespace
