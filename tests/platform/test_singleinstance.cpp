#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/instancerequest.h"
#include "platform/singleinstance.h"
#include "support/qtprinters.h"

// One running instance per user: what a start decides by what stands at the socket, and a later
// start handing its songs to the running player: the request's bytes, and the running instance
// taking them. Garbage and floods on the socket are tested on the whole program
// (tests/app/test_handover.sh).
namespace {

using InstanceRequest::Status;
using Outcome = SingleInstance::Outcome;

// Generous: no wait here is meant to run out, however busy the machine (or a sanitizer build).
constexpr int AnswerTimeoutMs = 2000;

// What stands at the socket's path before the check, and who holds it.
struct Scene
{
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("岚铃播放器.socket"));
    std::unique_ptr<QLockFile> lock;
    std::vector<int> descriptors;

    ~Scene()
    {
        for (const int descriptor : descriptors)
            ::close(descriptor);
    }
    // A new socket, kept open until the scene ends, bound to the path or connected to it.
    int socketAt(int (*attach)(int, const sockaddr *, socklen_t), int type = SOCK_STREAM)
    {
        sockaddr_un address = {AF_UNIX, {}};
        qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
        const int descriptor = ::socket(AF_UNIX, type, 0);
        descriptors.push_back(descriptor);
        return attach(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    }
};

std::optional<struct stat> examine(const QString &path)
{
    struct stat status = {};
    const bool exists = ::lstat(QFile::encodeName(path).constData(), &status) == 0;
    return exists ? std::optional(status) : std::nullopt;
}

TEST(SingleInstanceTest, DecidesByWhatStandsAtTheSocket)
{
    struct Case
    {
        const char *name;
        std::function<void(Scene &)> prepare;
        Outcome expected;
    };
    const Case cases[] = {
        // Bound and never listened on, as a crashed instance leaves its socket.
        {"the socket of a crashed instance",
         [](Scene &scene) { ASSERT_EQ(scene.socketAt(::bind), 0); }, Outcome::First},
        // Its one queued connection is never taken, so the next connect cannot finish.
        {"a live instance too busy to answer",
         [](Scene &scene) {
             ASSERT_EQ(scene.socketAt(::bind), 0);
             ASSERT_EQ(::listen(scene.descriptors.back(), 0), 0);
             ASSERT_EQ(scene.socketAt(::connect, SOCK_STREAM | SOCK_NONBLOCK), 0);
         },
         Outcome::Refused},
        {"a file where the socket belongs",
         [](Scene &scene) { ASSERT_TRUE(QFile(scene.path).open(QIODevice::WriteOnly)); },
         Outcome::Refused},
        // Another start holds the lock and never finishes; without it nobody may listen.
        {"the lock held by a stuck start",
         [](Scene &scene) {
             scene.lock = std::make_unique<QLockFile>(scene.path + ".lock");
             ASSERT_TRUE(scene.lock->tryLock(0));
         },
         Outcome::Refused},
    };
    for (const Case &each : cases) {
        Scene scene;
        each.prepare(scene);
        const std::optional<struct stat> before = examine(scene.path);

        SingleInstance instance(scene.path, /* ms to wait for an answer */ 200);
        EXPECT_EQ(instance.CheckExist(), each.expected) << each.name;

        const std::optional<struct stat> after = examine(scene.path);
        if (each.expected == Outcome::First) {
            // A socket that only the user can reach.
            EXPECT_TRUE(after && (after->st_mode & 077) == 0) << each.name;
            QLocalSocket client;
            client.connectToServer(scene.path);
            EXPECT_TRUE(client.waitForConnected(1000)) << each.name;
            continue;
        }
        // Whatever stood there (a socket, or nothing) stands there still; the reason is one line.
        EXPECT_EQ(before ? before->st_ino : 0, after ? after->st_ino : 0) << each.name;
        const QString reason = instance.errorString();
        EXPECT_TRUE(!reason.isEmpty() && !reason.contains(u'\n')) << each.name;
    }
}

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
    const Scene nothing; // at the socket's place
    const QString &path = nothing.path;
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
