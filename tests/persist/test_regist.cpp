#include <tuple>

#include <QString>

#include <gtest/gtest.h>

#include "memoryregistry.h"
#include "persist/regist.h"

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

TEST_F(RegistTest, SplitRegPathSeparatesRootAndSubKey)
{
    // rest: the sub-key left in the path; a refused path stays whole and is shown.
    const std::tuple<const char *, RootKey, const char *, bool> cases[] = {
        {"HKEY_CURRENT_USER\\Software\\A", RootKey::CurrentUser, "Software\\A", false},
        {"HKEY_DYN_DATA", RootKey::DynData, "", false},
        {"HKEY_NOWHERE\\x", RootKey::None, "x", false},
        {"HKEY_CLASSES_ROOT \\x", RootKey::None, "x", false},
        {"HKEY_CLASSES_ROOT\\.mp3\\", RootKey::None, "HKEY_CLASSES_ROOT\\.mp3\\", true},
        {"hkey_classes_root\\.mp3", RootKey::None, "hkey_classes_root\\.mp3", true},
    };
    for (const auto &[original, root, rest, isRefused] : cases) {
        messages.shown.clear();
        QString path = QString::fromLatin1(original);
        EXPECT_EQ(regist.SplitRegPath(path), root) << original;
        EXPECT_EQ(path, QString::fromLatin1(rest)) << original;
        EXPECT_EQ(messages.shown,
                  isRefused ? QStringList{"Incorrect Format:\n\n" + QString::fromLatin1(original)}
                            : QStringList{})
            << original;
    }
}

TEST_F(RegistTest, ReadRegValueReportsFailuresAsText)
{
    put("HKEY_CLASSES_ROOT\\.mp3", "", "   AudioFile  ");
    put("HKEY_CLASSES_ROOT\\.mp3", "tabbed", "\tx");
    put("HKEY_CLASSES_ROOT", "", "the root");
    const std::tuple<const char *, const char *, const char *> cases[] = {
        {"HKEY_CLASSES_ROOT\\.MP3", "", "AudioFile  "},
        {"HKEY_CLASSES_ROOT\\.mp3", "tabbed", "\tx"},
        {"HKEY_CLASSES_ROOT", "", "the root"},
        {"HKEY_CLASSES_ROOT\\.mp3", "absent", "Error"},
        {"HKEY_CLASSES_ROOT\\.wma", "", "Error"},
        {"HKEY_NOWHERE\\.mp3", "", ""},
    };
    for (const auto &[path, valueName, expected] : cases)
        EXPECT_EQ(regist.ReadRegValue(path, valueName), expected) << path << " " << valueName;
}

TEST_F(RegistTest, ValuesOf255CodePageBytesReadAsError)
{
    // Counted in code-page bytes (two for 岚) before leading spaces are removed.
    const QString han = u"岚"_qs;
    const std::pair<QString, bool> cases[] = {
        {QString(254, u'a'), true}, {QString(255, u'a'), false},        {han.repeated(127), true},
        {han.repeated(128), false}, {"  " + QString(253, u'a'), false},
    };
    for (const auto &[text, fits] : cases) {
        put("HKEY_CURRENT_USER\\Software", "long", text);
        EXPECT_EQ(regist.ReadRegValue("HKEY_CURRENT_USER\\Software", "long"),
                  fits ? text : u"Error"_qs)
            << text.size() << " characters";
    }
}

TEST_F(RegistTest, CreateRegKeyCreatesEveryMissingKeyAndKeepsValues)
{
    put("HKEY_CURRENT_USER\\Software", "kept", "yes");
    regist.CreateRegKey("HKEY_CURRENT_USER\\SOFTWARE\\Zorvan\\Player");
    EXPECT_EQ(registry.keyCount(), 3);
    regist.WriteRegValue("HKEY_CURRENT_USER\\Software\\Zorvan", "", "middle");
    EXPECT_EQ(regist.ReadRegValue("HKEY_CURRENT_USER\\Software\\Zorvan", ""), "middle");
    EXPECT_EQ(regist.ReadRegValue("HKEY_CURRENT_USER\\Software", "kept"), "yes");
}

TEST_F(RegistTest, MalformedPathsAndMissingKeysWriteNothing)
{
    for (const char *path : {"HKEY_NOWHERE\\Software", "HKEY_CURRENT_USER\\Software\\",
                             "Software\\Zorvan", "HKEY_CURRENT_USER\\A\\\\B"}) {
        regist.CreateRegKey(path);
        regist.WriteRegValue(path, "", "x");
        EXPECT_EQ(registry.keyCount(), 0) << path;
    }
    EXPECT_EQ(messages.shown.size(), 4);
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.wav", "", "AudioFile");
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wav", ""), "Error");
}

} // namespace
