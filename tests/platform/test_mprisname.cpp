#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include "fakes/playerrig.h"
#include "platform/mprisservice.h"

// The service's name on a bus daemon of the test's own, asked for without waiting: the
// desktop's name when it is free, the name of this instance when another player holds it.
TEST(MprisNameTest, TakesTheFreeNameOrThisInstancesName)
{
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "dbus-daemon did not start";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    const QString name = QString::fromLatin1(MprisService::ServiceName);
    struct Row
    {
        const char *connection;
        bool isNameHeld;
        QString expected;
    };
    const QString instance =
        name + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
    for (const Row &row : {Row{"free", false, name}, Row{"held", true, instance}}) {
        QDBusConnection holder = QDBusConnection::connectToBus(address, QStringLiteral("holder"));
        if (row.isNameHeld) {
            ASSERT_TRUE(holder.registerService(name));
        }
        QDBusConnection bus = QDBusConnection::connectToBus(address, row.connection);
        PlayerRig rig;
        MprisService service(rig.player, rig.media);
        service.registerOn(bus);
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return bus.interface()->serviceOwner(row.expected).value() == bus.baseService();
        })) << row.connection;
        QDBusConnection::disconnectFromBus(row.connection);
        QDBusConnection::disconnectFromBus(QStringLiteral("holder"));
    }
    daemon.kill();
    daemon.waitForFinished();
}
