#include <optional>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/desktopentryexec.h"
#include "platform/desktopentryfile.h"
#include "test_mimeregistryfixture.h"

namespace {

TEST(DesktopEntryExecTest, QuotesOnlyWhatNeedsIt)
{
    struct Case
    {
        const char *argument;
        const char *exec;
    };
    const Case cases[] = {
        {"/usr/bin/zorvan", "/usr/bin/zorvan"},
        {"/opt/岚铃/zorvan", "/opt/岚铃/zorvan"},
        {"/opt/my player/zorvan", "\"/opt/my player/zorvan\""},
        {"/opt/a\"b", "\"/opt/a\\\"b\""},
        {"/opt/a'b", "\"/opt/a'b\""},
        {"/opt/$x`y`", "\"/opt/\\$x\\`y\\`\""},
        {"/opt/a\\b", "\"/opt/a\\\\b\""},
        {"/opt/50%", "/opt/50%%"},
        {"/opt/5 %f", "\"/opt/5 %%f\""},
        {"/opt/a;b|c&d>e<f~g*h?i#j(k)", "\"/opt/a;b|c&d>e<f~g*h?i#j(k)\""},
        {"/opt/line\nbreak", "\"/opt/line\nbreak\""},
        {"", "\"\""},
    };
    for (const Case &c : cases) {
        const QString argument = QString::fromUtf8(c.argument);
        EXPECT_EQ(execArgument(argument), QString::fromUtf8(c.exec)) << c.argument;
        if (!argument.isEmpty()) {
            EXPECT_EQ(execProgram(execArgument(argument) + " %f"), argument) << c.argument;
        }
    }
}

TEST(DesktopEntryExecTest, ReadsTheProgramOfForeignEntries)
{
    const std::pair<const char *, std::optional<QString>> cases[] = {
        {"vlc --started-from-file %U", u"vlc"_qs},
        {"\"/opt/My App/run\" --x %f", u"/opt/My App/run"_qs},
        {"\"/opt/unclosed %f", std::nullopt},
        {"", std::nullopt},
        {" leading", std::nullopt},
    };
    for (const auto &[exec, program] : cases)
        EXPECT_EQ(execProgram(QString::fromUtf8(exec)), program) << exec;
}

TEST(DesktopEntryFileTest, EditsOnlyTheChangedLines)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("x.desktop");
    struct Case
    {
        const char *name;
        QByteArray before;
        void (*edit)(DesktopEntryFile &);
        QByteArray after;
    };
    const Case cases[] = {
        {"replace the first, drop duplicates", "[G]\nk=1\na=2\nk=3\n[H]\nk=4\n",
         [](DesktopEntryFile &file) { file.setValue(u"G", u"k", "new"); },
         "[G]\nk=new\na=2\n[H]\nk=4\n"},
        {"add after the group's last entry", "[G]\na=1\n# note\n\n[H]\n",
         [](DesktopEntryFile &file) { file.setValue(u"G", u"k", "v"); },
         "[G]\na=1\nk=v\n# note\n\n[H]\n"},
        {"add a group to a file without final newline", "# only a comment",
         [](DesktopEntryFile &file) { file.setValue(u"G", u"k", "v"); },
         "# only a comment\n\n[G]\nk=v\n"},
        {"add to an empty file", "", [](DesktopEntryFile &file) { file.setValue(u"G", u"k", "v"); },
         "[G]\nk=v\n"},
        {"keep a missing final newline", "[G]\na=1\nk=2",
         [](DesktopEntryFile &file) { file.setValue(u"G", u"k", "3"); }, "[G]\na=1\nk=3"},
        {"remove keeps CR LF lines", "[G]\r\na=1\r\nk = 2\r\nb=3\r\n",
         [](DesktopEntryFile &file) { file.removeValue(u"G", u"k"); }, "[G]\r\na=1\r\nb=3\r\n"},
        {"escape", "[G]\n",
         [](DesktopEntryFile &file) { file.setValue(u"G", u"k", "  a\\b\nc\td"); },
         "[G]\nk=\\s a\\\\b\\nc\\td\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.before);
        }
        auto file = DesktopEntryFile::load(path);
        ASSERT_TRUE(file);
        c.edit(*file);
        ASSERT_TRUE(file->save(path));
        QFile saved(path);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), c.after);
    }
}

TEST(DesktopEntryFileTest, ValuesRoundTripThroughTheEscapes)
{
    DesktopEntryFile file;
    for (const QString &value : {u"  leading"_qs, u"a\\nb"_qs, u"line\nbreak\r\t"_qs,
                                 u"岚铃 播放器  "_qs, u"\\s"_qs, u""_qs}) {
        file.setValue(u"G", u"k", value);
        EXPECT_EQ(file.value(u"G", u"k"), value);
    }
    EXPECT_EQ(DesktopEntryFile::unescape(u"a\\qb\\"), u"a\\qb\\"_qs);
    EXPECT_EQ(file.value(u"G", u"absent"), std::nullopt);
    EXPECT_EQ(file.value(u"H", u"k"), std::nullopt);
}

class MimeRegistryTest : public MimeDesktopTest
{
protected:
    QString mp3Class() { return regist.ReadRegValue("HKEY_CLASSES_ROOT\\.mp3", ""); }
};

TEST_F(MimeRegistryTest, DefaultFollowsTheListsInTheirOrderAsXdgMimeDoes)
{
    installEntry(userApplications, "user.desktop", "true %f", "audio/mpeg;");
    installEntry(systemApplications, "system.desktop", "/bin/true %f", "audio/mpeg;");
    installEntry(systemApplications + "/vendor", "app.desktop", "true", "audio/mpeg;");
    installEntry(systemApplications, "broken.desktop", "/no/such/program %f", "audio/mpeg;");
    struct Case
    {
        const char *name;
        QString file;
        QByteArray lines;
        const char *expected;
    };
    const QString list = "/mimeapps.list";
    // From the least to the most preferred list, so each case overrides the ones before.
    const Case cases[] = {
        {"system data", systemApplications + list, "audio/mpeg=user.desktop", "user.desktop"},
        {"user data", userApplications + list, "audio/mpeg=system.desktop", "system.desktop"},
        {"system config", systemConfig + list, "audio/mpeg=user.desktop", "user.desktop"},
        {"user config", userList, "audio/mpeg=system.desktop;user.desktop;", "system.desktop"},
        {"vendor folder", userList, "audio/mpeg=vendor-app.desktop", "vendor-app.desktop"},
        {"program missing: the next list", userList, "audio/mpeg=broken.desktop", "user.desktop"},
        {"entry missing: the next list", userList, "audio/mpeg=gone.desktop", "user.desktop"},
        {"ours", userList, "audio/mpeg=zorvanplayer.desktop", "zorvanplayer.file"},
        {"the desktop's own list first", configHome + "/x-generic-mimeapps.list",
         "audio/mpeg=system.desktop", "system.desktop"},
    };
    regist.CreateRegKey("HKEY_CLASSES_ROOT\\zorvanplayer.file");
    ASSERT_EQ(mp3Class(), "Error");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(c.file, "[Default Applications]\n" + c.lines + '\n');
        EXPECT_EQ(mp3Class(), c.expected);
        const QString tool = queryDefault("audio/mpeg");
        EXPECT_EQ(tool, QString(c.expected).replace("zorvanplayer.file", "zorvanplayer.desktop"));
    }
}

TEST_F(MimeRegistryTest, FirstInstalledEntryOfAListCounts)
{
    // xdg-mime 1.1 looks at the first entry of a list only; desktops take the first installed.
    installEntry(systemApplications, "system.desktop", "true %f", "audio/mpeg;");
    writeFile(userList, "[Default Applications]\naudio/mpeg=gone.desktop;system.desktop;\n");
    EXPECT_EQ(mp3Class(), "system.desktop");
}

TEST_F(MimeRegistryTest, ClassKeysExistWithTheEntry)
{
    const QString classKey = "HKEY_CLASSES_ROOT\\zorvanplayer.file";
    EXPECT_EQ(regist.ReadRegValue(classKey + "\\DefaultIcon", ""), "Error");
    regist.WriteRegValue(classKey, "", "description");
    EXPECT_FALSE(QFileInfo::exists(entryPath));

    regist.CreateRegKey(classKey + "\\shell\\open\\command\\ddeexec");
    int exitCode = -1;
    EXPECT_EQ(run("desktop-file-validate", {entryPath}, &exitCode), "");
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(regist.ReadRegValue(classKey + "\\DefaultIcon", ""), programPath);
    EXPECT_EQ(regist.ReadRegValue(classKey + "\\shell\\open\\command", ""), programPath);
    EXPECT_EQ(regist.ReadRegValue(classKey, ""), "Error");

    regist.WriteRegValue(classKey + "\\DefaultIcon", "", "/usr/share/icons/other.png");
    EXPECT_TRUE(readFile(entryPath).contains("\nIcon=/usr/share/icons/other.png\n"));
    EXPECT_EQ(regist.ReadRegValue(classKey + "\\DefaultIcon", ""), "/usr/share/icons/other.png");
    regist.WriteRegValue(classKey + "\\shell\\open\\command\\ddeexec", "", "kept aside");
    EXPECT_EQ(regist.ReadRegValue(classKey + "\\SHELL\\Open\\Command\\ddeexec", ""), "kept aside");
    regist.WriteRegValue(classKey + "\\shell\\open\\command", "", "");
    EXPECT_EQ(regist.ReadRegValue(classKey + "\\shell\\open\\command", ""), programPath);
}

TEST_F(MimeRegistryTest, DefaultsAreSingleEntryIds)
{
    for (const QString &text : {u"a.desktop;b.desktop"_qs,
                                u"a.desktop\n[Default Applications]\nimage/png=b.desktop"_qs}) {
        regist.WriteRegValue("HKEY_CLASSES_ROOT\\.mp3", "", text);
        EXPECT_FALSE(QFileInfo::exists(userList)) << readFile(userList).toStdString();
    }
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.MP3", "", "a.desktop");
    EXPECT_EQ(readFile(userList), "[Default Applications]\naudio/mpeg=a.desktop\n");
}

TEST_F(MimeRegistryTest, OtherKeysLiveInTheProgramFolder)
{
    regist.CreateRegKey("HKEY_CURRENT_USER\\Software\\Zorvan\\Player");
    regist.WriteRegValue("HKEY_CURRENT_USER\\Software\\Zorvan\\Player", "Volume", "-600");
    regist.WriteRegValue("HKEY_CURRENT_USER\\Software\\Missing", "", "lost");
    regist.CreateRegKey("HKEY_CLASSES_ROOT\\.notaknownextension");
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.notaknownextension", "", "SomeClass");
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.mp3", "Content Type", "audio/mpeg");

    MimeRegistry again(programPath, programFolder);
    Regist reader(again, messages);
    EXPECT_EQ(reader.ReadRegValue("HKEY_CURRENT_USER\\SOFTWARE\\zorvan\\player", "volume"), "-600");
    EXPECT_EQ(reader.ReadRegValue("HKEY_CURRENT_USER\\Software\\Zorvan", ""), "Error");
    EXPECT_EQ(reader.ReadRegValue("HKEY_CURRENT_USER\\Software\\Missing", ""), "Error");
    EXPECT_EQ(reader.ReadRegValue("HKEY_CLASSES_ROOT\\.notaknownextension", ""), "SomeClass");
    EXPECT_EQ(reader.ReadRegValue("HKEY_CLASSES_ROOT\\.mp3", "Content Type"), "audio/mpeg");
    EXPECT_EQ(reader.ReadRegValue("HKEY_LOCAL_MACHINE\\Software\\Zorvan", ""), "Error");
    EXPECT_FALSE(QFileInfo::exists(userList));
    EXPECT_EQ(again.openKeyCount(), 0);
}

TEST_F(MimeRegistryTest, AnUnreadableStoreIsNeverOverwritten)
{
    const QString store = programFolder + "/registry.json";
    writeFile(store, "{ not json");
    regist.CreateRegKey("HKEY_CURRENT_USER\\Software\\Zorvan");
    regist.WriteRegValue("HKEY_CURRENT_USER", "x", "y");
    EXPECT_EQ(readFile(store), "{ not json");
    EXPECT_EQ(regist.ReadRegValue("HKEY_CURRENT_USER", "x"), "Error");
}

} // namespace
