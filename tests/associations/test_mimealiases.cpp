#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "associations/association.h"
#include "associations/mimeregistry.h"
#include "associations/regist.h"
#include "fakes/recordedmessages.h"
#include "support/files.h"

namespace {

// A desktop of its own, as xdg-mime sees it too: HOME and the XDG folders in a temporary
// folder with the system's shared MIME database linked in, and a system default for WAV
// files given under the alias audio/wav to another player that is installed.
class MimeAliasTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const QString mime = QStandardPaths::locate(QStandardPaths::GenericDataLocation, "mime",
                                                    QStandardPaths::LocateDirectory);
        ASSERT_FALSE(mime.isEmpty()) << "no shared MIME database";
        const std::pair<const char *, QString> values[] = {
            {"HOME", root.filePath("home")}, {"XDG_CONFIG_HOME", configHome},
            {"XDG_DATA_HOME", dataHome},     {"XDG_CONFIG_DIRS", root.filePath("etc")},
            {"XDG_DATA_DIRS", systemData},   {"XDG_CURRENT_DESKTOP", "X-Generic"},
        };
        for (const auto &[name, value] : values) {
            saved.emplace_back(name, qgetenv(name));
            qputenv(name, value.toUtf8());
        }
        ASSERT_TRUE(QDir().mkpath(systemData));
        ASSERT_TRUE(QFile::link(mime, systemData + "/mime"));
        writeFile(programPath, "#!/bin/sh\n");
        QFile::setPermissions(programPath, QFile::permissions(programPath) | QFile::ExeOwner);
        writeFile(systemData + "/applications/oldplayer.desktop",
                  "[Desktop Entry]\nType=Application\nName=old\nExec=/bin/true %f\n");
        writeFile(systemData + "/applications/mimeapps.list",
                  "[Default Applications]\naudio/wav=oldplayer.desktop\n");
    }

    void TearDown() override
    {
        for (const auto &[name, value] : saved)
            qputenv(name, value);
        EXPECT_EQ(messages.shown, QStringList());
    }

    static QString queryDefault(const QString &type)
    {
        QProcess process;
        process.start("xdg-mime", {"query", "default", type});
        EXPECT_TRUE(process.waitForFinished(20000)) << "xdg-mime hangs";
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir root;
    std::vector<std::pair<const char *, QByteArray>> saved;
    const QString configHome = root.filePath("config");
    const QString dataHome = root.filePath("data");
    const QString systemData = root.filePath("usr/share");
    const QString userList = configHome + "/mimeapps.list";
    const QString programPath = root.filePath("opt/zorvan");
    const QString entryPath = dataHome + "/applications/zorvanplayer.desktop";
    MimeRegistry registry{programPath, configHome + "/zorvan"};
    RecordedMessages messages;
    Regist regist{registry, messages};
};

const QStringList WavTypes{"audio/x-wav", "audio/wav", "audio/vnd.wave"};
constexpr AssociationTicks OnlyWav{false, false, false, true};

TEST_F(MimeAliasTest, TakingWavOverCoversEveryAliasAndKeepsTheDefaultItReplaced)
{
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wav", ""), "oldplayer.desktop")
        << "the system's default, named by an alias";
    confirmAssociations(regist, programPath, OnlyWav);
    for (const QString &type : WavTypes)
        EXPECT_EQ(queryDefault(type), "zorvanplayer.desktop") << type.toStdString();
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wav", "zorvan.back"), "oldplayer.desktop");
    const QByteArray entry = readFile(entryPath);
    for (const QString &type : WavTypes)
        EXPECT_TRUE(entry.contains(type.toUtf8() + ';')) << entry.toStdString();

    confirmAssociations(regist, programPath, {});
    EXPECT_EQ(queryDefault("audio/wav"), "oldplayer.desktop");
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wav", ""), "oldplayer.desktop");
    EXPECT_FALSE(readFile(userList).contains("audio/"))
        << "the system gives the old player again by itself";
    EXPECT_FALSE(readFile(entryPath).contains("MimeType"));
}

TEST_F(MimeAliasTest, AUsersOwnDefaultUnderAnAliasIsGivenBackUnderEveryType)
{
    writeFile(systemData + "/applications/mimeapps.list", "");
    writeFile(userList, "[Default Applications]\naudio/x-wav=missing.desktop\n"
                        "audio/vnd.wave=oldplayer.desktop\n");
    confirmAssociations(regist, programPath, OnlyWav);
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wav", "zorvan.back"), "oldplayer.desktop")
        << "the first installed one";
    confirmAssociations(regist, programPath, {});
    for (const QString &type : WavTypes)
        EXPECT_EQ(queryDefault(type), "oldplayer.desktop") << type.toStdString();
}

} // namespace
