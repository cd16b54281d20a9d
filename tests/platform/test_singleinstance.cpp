#include <future>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
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

QByteArray openOf(const QByteArray &body, qsizetype length = -1)
{
    return "open " + QByteArray::number(length < 0 ? body.size() : length) + '\n' + body;
}

TEST(InstanceRequestTest, ParsesWellFormedRequestsOnlyAndWaitsForTheirEnd)
{
    using namespace Qt::StringLiterals;
    const QList<std::pair<QByteArray, Status>> cases{
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
        SCOPED_TRACE(bytes.left(40).toStdString());
        const InstanceRequest::Parsed parsed = InstanceRequest::parse(bytes);
        EXPECT_EQ(parsed.status, expected);
        EXPECT_EQ(parsed.songs.songs.size(), expected == Status::Complete && bytes != "activate\n");
        // What follows a whole request is the next one's.
        if (expected == Status::Complete) {
            EXPECT_EQ(InstanceRequest::parse(bytes + "next").size, bytes.size());
        }
    }
}

// The running instance in this thread; later starts in threads of their own, as they are
// processes of their own.
TEST(HandOverTest, ALaterStartHandsOverItsSongsOrOnlyAsksForTheWindow)
{
    using namespace Qt::StringLiterals;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("岚铃播放器.socket"));
    SingleInstance running{path, AnswerTimeoutMs};
    ASSERT_EQ(running.CheckExist(), Outcome::First);
    QSignalSpy activations{&running, &SingleInstance::activationRequested};
    QSignalSpy opens{&running, &SingleInstance::openRequested};
    CommandLineSongs arrived;
    for (const auto signal : {&SingleInstance::openRequested, &SingleInstance::songsAdded}) {
        QObject::connect(&running, signal, [&](const CommandLineSongs &part) {
            arrived.songs += part.songs;
            arrived.infos += part.infos;
            arrived.folders += part.folders;
        });
    }
    // A later start with `songs`, run to its end while this thread serves the socket.
    const auto laterStart = [&](const CommandLineSongs &songs) {
        auto outcome = std::async(std::launch::async, [&] {
            return SingleInstance(path, AnswerTimeoutMs).CheckExist(songs);
        });
        while (outcome.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return outcome.get();
    };

    // 50 000 songs with long names, far more than one request holds, arrive whole and in
    // order, names of every kind as they went out, and the folders in their places among
    // them; only the first part plays. A missing information line goes out as the song itself.
    CommandLineSongs many;
    many.infos = {QStringLiteral("#EXTINF:215,周 - 晴天")};
    many.folders = {{0, u"/音乐/一"_s}, {1, u"/f/2"_s}, {1, u"/f/3"_s}, {2, u"/f/4"_s}};
    for (int i = 0; i < 25000; ++i) {
        many.songs << QStringLiteral("/音乐/晴天 (live)\n100%20/%1/").arg(i) + QString(200, u'x')
                   << QStringLiteral("http://radio.example/%1").arg(i);
    }
    EXPECT_EQ(laterStart(many), Outcome::OtherActivated);
    // The later start ends once its bytes are on their way; the last of them may still come.
    (void)QTest::qWaitFor([&] { return arrived.songs.size() >= many.songs.size(); }, 10000);
    EXPECT_EQ(arrived.songs, many.songs);
    EXPECT_EQ(arrived.infos, many.infos + many.songs.mid(1));
    EXPECT_EQ(arrived.folders, many.folders);

    // Without songs the running one only comes forward. Only the first request of the songs
    // above played, and the songs never asked only to come forward.
    EXPECT_EQ(laterStart({}), Outcome::OtherActivated);
    (void)QTest::qWaitFor([&] { return !activations.isEmpty(); }, 5000);
    EXPECT_EQ(activations.count(), 1);
    EXPECT_EQ(opens.count(), 1);
}

} // namespace
