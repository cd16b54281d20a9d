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

TEST(RootKeyFromNameTest, MatchesTheSevenNamesExactly)
{
    const std::pair<const char *, RootKey> cases[] = {
        {"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},
        {"HKEY_CURRENT_USER", RootKey::CurrentUser},
        {"HKEY_LOCAL_MACHINE", RootKey::LocalMachine},
        {"HKEY_USERS", RootKey::Users},
        {"HKEY_PERFORMANCE_DATA", RootKey::PerformanceData},
        {"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
        {"HKEY_DYN_DATA", RootKey::DynData},
        {"hkey_classes_root", RootKey::None},
        {"HKEY_CLASSES_ROOT ", RootKey::None},
        {"HKEY_CLASSES", RootKey::None},
        {"", RootKey::None},
    };
    for (const auto &[name, root] : cases)
        EXPECT_EQ(Regist::RootKeyFromName(QString::fromLatin1(name)), root) << name;
    EXPECT_EQ(quint32(Regist::RootKeyFromName(u"HKEY_DYN_DATA"_qs)), 0x80000006u);
}

TEST_F(RegistTest, SplitRegPathSeparatesRootAndSubKey)
{
    struct Case
    {
        const char *path;
        RootKey root;
        const char *rest;
        bool isRefused;
    };
    const Case cases[] = {
        {"HKEY_CLASSES_ROOT\\.mp3", RootKey::ClassesRoot, ".mp3", false},
        {"HKEY_CURRENT_USER\\Software\\A\\B", RootKey::CurrentUser, "Software\\A\\B", false},
        {"HKEY_CLASSES_ROOT", RootKey::ClassesRoot, "", false},
        {"HKEY_NOWHERE\\x", RootKey::None, "x", false},
        {"HKEY_NOWHERE", RootKey::None, "", false},
        {"HKEY_CLASSES_ROOT\\.mp3\\", RootKey::None, "HKEY_CLASSES_ROOT\\.mp3\\", true},
        {"HKEY_CLASSES_ROOT\\", RootKey::None, "HKEY_CLASSES_ROOT\\", true},
        {"hkey_classes_root\\.mp3", RootKey::None, "hkey_classes_root\\.mp3", true},
        {"\\HKEY_CLASSES_ROOT\\.mp3", RootKey::None, "\\HKEY_CLASSES_ROOT\\.mp3", true},
        {"", RootKey::None, "", true},
    };
    for (const Case &c : cases) {
        messages.shown.clear();
        QString path = QString::fromLatin1(c.path);
        EXPECT_EQ(regist.SplitRegPath(path), c.root) << c.path;
        EXPECT_EQ(path, QString::fromLatin1(c.rest)) << c.path;
        const QStringList expected =
            c.isRefused ? QStringList{"Incorrect Format:\n\n" + QString::fromLatin1(c.path)}
                        : QStringList{};
        EXPECT_EQ(messages.shown, expected) << c.path;
    }
}

TEST_F(RegistTest, ReadRegValueReportsFailuresAsText)
{
    put("HKEY_CLASSES_ROOT\\.mp3", "", "   AudioFile  ");
    put("HKEY_CLASSES_ROOT\\.mp3", "tabbed", "\tx");
    put("HKEY_CLASSES_ROOT", "", "the root");
    struct Case
    {
        const char *path;
        const char *valueName;
        const char *expected;
    };
    const Case cases[] = {
        {"HKEY_CLASSES_ROOT\\.mp3", "", "AudioFile  "},
        {"HKEY_CLASSES_ROOT\\.MP3", "", "AudioFile  "},
        {"HKEY_CLASSES_ROOT\\.mp3", "tabbed", "\tx"},
        {"HKEY_CLASSES_ROOT", "", "the root"},
        {"HKEY_CLASSES_ROOT\\.mp3", "absent", "Error"},
        {"HKEY_CLASSES_ROOT\\.wma", "", "Error"},
        {"HKEY_CLASSES_ROOT\\\\.mp3", "", "Error"},
        {"HKEY_CURRENT_USER\\.mp3", "", "Error"},
        {"HKEY_NOWHERE\\.mp3", "", ""},
        {"HKEY_CLASSES_ROOT\\.mp3\\", "", ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(
            regist.ReadRegValue(QString::fromLatin1(c.path), QString::fromLatin1(c.valueName)),
            QString::fromLatin1(c.expected))
            << c.path << " " << c.valueName;
    }
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST_F(RegistTest, ValuesOf255BytesOrMoreReadAsError)
{
    // The limit counts code-page bytes before spaces are removed: 254 bytes and the null fit.
    const QString han = u"岚"_qs;
    struct Case
    {
        QString text;
        bool fits;
    };
    const Case cases[] = {
        {QString(254, u'a'), true},
        {QString(255, u'a'), false},
        {QString(1000, u'a'), false},
        {han.repeated(127), true},
        {han.repeated(128), false},
        {u"  "_qs + QString(252, u'a'), true},
        {u"  "_qs + QString(253, u'a'), false},
        {han.repeated(126) + u"ab"_qs, true},
        {han.repeated(126) + u"abc"_qs, false},
    };
    for (const Case &c : cases) {
        put("HKEY_CURRENT_USER\\Software\\Zorvan", "long", c.text);
        ASSERT_EQ(registry.storedValue(RootKey::CurrentUser, "Software\\Zorvan", "long"), c.text);
        const QString expected = c.fits ? c.text.trimmed() : u"Error"_qs;
        EXPECT_EQ(regist.ReadRegValue("HKEY_CURRENT_USER\\Software\\Zorvan", "long"), expected)
            << c.text.size() << " characters";
    }
}

TEST_F(RegistTest, CreateRegKeyCreatesEveryMissingKeyAndKeepsValues)
{
    put("HKEY_CURRENT_USER\\Software", "kept", "yes");
    regist.CreateRegKey("HKEY_CURRENT_USER\\Software\\Zorvan\\Player\\Files");
    EXPECT_EQ(registry.keyCount(), 4);
    for (const char *path :
         {"HKEY_CURRENT_USER\\Software\\Zorvan", "HKEY_CURRENT_USER\\Software\\Zorvan\\Player",
          "HKEY_CURRENT_USER\\Software\\Zorvan\\Player\\Files"}) {
        regist.WriteRegValue(path, "", path);
        EXPECT_EQ(regist.ReadRegValue(path, ""), QString::fromLatin1(path));
    }
    regist.CreateRegKey("HKEY_CURRENT_USER\\SOFTWARE");
    EXPECT_EQ(registry.keyCount(), 4);
    EXPECT_EQ(regist.ReadRegValue("HKEY_CURRENT_USER\\Software", "kept"), "yes");
}

TEST_F(RegistTest, MalformedPathsCreateAndWriteNothing)
{
    for (const char *path :
         {"HKEY_NOWHERE\\Software", "HKEY_CURRENT_USER\\Software\\", "Software\\Zorvan",
          "HKEY_CURRENT_USER\\A\\\\B", "HKEY_CURRENT_USER\\\\A"}) {
        regist.CreateRegKey(path);
        regist.WriteRegValue(path, "", "x");
        EXPECT_EQ(registry.keyCount(), 0) << path;
    }
    EXPECT_EQ(messages.shown.size(), 4);
}

TEST_F(RegistTest, WriteRegValueNeedsAnExistingKey)
{
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.wav", "", "AudioFile");
    EXPECT_EQ(registry.keyCount(), 0);
    EXPECT_EQ(regist.ReadRegValue("HKEY_CLASSES_ROOT\\.wav", ""), "Error");

    // The root key always exists, and writing has no size limit.
    regist.WriteRegValue("HKEY_CLASSES_ROOT", "big", QString(300, u'x'));
    EXPECT_EQ(registry.storedValue(RootKey::ClassesRoot, "", "big"), QString(300, u'x'));
    EXPECT_EQ(messages.shown.size(), 0);
}

TEST(RegistryBackendTest, HandlesCarryTheirAccessUntilClosed)
{
    MemoryRegistry registry;
    const auto created = registry.createKey(RootKey::Users, "a\\b");
    ASSERT_TRUE(created);
    EXPECT_TRUE(registry.setValue(*created, "", "v"));
    const auto reader = registry.openKey(RootKey::Users, "A\\B", RegistryAccess::Read);
    const auto writer = registry.openKey(RootKey::Users, "a\\b", RegistryAccess::Write);
    ASSERT_TRUE(reader && writer);
    EXPECT_EQ(registry.queryValue(*reader, ""), "v");
    EXPECT_FALSE(registry.setValue(*reader, "", "w"));
    EXPECT_EQ(registry.queryValue(*writer, ""), std::nullopt);
    EXPECT_TRUE(registry.setValue(*writer, "", "w"));
    EXPECT_EQ(registry.openKeyCount(), 3);
    for (const auto handle : {*created, *reader, *writer})
        registry.closeKey(handle);
    EXPECT_EQ(registry.openKeyCount(), 0);
    EXPECT_EQ(registry.queryValue(*reader, ""), std::nullopt);
    EXPECT_FALSE(registry.setValue(*writer, "", "x"));
    EXPECT_FALSE(registry.openKey(RootKey::None, "a", RegistryAccess::Read));
    EXPECT_FALSE(registry.createKey(RootKey(0x80000007), "a"));
}

} // namespace
