#include <QFileInfo>

#include <gtest/gtest.h>

#include "persist/association.h"
#include "test_mimeregistryfixture.h"

namespace {

const AssociationTicks None{};
const AssociationTicks Mp3Only{false, true, false, false};
const AssociationTicks WavOnly{false, false, false, true};
const AssociationTicks All{true, true, true, true};

class MimeAssociationTest : public MimeDesktopTest
{
protected:
    QString backup(const char *extension)
    {
        return regist.ReadRegValue(QStringLiteral("HKEY_CLASSES_ROOT\\.") + extension,
                                   "zorvan.back");
    }
};

TEST_F(MimeAssociationTest, TakingMp3OverKeepsTheOtherEntryAsBackup)
{
    installEntry(userApplications, "other.desktop", "true %f", "audio/mpeg;");
    writeFile(userList, "[Default Applications]\naudio/mpeg=other.desktop\n");
    ASSERT_EQ(queryDefault("audio/mpeg"), "other.desktop");
    EXPECT_EQ(readAssociationTicks(regist), None);

    confirmAssociations(regist, programPath, Mp3Only);
    EXPECT_EQ(queryDefault("audio/mpeg"), "zorvanplayer.desktop");
    EXPECT_EQ(readAssociationTicks(regist), Mp3Only);
    EXPECT_EQ(backup("mp3"), "other.desktop");

    confirmAssociations(regist, programPath, Mp3Only);
    EXPECT_EQ(backup("mp3"), "other.desktop");

    confirmAssociations(regist, programPath, None);
    EXPECT_EQ(queryDefault("audio/mpeg"), "other.desktop");
    EXPECT_EQ(readAssociationTicks(regist), None);
    EXPECT_EQ(backup("mp3"), "other.desktop");
    EXPECT_EQ(readFile(userList), "[Default Applications]\naudio/mpeg=other.desktop\n");
}

TEST_F(MimeAssociationTest, GivingBackATypeTakenOverMeanwhileChangesNothing)
{
    installEntry(userApplications, "other.desktop", "true %f", "audio/mpeg;");
    installEntry(systemApplications, "third.desktop", "true %f", "audio/mpeg;");
    writeFile(userList, "[Default Applications]\naudio/mpeg=other.desktop\n");
    confirmAssociations(regist, programPath, Mp3Only);

    writeFile(userList, "[Default Applications]\naudio/mpeg=third.desktop\n");
    const QByteArray entry = readFile(entryPath);
    confirmAssociations(regist, programPath, None);
    EXPECT_EQ(readFile(userList), "[Default Applications]\naudio/mpeg=third.desktop\n");
    EXPECT_EQ(readFile(entryPath), entry);
    EXPECT_EQ(queryDefault("audio/mpeg"), "third.desktop");
}

TEST_F(MimeAssociationTest, ATypeWithoutDefaultEndsWithoutOne)
{
    installEntry(userApplications, "other.desktop", "true %f", "audio/mpeg;");
    ASSERT_EQ(queryDefault("audio/x-wav"), "");

    confirmAssociations(regist, programPath, WavOnly);
    EXPECT_EQ(queryDefault("audio/x-wav"), "zorvanplayer.desktop");
    EXPECT_EQ(backup("wav"), "");

    confirmAssociations(regist, programPath, None);
    EXPECT_EQ(queryDefault("audio/x-wav"), "");
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wav", ""), "Error");
    EXPECT_EQ(readFile(userList), "[Default Applications]\n");
    EXPECT_FALSE(readFile(entryPath).contains("MimeType")) << readFile(entryPath).toStdString();
}

TEST_F(MimeAssociationTest, OtherLinesOfTheUsersListKeepTheirBytes)
{
    installEntry(systemApplications, "other.desktop", "true %f", "audio/mpeg;");
    const QByteArray head = "# chosen by hand\n"
                            "[Added Associations]\r\n"
                            "audio/mpeg=other.desktop;\n"
                            "\n"
                            "[Default Applications]\n"
                            "text/html = firefox.desktop\n"
                            "audio/mpeg=other.desktop;third.desktop;\n";
    const QByteArray tail = "image/png=eog.desktop\n"
                            "# about the next group\n"
                            "\n"
                            "[Removed Associations]\n"
                            "audio/x-wav=other.desktop";
    writeFile(userList, head + tail);

    confirmAssociations(regist, programPath, WavOnly);
    const QByteArray withWav = head + tail.left(tail.indexOf('#')) +
                               "audio/x-wav=zorvanplayer.desktop\n" + tail.mid(tail.indexOf('#'));
    EXPECT_EQ(readFile(userList), withWav);

    confirmAssociations(regist, programPath, None);
    EXPECT_EQ(readFile(userList), head + tail);

    confirmAssociations(regist, programPath, Mp3Only);
    QByteArray withMp3 = head + tail;
    withMp3.replace("audio/mpeg=other.desktop;third.desktop;\n",
                    "audio/mpeg=zorvanplayer.desktop\n");
    EXPECT_EQ(readFile(userList), withMp3);
    EXPECT_EQ(queryDefault("audio/mpeg"), "zorvanplayer.desktop");
}

TEST_F(MimeAssociationTest, TheEntryIsValidAndRunsTheProgram)
{
    confirmAssociations(regist, programPath, All);
    int exitCode = -1;
    EXPECT_EQ(run("desktop-file-validate", {entryPath}, &exitCode), "");
    EXPECT_EQ(exitCode, 0);
    const QByteArray entry = readFile(entryPath);
    for (const QByteArray &line : QByteArrayList{
             "Type=Application\n", "Name=岚铃播放器\n", "Comment=岚铃播放器 文件\n",
             "Icon=zorvanplayer\n", "Exec=" + programPath.toUtf8() + " %f\n",
             "MimeType=application/vnd.apple.mpegurl;audio/x-mpegurl;audio/mpeg;audio/x-ms-wma;"
             "audio/x-wav;\n"}) {
        EXPECT_TRUE(entry.contains(line)) << line.toStdString() << "\nin\n" << entry.toStdString();
    }
    for (const char *type : {"audio/x-mpegurl", "application/vnd.apple.mpegurl", "audio/mpeg",
                             "audio/x-ms-wma", "audio/x-wav"}) {
        EXPECT_EQ(queryDefault(type), "zorvanplayer.desktop") << type;
    }
}

TEST_F(MimeAssociationTest, AProgramPathCannotAddArguments)
{
    struct Case
    {
        const char *path;
        const char *execLine;
    };
    // The file holds the Exec value with its string escapes: "\\" for each backslash.
    const Case cases[] = {
        {"/opt/my player/zorvan", R"(Exec="/opt/my player/zorvan" %f)"},
        {"/opt/a\" --evil \"b/zorvan", R"(Exec="/opt/a\\" --evil \\"b/zorvan" %f)"},
        {"/opt/$HOME/`id`/zorvan", R"(Exec="/opt/\\$HOME/\\`id\\`/zorvan" %f)"},
        {"/opt/back\\slash %f/zorvan", R"(Exec="/opt/back\\\\slash %%f/zorvan" %f)"},
        {"/opt/50%/zorvan", R"(Exec=/opt/50%%/zorvan %f)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        const QString path = QString::fromUtf8(c.path);
        confirmAssociations(regist, path, Mp3Only);
        const QByteArray entry = readFile(entryPath);
        EXPECT_TRUE(entry.contains(QByteArray(c.execLine) + '\n')) << entry.toStdString();
        int exitCode = -1;
        EXPECT_EQ(run("desktop-file-validate", {entryPath}, &exitCode), "");
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(
            regist.ReadRegValue("HKEY_CLASSES_ROOT\\zorvanplayer.file\\shell\\open\\command", ""),
            path);
    }
}

} // namespace
