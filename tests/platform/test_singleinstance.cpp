#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/singleinstance.h"

namespace {

using Outcome = SingleInstance::Outcome;

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

} // namespace
