#include <future>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/instancerequest.h"
#include "platform/singleinstance.h"
#include "support/qtprinters.h"

// A later start hands its songs to the running player: the request's bytes, and the running
// instance taking them. Garbage and floods on the socket are tested on the whole program
// (tests/app/test_handover.sh).
namespace {

using InstanceRequest::Status;
using Outcome = SingleInstance::Outcome;

// Generous: no wait here is meant to run out, however busy the machine (or a sanitizer build).
constexpr int AnswerTimeoutMs = 2000;

// Waits, within a bound, until `spy` has counted `count` signals.
bool reaches(QSignalSpy &spy, int count)
{
    const QDeadlineTimer deadline(5000);
    while (spy.count() < count && !deadline.hasExpired())
        spy.wait(int(deadline.remainingTime()));
    return spy.count() == count;
}

QByteArray openOf(const QByteArray &body, qsizetype length = -1)
{
    return "open " + QByteArray::number(length < 0 ? body.size() : length) + '\n' + body;
}

TEST(InstanceRequestTest, ParsesWellFormedRequestsOnlyAndWaitsForTheirEnd)
{
    using namespace Qt::StringLiterals;
    const QList<std::pair<QByteArray, Status>> cases{
        {"", Status::Incomplete},
        {"activate\n", Status::Complete},
        {"activ", Status::Incomplete},
        {"open 12", Status::Incomplete},
        {openOf("/m/a.mp3\0\0"_ba), Status::Complete}, // an empty information line
        {openOf("/m/a.mp3\0"_ba, 20), Status::Incomplete},
        {"quit\n", Status::Malformed},
        {"hello", Status::Malformed},
        {"open 0\n", Status::Malformed},
        {"open -5\n", Status::Malformed},
        {"open 05\n/m/a\0a\0"_ba, Status::Malformed},
        {"open 99999999999999999999999\n", Status::Malformed},
        {openOf({}, InstanceRequest::MaxBodyBytes + 1), Status::Malformed},
        {QByteArray(InstanceRequest::MaxHeaderBytes, '1').prepend("open "), Status::Malformed},
        {openOf("/m/a.mp3\0"_ba), Status::Malformed}, // a path without its information line
        {openOf("/m/a.mp3\0a"_ba), Status::Malformed},
        {openOf("\0info\0"_ba), Status::Malformed},
        {openOf("/m/\xff.mp3\0a\0"_ba), Status::Malformed},
    };
    for (const auto &[bytes, expected] : cases) {
        const InstanceRequest::Parsed parsed = InstanceRequest::parse(bytes);
        EXPECT_EQ(parsed.status, expected) << bytes.left(40).toStdString();
        EXPECT_EQ(parsed.songs.songs.size(),
                  expected == Status::Complete && bytes != "activate\n")
            << bytes.left(40).toStdString();
        if (expected == Status::Complete) {
            // What follows a whole request is the next one's.
            EXPECT_EQ(parsed.size, bytes.size()) << bytes.left(40).toStdString();
            EXPECT_EQ(InstanceRequest::parse(bytes + "next").size, bytes.size());
        }
    }
}

// The running instance in this thread; later starts in threads of their own, as they are
// processes of their own.
class HandOverTest : public testing::Test
{
protected:
    HandOverTest()
    {
        path = folder.filePath(QStringLiteral("岚铃播放器.socket"));
        EXPECT_EQ(running.CheckExist(), Outcome::First);
    }

    // A later start with `songs`, run to its end while this thread serves the socket.
    Outcome laterStart(const CommandLineSongs &songs, QString *error = nullptr)
    {
        auto outcome = std::async(std::launch::async, [this, songs] {
            SingleInstance later(path, AnswerTimeoutMs);
            const Outcome result = later.CheckExist(songs);
            return std::make_pair(result, later.errorString());
        });
        while (outcome.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const auto [result, message] = outcome.get();
        if (error)
            *error = message;
        return result;
    }

    QTemporaryDir folder;
    QString path;
    SingleInstance running{folder.filePath(QStringLiteral("岚铃播放器.socket")), AnswerTimeoutMs};
    QSignalSpy activations{&running, &SingleInstance::activationRequested};
    QSignalSpy opens{&running, &SingleInstance::openRequested};
};

TEST_F(HandOverTest, ALaterStartHandsOverItsSongsOrOnlyAsksForTheWindow)
{
    // A folder of 50 000 songs with long names, far more than one request holds, arrives
    // whole and in order, names of every kind as they went out; only its first part plays.
    // A missing information line goes out as the song itself.
    CommandLineSongs many;
    many.infos = {QStringLiteral("#EXTINF:215,周 - 晴天")};
    for (int i = 0; i < 25000; ++i) {
        many.songs << QStringLiteral("/音乐/晴天 (live)\n100%20/%1/").arg(i) + QString(200, u'x')
                   << QStringLiteral("http://radio.example/%1").arg(i);
    }
    QSignalSpy additions(&running, &SingleInstance::songsAdded);
    const auto arrivedSongs = [&] {
        CommandLineSongs arrived;
        for (const QSignalSpy *spy : {&opens, &additions}) {
            for (const QList<QVariant> &signal : *spy) {
                const auto part = signal.at(0).value<CommandLineSongs>();
                arrived.songs += part.songs;
                arrived.infos += part.infos;
            }
        }
        return arrived;
    };
    EXPECT_EQ(laterStart(many), Outcome::OtherActivated);
    // The later start ends once its bytes are on their way; the last of them may still come.
    const QDeadlineTimer deadline(10000);
    while (arrivedSongs().songs.size() < many.songs.size() && !deadline.hasExpired())
        additions.wait(100);
    const CommandLineSongs arrived = arrivedSongs();
    EXPECT_EQ(opens.count(), 1);
    EXPECT_GT(additions.count(), 0);
    EXPECT_EQ(arrived.songs, many.songs);
    EXPECT_EQ(arrived.infos, many.infos + many.songs.mid(1));
    EXPECT_EQ(activations.count(), 0);

    // Without songs the running one only comes forward.
    QString error;
    EXPECT_EQ(laterStart({}, &error), Outcome::OtherActivated);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(reaches(activations, 1));
    EXPECT_EQ(opens.count(), 1);
}

} // namespace
