#include <QString>

#include <gtest/gtest.h>

#include "memoryregistry.h"
#include "persist/association.h"
#include "persist/regist.h"

namespace {

const QString Mp3Key = u"HKEY_CLASSES_ROOT\\.mp3"_qs;

TEST(RegistAssociationTest, TicksTakeOverAndGiveBack)
{
    // nullptr: the value is absent, and so is the key when both are; absent reads "Error".
    struct Case
    {
        const char *name, *current, *backup;
        bool isTicked;
        const char *expectedCurrent, *expectedBackup;
    };
    const char *ours = "zorvanplayer.file";
    const Case cases[] = {
        {"take over", "AudioFile", nullptr, true, ours, "AudioFile"},
        {"take over replaces an old backup", "Other", "AudioFile", true, ours, "Other"},
        {"already ours keeps its backup", ours, "AudioFile", true, ours, "AudioFile"},
        {"give back", ours, "AudioFile", false, "AudioFile", "AudioFile"},
        {"taken over meanwhile", "Other", "AudioFile", false, "Other", "AudioFile"},
        {"no key: created, no class kept as none", nullptr, nullptr, true, ours, ""},
        {"a backup of Error is no class", ours, "Error", false, "", "Error"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRegistry registry;
        RecordedMessages messages;
        Regist regist(registry, messages);
        if (c.current || c.backup)
            regist.CreateRegKey(Mp3Key);
        if (c.current)
            regist.WriteRegValue(Mp3Key, "", c.current);
        if (c.backup)
            regist.WriteRegValue(Mp3Key, "zorvan.back", c.backup);

        ApplyAssociation(regist, u"mp3", c.isTicked);

        EXPECT_EQ(regist.ReadRegValue(Mp3Key, ""), c.expectedCurrent);
        EXPECT_EQ(regist.ReadRegValue(Mp3Key, "zorvan.back"), c.expectedBackup);
        EXPECT_EQ(messages.shown, QStringList{});
    }
}

TEST(RegistAssociationTest, ConfirmRegistersTheClassAndTicksExactNamesOnly)
{
    MemoryRegistry registry;
    RecordedMessages messages;
    Regist regist(registry, messages);
    regist.CreateRegKey("HKEY_CLASSES_ROOT\\.m3u");
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.m3u", "", "zorvanplayer.FILE");
    const AssociationTicks mp3Only{false, true, false, false};
    confirmAssociations(regist, "/opt/岚铃/zorvan", mp3Only);
    EXPECT_EQ(readAssociationTicks(regist), mp3Only);
    const QString classKey = "HKEY_CLASSES_ROOT\\zorvanplayer.file";
    EXPECT_EQ(regist.ReadRegValue(classKey, ""), u"岚铃播放器 文件"_qs);
    EXPECT_EQ(regist.ReadRegValue(classKey + "\\shell\\open\\command", ""), u"/opt/岚铃/zorvan"_qs);
    EXPECT_EQ(messages.shown, QStringList{});
}

} // namespace
