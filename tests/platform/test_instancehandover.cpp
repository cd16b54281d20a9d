#include <future>
#include <memory>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/instancerequest.h"
#include "platform/singleinstance.h"
#include "support/qtprinters.h"

// A later start hands its songs to the running player: the request's bytes, and the running
// instance reading whatever comes on its socket.
namespace {

using InstanceRequest::Status;
using Outcome = SingleInstance::Outcome;

constexpr int AnswerTimeoutMs = 200;

QByteArray openHeader(qsizetype length)
{
    return "open " + QByteArray::number(length) + '\n';
}

QByteArray openOf(const QByteArray &body)
{
    return openHeader(body.size()) + body;
}

TEST(InstanceRequestTest, ParsesWellFormedRequestsOnlyAndWaitsForTheirEnd)
{
    using namespace Qt::StringLiterals;
    struct Case
    {
        const char *name;
        QByteArray bytes;
        Status expected;
        QStringList songs = {};
        QStringList infos = {};
    };
    const QList<Case> cases{
        {"nothing yet", "", Status::Incomplete},
        {"activation", "activate\n", Status::Complete},
        {"half an activation", "activ", Status::Incomplete},
        {"half an open header", "open 12", Status::Incomplete},
        {"two songs",
         openOf("/m/a.mp3\0/m/a.mp3\0/m/b.wav\0#EXTINF:1,b\0"_ba),
         Status::Complete,
         {"/m/a.mp3", "/m/b.wav"},
         {"/m/a.mp3", "#EXTINF:1,b"}},
        {"an empty information line",
         openOf("/m/a.mp3\0\0"_ba),
         Status::Complete,
         {"/m/a.mp3"},
         {""}},
        {"a body not all there", openHeader(20) + "/m/a.mp3\0"_ba, Status::Incomplete},
        {"more than the body announced", openOf("/m/a.mp3\0a\0"_ba) + "x", Status::Malformed},
        {"two activations", "activate\nactivate\n", Status::Malformed},
        {"another verb", "quit\n", Status::Malformed},
        {"a verb in capitals", "ACTIVATE\n", Status::Malformed},
        {"text that is no request", "hello", Status::Malformed},
        {"an open without songs", "open 0\n", Status::Malformed},
        {"a negative length", "open -5\n", Status::Malformed},
        {"a signed length", "open +5\n", Status::Malformed},
        {"a leading zero", "open 05\n/m/a\0a\0"_ba, Status::Malformed},
        {"a length with letters", "open 5x\n", Status::Malformed},
        {"no length", "open \n", Status::Malformed},
        {"a length past any integer", "open 99999999999999999999999\n", Status::Malformed},
        {"a body longer than allowed", openHeader(InstanceRequest::MaxBodyBytes + 1),
         Status::Malformed},
        {"a header line with no end",
         QByteArray(InstanceRequest::MaxHeaderBytes, '1').prepend("open "), Status::Malformed},
        {"a path without its information line", openOf("/m/a.mp3\0"_ba), Status::Malformed},
        {"a body not ended by NUL", openOf("/m/a.mp3\0a"_ba), Status::Malformed},
        {"an empty path", openOf("\0info\0"_ba), Status::Malformed},
        {"bytes that are not UTF-8", openOf("/m/\xff.mp3\0a\0"_ba), Status::Malformed},
    };
    for (const Case &c : cases) {
        const InstanceRequest::Parsed parsed = InstanceRequest::parse(c.bytes);
        EXPECT_EQ(parsed.status, c.expected) << c.name;
        EXPECT_EQ(parsed.request.songs.songs, c.songs) << c.name;
        EXPECT_EQ(parsed.request.songs.infos, c.infos) << c.name;
    }
}

TEST(InstanceRequestTest, SongsComeBackAsTheyWentOut)
{
    CommandLineSongs songs;
    songs.songs = {QStringLiteral("/音乐/晴天 (live).mp3"), QStringLiteral("/m/line\nbreak.wav"),
                   QStringLiteral("/m/100%20.wma"), QStringLiteral("http://radio.example/stream")};
    // A missing information line goes out as the song itself.
    songs.infos = {QStringLiteral("#EXTINF:215,周 - 晴天"), QStringLiteral("/m/line\nbreak.wav")};
    const std::optional<QByteArray> bytes = InstanceRequest::open(songs);
    ASSERT_TRUE(bytes);
    const InstanceRequest::Parsed parsed = InstanceRequest::parse(*bytes);
    ASSERT_EQ(parsed.status, Status::Complete);
    EXPECT_EQ(parsed.request.songs.songs, songs.songs);
    EXPECT_EQ(parsed.request.songs.infos,
              songs.infos + QStringList({songs.songs.at(2), songs.songs.at(3)}));

    // Every beginning of it is a request still on its way.
    for (const qsizetype cut : {qsizetype(1), qsizetype(5), qsizetype(9), bytes->size() - 1})
        EXPECT_EQ(InstanceRequest::parse(bytes->left(cut)).status, Status::Incomplete) << cut;
}

TEST(InstanceRequestTest, TooManySongsForOneRequestAreRefused)
{
    const QString path = QStringLiteral("/m/") + QString(1000, u'x');
    CommandLineSongs songs;
    for (int i = 0; i < 2200; ++i)
        songs.songs.append(path);
    EXPECT_FALSE(InstanceRequest::open(songs));
    songs.songs.resize(2000);
    EXPECT_TRUE(InstanceRequest::open(songs));
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

    // Sends `bytes` on a connection of its own and waits (bounded) for the running instance
    // to close it. True when it did.
    bool sendAndSeeClosed(const QByteArray &bytes, int waitMs = 5000)
    {
        QLocalSocket socket;
        socket.connectToServer(path);
        if (!socket.waitForConnected(1000))
            return false;
        QSignalSpy closed(&socket, &QLocalSocket::disconnected);
        socket.write(bytes);
        socket.flush();
        return closed.wait(waitMs);
    }

    QTemporaryDir folder;
    QString path;
    SingleInstance running{folder.filePath(QStringLiteral("岚铃播放器.socket")), AnswerTimeoutMs};
    QSignalSpy activations{&running, &SingleInstance::activationRequested};
    QSignalSpy opens{&running, &SingleInstance::openRequested};
};

TEST_F(HandOverTest, ALaterStartHandsOverItsSongsOrOnlyAsksForTheWindow)
{
    const CommandLineSongs two{{QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.wav")},
                               {QStringLiteral("/m/a.mp3"), QStringLiteral("b")},
                               {}};
    EXPECT_EQ(laterStart(two), Outcome::OtherActivated);
    ASSERT_TRUE(opens.count() == 1 || opens.wait(5000));
    const auto handed = opens.at(0).at(0).value<CommandLineSongs>();
    EXPECT_EQ(handed.songs, two.songs);
    EXPECT_EQ(handed.infos, two.infos);
    EXPECT_EQ(activations.count(), 0);

    EXPECT_EQ(laterStart({}), Outcome::OtherActivated);
    ASSERT_TRUE(activations.count() == 1 || activations.wait(5000));
    EXPECT_EQ(opens.count(), 1);
}

TEST_F(HandOverTest, ALongListArrivesWholeAndTooLongAListOnlyAsksForTheWindow)
{
    CommandLineSongs many;
    for (int i = 0; i < 3000; ++i)
        many.songs.append(QStringLiteral("/m/%1/").arg(i) + QString(500, u'x'));
    EXPECT_EQ(laterStart(many), Outcome::OtherActivated);
    ASSERT_TRUE(opens.count() == 1 || opens.wait(5000));
    EXPECT_EQ(opens.at(0).at(0).value<CommandLineSongs>().songs, many.songs);

    many.songs += many.songs;
    QString error;
    EXPECT_EQ(laterStart(many, &error), Outcome::OtherActivated);
    EXPECT_TRUE(error.contains(QStringLiteral("too many"))) << error.toStdString();
    ASSERT_TRUE(activations.count() == 1 || activations.wait(5000));
    EXPECT_EQ(opens.count(), 1);
}

TEST_F(HandOverTest, MalformedAndOversizedConnectionsAreClosedAndIgnored)
{
    using namespace Qt::StringLiterals;
    const QList<QByteArray> garbage{
        "hello\n",
        "activate\nactivate\n",
        "open 5x\n",
        openOf("/m/a.mp3\0"_ba),
        QByteArray(100, '\0'),
        QByteArray(InstanceRequest::MaxRequestBytes + 100, 'a'),
        openHeader(InstanceRequest::MaxBodyBytes) +
            QByteArray(InstanceRequest::MaxBodyBytes + 1, 'a'),
    };
    for (const QByteArray &bytes : garbage)
        EXPECT_TRUE(sendAndSeeClosed(bytes)) << bytes.left(20).toStdString();
    EXPECT_EQ(activations.count(), 0);
    EXPECT_EQ(opens.count(), 0);

    // And the socket still serves the next start.
    EXPECT_EQ(laterStart({}), Outcome::OtherActivated);
    EXPECT_TRUE(activations.count() == 1 || activations.wait(5000));
}

TEST_F(HandOverTest, SilentConnectionsAreBoundedAndCannotKeepAStartOut)
{
    // The oldest connections give way to new ones at once; the rest are closed when their
    // time is up.
    constexpr int Surplus = 4;
    std::vector<std::unique_ptr<QLocalSocket>> idle;
    std::vector<std::unique_ptr<QSignalSpy>> closed;
    for (int i = 0; i < SingleInstance::MaxConnections + Surplus; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        closed.push_back(
            std::make_unique<QSignalSpy>(idle.back().get(), &QLocalSocket::disconnected));
        idle.back()->connectToServer(path);
        ASSERT_TRUE(idle.back()->waitForConnected(1000));
    }
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Surplus; ++i)
        EXPECT_TRUE(closed[i]->count() == 1 || closed[i]->wait(2000)) << i;
    EXPECT_LT(clock.elapsed(), running.requestTimeoutMs());
    EXPECT_EQ(closed[Surplus]->count(), 0);

    // A start among them still gets through.
    EXPECT_EQ(laterStart({{QStringLiteral("/m/a.mp3")}, {}, {}}), Outcome::OtherActivated);
    EXPECT_TRUE(opens.count() == 1 || opens.wait(5000));
    EXPECT_LT(clock.elapsed(), running.requestTimeoutMs());

    for (int i = Surplus; i < int(idle.size()); ++i)
        EXPECT_TRUE(closed[i]->count() == 1 || closed[i]->wait(running.requestTimeoutMs() * 2))
            << i;
    // Timers may fire a little early.
    EXPECT_GE(clock.elapsed(), running.requestTimeoutMs() * 9 / 10);
    EXPECT_EQ(activations.count(), 0);
}

} // namespace
