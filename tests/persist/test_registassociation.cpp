#include <optional>

#include <QString>

#include <gtest/gtest.h>

#include "memoryregistry.h"
#include "persist/association.h"
#include "persist/regist.h"

namespace {

const QString Ours = u"zorvanplayer.file"_qs;
const QString Mp3Key = u"HKEY_CLASSES_ROOT\\.mp3"_qs;

class RegistAssociationTest : public testing::Test
{
protected:
    void TearDown() override { EXPECT_EQ(registry.openKeyCount(), 0); }

    void put(const QString &keyPath, const QString &valueName, const QString &text)
    {
        regist.CreateRegKey(keyPath);
        regist.WriteRegValue(keyPath, valueName, text);
    }
    std::optional<QString> stored(const QString &valueName) const
    {
        return registry.storedValue(RootKey::ClassesRoot, ".mp3", valueName);
    }

    MemoryRegistry registry;
    RecordedMessages messages;
    Regist regist{registry, messages};
};

TEST_F(RegistAssociationTest, TicksTakeOverAndGiveBack)
{
    // nullopt: the value is absent (it reads as "Error").
    struct Case
    {
        const char *name;
        std::optional<QString> current;
        std::optional<QString> backup;
        bool isTicked;
        std::optional<QString> expectedCurrent;
        std::optional<QString> expectedBackup;
    };
    const Case cases[] = {
        {"take over", u"AudioFile"_qs, std::nullopt, true, Ours, u"AudioFile"_qs},
        {"take over replaces an old backup", u"Other"_qs, u"AudioFile"_qs, true, Ours, u"Other"_qs},
        {"already ours keeps its backup", Ours, u"AudioFile"_qs, true, Ours, u"AudioFile"_qs},
        {"give back", Ours, u"AudioFile"_qs, false, u"AudioFile"_qs, u"AudioFile"_qs},
        {"taken over meanwhile", u"Other"_qs, u"AudioFile"_qs, false, u"Other"_qs, u"AudioFile"_qs},
        {"no previous class is kept as none", std::nullopt, std::nullopt, true, Ours, u""_qs},
        {"empty previous class", u""_qs, std::nullopt, true, Ours, u""_qs},
        {"give back with no backup", Ours, std::nullopt, false, u""_qs, std::nullopt},
        {"give back with an empty backup", Ours, u""_qs, false, u""_qs, u""_qs},
        {"a backup of Error is no class", Ours, u"Error"_qs, false, u""_qs, u"Error"_qs},
        {"unticked and not ours", std::nullopt, std::nullopt, false, std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRegistry caseRegistry;
        Regist caseRegist(caseRegistry, messages);
        caseRegist.CreateRegKey(Mp3Key);
        if (c.current)
            caseRegist.WriteRegValue(Mp3Key, "", *c.current);
        if (c.backup)
            caseRegist.WriteRegValue(Mp3Key, "zorvan.back", *c.backup);

        ApplyAssociation(caseRegist, u"mp3", c.isTicked);

        EXPECT_EQ(caseRegistry.storedValue(RootKey::ClassesRoot, ".mp3", ""), c.expectedCurrent);
        EXPECT_EQ(caseRegistry.storedValue(RootKey::ClassesRoot, ".mp3", "zorvan.back"),
                  c.expectedBackup);
        EXPECT_EQ(caseRegistry.openKeyCount(), 0);
    }
}

TEST_F(RegistAssociationTest, TickingATypeWithoutAKeyCreatesIt)
{
    ApplyAssociation(regist, u"wma", false);
    EXPECT_EQ(registry.keyCount(), 0);
    ApplyAssociation(regist, u"wma", true);
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wma", ""), Ours);
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wma", "zorvan.back"), "");
}

TEST_F(RegistAssociationTest, ConfirmingTwiceKeepsTheFirstBackup)
{
    put(Mp3Key, "", u"AudioFile"_qs);
    const AssociationTicks mp3Only{false, true, false, false};
    confirmAssociations(regist, "/opt/zorvan/zorvan", mp3Only);
    confirmAssociations(regist, "/opt/zorvan/zorvan", mp3Only);
    EXPECT_EQ(stored(""), Ours);
    EXPECT_EQ(stored("zorvan.back"), "AudioFile");

    confirmAssociations(regist, "/opt/zorvan/zorvan", AssociationTicks{});
    EXPECT_EQ(stored(""), "AudioFile");
    EXPECT_EQ(readAssociationTicks(regist), AssociationTicks{});
}

TEST_F(RegistAssociationTest, ConfirmRegistersTheClass)
{
    confirmAssociations(regist, "/opt/岚铃/zorvan", AssociationTicks{true, true, true, true});
    const auto classValue = [this](const QString &subKey) {
        return regist.ReadRegValue("HKEY_CLASSES_ROOT\\zorvanplayer.file" + subKey, "");
    };
    EXPECT_EQ(classValue(""), u"岚铃播放器 文件"_qs);
    EXPECT_EQ(classValue("\\DefaultIcon"), u"/opt/岚铃/zorvan"_qs);
    EXPECT_EQ(classValue("\\shell\\open\\command"), u"/opt/岚铃/zorvan"_qs);
    for (const char *extension : {"m3u", "mp3", "wma", "wav"}) {
        EXPECT_EQ(regist.ReadRegValue(u"HKEY_CLASSES_ROOT\\."_qs + extension, ""), Ours)
            << extension;
    }
    EXPECT_EQ(messages.shown, QStringList{});
}

TEST_F(RegistAssociationTest, TicksShowOnlyTheTypesNamingTheClassExactly)
{
    put("HKEY_CLASSES_ROOT\\.m3u", "", u"zorvanplayer.FILE"_qs);
    put(Mp3Key, "", u"  zorvanplayer.file"_qs);
    put("HKEY_CLASSES_ROOT\\.wma", "", u"zorvanplayer.file "_qs);
    EXPECT_EQ(readAssociationTicks(regist), (AssociationTicks{false, true, false, false}));
}

} // namespace
