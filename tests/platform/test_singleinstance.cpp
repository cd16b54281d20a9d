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

constexpr int AnswerTimeoutMs = 200;

// What stands at the socket's path before the check, and who holds it.
struct Scene
{
    QString path;
    std::unique_ptr<QLockFile> lock;
    std::vector<int> descriptors;

    ~Scene()
    {
        for (const int descriptor : descriptors)
            ::close(descriptor);
    }

    // A socket bound to the path. With `backlog` >= 0 it listens and stays open until the
    // scene ends; otherwise it is closed at once, as a crashed instance leaves its socket.
    void bindSocket(int backlog)
    {
        const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ::bind(descriptor, address(), sizeof(sockaddr_un));
        if (backlog < 0) {
            ::close(descriptor);
            return;
        }
        ::listen(descriptor, backlog);
        descriptors.push_back(descriptor);
    }

    const sockaddr *address()
    {
        m_address.sun_family = AF_UNIX;
        qstrncpy(m_address.sun_path, QFile::encodeName(path).constData(),
                 sizeof m_address.sun_path);
        return reinterpret_cast<const sockaddr *>(&m_address);
    }

private:
    sockaddr_un m_address = {};
};

std::optional<struct stat> examine(const QString &path)
{
    struct stat status = {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

bool accepts(const QString &path)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    return socket.waitForConnected(1000);
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
        {"the socket of a crashed instance", [](Scene &scene) { scene.bindSocket(-1); },
         Outcome::First},
        {"a regular file",
         [](Scene &scene) {
             QFile file(scene.path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("keep me");
         },
         Outcome::Refused},
        // Its one queued connection is never taken, so the next connect cannot finish.
        {"a live instance too busy to answer",
         [](Scene &scene) {
             scene.bindSocket(0);
             const int waiting = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
             scene.descriptors.push_back(waiting);
             ASSERT_EQ(::connect(waiting, scene.address(), sizeof(sockaddr_un)), 0);
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
        QTemporaryDir folder;
        Scene scene;
        scene.path = folder.filePath(QStringLiteral("岚铃播放器.socket"));
        each.prepare(scene);
        const std::optional<struct stat> before = examine(scene.path);

        SingleInstance instance(scene.path, AnswerTimeoutMs);
        EXPECT_EQ(instance.CheckExist(), each.expected) << each.name;

        const std::optional<struct stat> after = examine(scene.path);
        if (each.expected == Outcome::First) {
            ASSERT_TRUE(after) << each.name;
            EXPECT_TRUE(S_ISSOCK(after->st_mode)) << each.name;
            EXPECT_EQ(after->st_mode & 077, 0u) << each.name;
            EXPECT_TRUE(accepts(scene.path)) << each.name;
            continue;
        }
        // Whatever stood there stands there still, and the reason is one line.
        EXPECT_EQ(before.has_value(), after.has_value()) << each.name;
        if (before && after) {
            EXPECT_EQ(before->st_ino, after->st_ino) << each.name;
        }
        EXPECT_FALSE(instance.errorString().isEmpty()) << each.name;
        EXPECT_FALSE(instance.errorString().contains(u'\n')) << each.name;
    }
}

} // namespace
