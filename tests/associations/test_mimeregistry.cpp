#include <tuple>

#include <QMimeDatabase>
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

// The lines of a mimeapps.list that make `id` the default of `type` and each of its aliases.
QByteArray defaults(const char *type, const QByteArray &id)
{
    QByteArray lines;
    for (const QString &name : QStringList{type} + QMimeDatabase().mimeTypeForName(type).aliases())
        lines += name.toUtf8() + '=' + id + '\n';
    return lines;
}

// A desktop of its own: HOME and the XDG folders in a temporary folder, for this process and
// the tools it runs, with the system's shared MIME database linked in. xdg-mime has no method
// of its own for the X-Generic desktop, so it reads the mimeapps.list files.
class MimeRegistryTest : public testing::Test
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
    }

    void TearDown() override
    {
        // Empty is the same as unset for each of these.
        for (const auto &[name, value] : saved)
            qputenv(name, value);
        EXPECT_EQ(messages.shown, QStringList());
    }

    static void installEntry(const QString &path, const QByteArray &exec)
    {
        writeFile(path, "[Desktop Entry]\nType=Application\nName=x\nExec=" + exec + '\n');
    }

    // The output of a tool run on this desktop, trimmed; a failure when it exits with an error.
    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(20000)) << program.toStdString() << " hangs";
        EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())
            .trimmed();
    }

    QTemporaryDir root;
    std::vector<std::pair<const char *, QByteArray>> saved;
    const QString configHome = root.filePath("config");
    const QString dataHome = root.filePath("data");
    const QString systemData = root.filePath("usr/share");
    const QString userList = configHome + "/mimeapps.list";
    const QString programPath = root.filePath("opt/zorvan");
    const QString entryPath = dataHome + "/applications/zorvanplayer.desktop";
    const QString otherEntry = dataHome + "/applications/other.desktop";
    MimeRegistry registry{programPath, configHome + "/zorvan"};
    RecordedMessages messages;
    Regist regist{registry, messages};
};

TEST_F(MimeRegistryTest, DefaultFollowsTheListsInTheirOrderAsXdgMimeDoes)
{
    installEntry(otherEntry, "true %f");
    installEntry(systemData + "/applications/system.desktop", "/bin/true %f");
    installEntry(systemData + "/applications/broken.desktop", "/no/such/program %f");
    const QString mp3Key = "HKEY_CLASSES_ROOT\\.mp3";
    ASSERT_EQ(regist.ReadRegValue(mp3Key, ""), "Error");
    // Each case overrides the ones before, or falls back to them. The player's own entry read
    // back as its file class is the options dialog's whole-program test.
    const std::tuple<QString, const char *, const char *> cases[] = {
        {systemData + "/applications/mimeapps.list", "other.desktop", "other.desktop"},
        {userList, "system.desktop;other.desktop;", "system.desktop"},
        {userList, "broken.desktop", "other.desktop"},
    };
    for (const auto &[list, ids, expected] : cases) {
        writeFile(list, QByteArray("[Default Applications]\naudio/mpeg=") + ids + '\n');
        EXPECT_EQ(regist.ReadRegValue(mp3Key, ""), expected) << ids;
        EXPECT_EQ(run("xdg-mime", {"query", "default", "audio/mpeg"}), expected);
    }
}

// A default is a single entry id; every other key lives in a store in the program's folder,
// which a broken store file does not let be overwritten.
TEST_F(MimeRegistryTest, DefaultsAreSingleEntryIdsAndOtherKeysLiveInTheProgramsStore)
{
    regist.CreateRegKey("HKEY_CURRENT_USER\\Software\\Zorvan");
    regist.WriteRegValue("HKEY_CURRENT_USER\\Software\\Zorvan", "Volume", "-600");
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.mp3", "Content Type", "audio/mpeg");
    for (const char *text : {"a.desktop;b.desktop", "a.desktop\n[Default Applications]\nx=b"})
        regist.WriteRegValue("HKEY_CLASSES_ROOT\\.mp3", "", text);
    EXPECT_FALSE(QFileInfo::exists(userList)) << readFile(userList).toStdString();
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.MP3", "", "a.desktop");
    EXPECT_EQ(readFile(userList), "[Default Applications]\n" + defaults("audio/mpeg", "a.desktop"));

    MimeRegistry again(programPath, configHome + "/zorvan");
    Regist reader(again, messages);
    EXPECT_EQ(reader.ReadRegValue("HKEY_CURRENT_USER\\SOFTWARE\\zorvan", "volume"), "-600");
    EXPECT_EQ(reader.ReadRegValue("HKEY_CLASSES_ROOT\\.mp3", "Content Type"), "audio/mpeg");

    writeFile(configHome + "/zorvan/registry.json", "{ not json");
    regist.WriteRegValue("HKEY_CURRENT_USER", "x", "y");
    EXPECT_EQ(readFile(configHome + "/zorvan/registry.json"), "{ not json");
    EXPECT_EQ(regist.ReadRegValue("HKEY_CURRENT_USER", "x"), "Error");
}

// Lines of the user's list that a change does not touch keep their bytes, also where a type's
// line is replaced. A type that had no default ends without one, and the entry no longer lists
// it. That a type taken over gets its previous default back is the options dialog's
// whole-program test (test_options_dialog.sh).
TEST_F(MimeRegistryTest, TakingOverAndGivingBackKeepTheRestOfTheUsersList)
{
    installEntry(otherEntry, "true %f");
    const QByteArray head = "# by hand\n[Added Associations]\r\naudio/mpeg=other.desktop;\n\n"
                            "[Default Applications]\ntext/html = a.desktop\n";
    const QByteArray mp3Line = "audio/mpeg = other.desktop;third.desktop;\n";
    const QByteArray tail = "# next group\n\n[Removed Associations]\naudio/x-wav=other.desktop";
    writeFile(userList, head + mp3Line + tail);
    confirmAssociations(regist, programPath, {false, false, false, true}); // wav
    EXPECT_EQ(readFile(userList),
              head + mp3Line + defaults("audio/x-wav", "zorvanplayer.desktop") + tail);
    confirmAssociations(regist, programPath, {});
    EXPECT_EQ(readFile(userList), head + mp3Line + tail);
    EXPECT_FALSE(readFile(entryPath).contains("MimeType")) << readFile(entryPath).toStdString();

    confirmAssociations(regist, programPath, {false, true, false, false}); // mp3
    EXPECT_EQ(readFile(userList), head + defaults("audio/mpeg", "zorvanplayer.desktop") + tail);
}

// A system default named by an alias of the type is the one given back: the user's list
// drops the type, and the system's list gives it again.
TEST_F(MimeRegistryTest, ATypeIsGivenBackToTheSystemsDefaultNamedByAnAlias)
{
    installEntry(systemData + "/applications/old.desktop", "/bin/true %f");
    writeFile(systemData + "/applications/mimeapps.list",
              "[Default Applications]\naudio/wav=old.desktop\n");
    confirmAssociations(regist, programPath, {false, false, false, true}); // wav
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wav", "zorvan.back"), "old.desktop");
    confirmAssociations(regist, programPath, {});
    EXPECT_FALSE(readFile(userList).contains("audio/")) << readFile(userList).toStdString();
}

TEST_F(MimeRegistryTest, TheEntryIsValidForAnyProgramPath)
{
    const QString classKey = "HKEY_CLASSES_ROOT\\zorvanplayer.file";
    for (const QString &path : {programPath, u"/opt/a\" --evil \"b/$HOME/`id`/50%\\x"_qs}) {
        confirmAssociations(regist, path, {true, true, true, true});
        EXPECT_EQ(run("desktop-file-validate", {entryPath}), "");
        EXPECT_EQ(regist.ReadRegValue(classKey + "\\shell\\open\\command", ""), path);
        EXPECT_EQ(regist.ReadRegValue(classKey + "\\DefaultIcon", ""), path);
    }
    for (const char *type : {"audio/x-ms-wma", "application/vnd.apple.mpegurl"})
        EXPECT_EQ(run("xdg-mime", {"query", "default", type}), "zorvanplayer.desktop");
}

} // namespace
