#include "associations/regist.h"

#include <optional>

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "associations/association.h"
#include "fakes/memoryregistry.h"
#include "fakes/recordedmessages.h"

namespace {

class RegistTest : public testing::Test
{
protected:
    void TearDown() override { EXPECT_EQ(registry.openKeyCount(), 0) << "a key was left open"; }

    void put(const QString &keyPath, const QString &valueName, const QString &text)
    {
        regist.CreateRegKey(keyPath);
        regist.WriteRegValue(keyPath, valueName, text);
    }

    MemoryRegistry registry;
    RecordedMessages messages;
    Regist regist{registry, messages};
};

// Values are stored (unless nothing is given) and read back in the table's order. Lengths
// are counted in code-page bytes (two for 岚), with the end mark, before leading spaces go.
// Root names match exactly; a path must begin with "HKEY_" and not end with "\\", or it is
// shown as malformed.
TEST_F(RegistTest, ReadRegValueTrimsLeadingSpacesAndReportsFailuresAsText)
{
    const QString mp3 = u"HKEY_CLASSES_ROOT\\.mp3"_qs;
    const QString software = u"HKEY_CURRENT_USER\\Software"_qs;
    const QString fitsHan = u"岚"_qs.repeated(127);
    // Key, value name, the text stored (if any) and what reads back.
    const std::tuple<QString, QString, std::optional<QString>, QString> cases[] = {
        {mp3, "", "   AudioFile  ", "AudioFile  "},
        {mp3, "tabbed", "\tx", "\tx"},
        {"HKEY_CLASSES_ROOT", "", "the root", "the root"},
        {mp3, "absent", {}, "Error"},
        {"HKEY_CLASSES_ROOT\\.wma", "", {}, "Error"},
        {"HKEY_NOWHERE\\.mp3", "", {}, ""},
        {"HKEY_CLASSES_ROOT\\.mp3\\", "", {}, ""},
        {"hkey_classes_root\\.mp3", "", {}, ""},
        {software, "han", fitsHan, fitsHan},
        {software, "longHan", fitsHan + QChar(u'岚'), "Error"},
        {software, "spaced", "  " + QString(253, u'a'), "Error"},
    };
    for (const auto &[key, valueName, stored, read] : cases) {
        if (stored)
            put(key, valueName, *stored);
        EXPECT_EQ(regist.ReadRegValue(key, valueName), read)
            << key.toStdString() << " " << valueName.toStdString();
    }
    EXPECT_EQ(messages.shown, QStringList({"Incorrect Format:\n\nHKEY_CLASSES_ROOT\\.mp3\\",
                                           "Incorrect Format:\n\nhkey_classes_root\\.mp3"}));
}

TEST_F(RegistTest, CreateRegKeyMakesEveryMissingKeyAndMalformedPathsWriteNothing)
{
    // A path the reader finds malformed (the table above), and one with an empty key name.
    for (const char *path : {"Software\\Zorvan", "HKEY_CURRENT_USER\\A\\\\B"})
        put(path, "", "x");
    EXPECT_EQ(registry.keyCount(), 0);
    EXPECT_EQ(messages.shown.size(), 2);
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.wav", "", "AudioFile");
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wav", ""), "Error");

    regist.CreateRegKey("HKEY_CURRENT_USER\\Software\\Zorvan\\Player");
    EXPECT_EQ(registry.keyCount(), 3);
}

// Each case has an extension of its own. nullptr: the value is absent, and so is the key
// when both are; an absent value reads "Error".
TEST_F(RegistTest, AssociationTicksTakeOverGiveBackAndReadBack)
{
    const char *ours = "zorvanplayer.file";
    // The value and the backup before (nullptr: absent), whether the type is ticked, both after.
    const struct
    {
        const char *current, *backup;
        bool isTicked;
        const char *currentAfter, *backupAfter;
    } cases[] = {
        {"AudioFile", nullptr, true, ours, "AudioFile"},      // taken over
        {"Other", "AudioFile", true, ours, "Other"},          // an old backup is replaced
        {ours, "AudioFile", true, ours, "AudioFile"},         // already ours: the backup stays
        {ours, "AudioFile", false, "AudioFile", "AudioFile"}, // given back
        {"Other", "AudioFile", false, "Other", "AudioFile"},  // taken over meanwhile
        {nullptr, nullptr, true, ours, ""},  // no key: created, no class kept as none
        {ours, "Error", false, "", "Error"}, // a backup of Error is no class
    };
    int number = 0;
    for (const auto &row : cases) {
        const QString extension = QString::number(++number);
        const QString key = "HKEY_CLASSES_ROOT\\." + extension;
        if (row.current)
            put(key, "", row.current);
        if (row.backup)
            put(key, "zorvan.back", row.backup);
        ApplyAssociation(regist, extension, row.isTicked);
        EXPECT_EQ(regist.ReadRegValue(key, ""), row.currentAfter) << number;
        EXPECT_EQ(regist.ReadRegValue(key, "zorvan.back"), row.backupAfter) << number;
    }

    // Only the exact class name counts as ticked. Ticks confirmed and read back through the
    // options dialog are the dialogs' unit test.
    put("HKEY_CLASSES_ROOT\\.m3u", "", "zorvanplayer.FILE");
    EXPECT_EQ(readAssociationTicks(regist), AssociationTicks{});
    EXPECT_EQ(messages.shown, QStringList{});
}

} // namespace
