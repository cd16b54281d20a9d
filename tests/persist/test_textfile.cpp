#include "persist/textfile.h"

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "persist/playlistfile.h"
#include "persist/settingsfile.h"
#include "persist/textcodec.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

struct TextFiles : testing::Test
{
    QTemporaryDir m_folder;
};

// /proc/self/maps claims a size of 0 and then gives more: a file that grows while it is
// read. A named pipe is left unopened: opening it would wait for a writer for good, and
// opening it without waiting reads it as empty.
TEST_F(TextFiles, ReadsOnlyRegularFilesWithinTheLimit)
{
    const QString pipe = m_folder.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // Within a limit of eight bytes.
    const std::pair<QString, ReadStatus> cases[] = {
        {writeFile(m_folder.filePath("eight"), "12345678"), ReadStatus::Read},
        {writeFile(m_folder.filePath("nine"), "123456789"), ReadStatus::Unreadable},
        {m_folder.filePath("missing"), ReadStatus::Missing},
        {writeFile(m_folder.filePath("file"), "") + "/below", ReadStatus::Missing},
        {m_folder.path(), ReadStatus::Unreadable},
        {pipe, ReadStatus::Unreadable},
        {"/proc/self/maps", ReadStatus::Unreadable},
    };
    for (const auto &[path, status] : cases) {
        const ReadResult<QString> read = readTextFile(path, 8);
        EXPECT_EQ(read.status, status) << path.toStdString();
        EXPECT_EQ(read.value, status == ReadStatus::Read ? "12345678" : "");
        EXPECT_EQ(read.error.isEmpty(), status != ReadStatus::Unreadable)
            << read.error.toStdString();
    }
    EXPECT_TRUE(readTextFile("/proc/self/maps", SmallTextFileLimit).value.contains("[stack]"));
}

// While it lives, the codec converts through `functions`.
struct ReplacedIconv
{
    explicit ReplacedIconv(IconvFunctions functions) : m_saved(setIconvFunctions(functions)) {}
    ~ReplacedIconv() { setIconvFunctions(m_saved); }
    IconvFunctions m_saved;
};

// With no GB18030 conversion, whether it cannot be set up or breaks off, a reader reports its
// file unreadable and changes nothing, and a writer fails and writes nothing, not even its
// folder: an error, never empty text. Every reader and writer of the player's files goes
// through the same text conversion. Texts that need no GB18030 conversion are still read.
TEST_F(TextFiles, FailingConversionReadsNothingAndLeavesFilesIntact)
{
    const QString path = writeFile(m_folder.filePath("zorvan.set"), "[DONTCHANGETHISSET]\r\n");
    // As on a system without the conversion module, and as a conversion that breaks off.
    IconvFunctions failingOpen, failingConvert;
    // iconv_open's own failure value is (iconv_t)-1.
    failingOpen.open = [](const char *, const char *) {
        return errno = EINVAL, iconv_t(-1); // NOLINT(performance-no-int-to-ptr)
    };
    failingConvert.convert = [](iconv_t, char **, size_t *, char **, size_t *) {
        return errno = EBADF, size_t(-1);
    };
    for (const IconvFunctions &failing : {failingOpen, failingConvert}) {
        const ReplacedIconv replaced(failing);
        SettingsRecord record;
        record.windowLeftTwips = 300;
        const ReadResult<SettingsLoad> settings = LoadSettings(path, record);
        EXPECT_EQ(settings.status, ReadStatus::Unreadable);
        EXPECT_TRUE(settings.error.contains("GB18030")) << settings.error.toStdString();
        EXPECT_EQ(record.windowLeftTwips, 300);
        const WriteResult written = SavePlaylist(m_folder.filePath("new/x.m3u"), {"/a"});
        EXPECT_TRUE(!written.ok && written.error.contains("GB18030"))
            << written.error.toStdString();
        EXPECT_EQ(decodeText("\xEF\xBB\xBF\xE5\xAE\x8B"), QStringLiteral("宋"));
    }
    const ReplacedIconv replaced(failingOpen);
    EXPECT_FALSE(decodeText(QByteArray()));
    EXPECT_FALSE(encodeFileLines({}));
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
}

// While it lives, the kernel refuses to let any file of the process grow past `bytes`: a
// write stops short there and the next one fails, as on a full disk.
struct FileSizeLimit
{
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_saved.rlim_max};
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_signal);
    }
    rlimit m_saved{};
    void (*m_signal)(int) = nullptr;
};

// A file is replaced whole or left byte for byte, with the reason named, and nothing else
// is left in the folder; a replaced file keeps its permissions, and a link its target.
TEST_F(TextFiles, WritesAFileWholeOrLeavesItAsItWas)
{
    struct Case
    {
        QString name;
        QByteArray original; // empty: no file
    };
    const Case cases[] = {{"zorvan.set", "[DONTCHANGETHISSET]\r\n1500\r\n3000\r\n"},
                          {"zorvan.pic", ""}};
    for (const Case &test : cases) {
        const QString path = m_folder.filePath(test.name);
        if (!test.original.isEmpty())
            writeFile(path, test.original);
        WriteResult result;
        {
            const FileSizeLimit limit(100);
            result = writeFileBytes(path, QByteArray(200, 'x'));
        }
        EXPECT_FALSE(result.ok) << test.name.toStdString();
        EXPECT_EQ(result.error, qt_error_string(EFBIG));
        EXPECT_EQ(readFile(path), test.original.isEmpty() ? "<missing>" : test.original);
        EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files).filter(test.name + u'.'),
                  QStringList());
    }
    const QString target = m_folder.filePath("zorvan.set"), link = m_folder.filePath("link");
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    const QFile::Permissions permissions = QFile::permissions(target);
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_TRUE(writeFileBytes(link, "linked").ok);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(target), "linked");
    EXPECT_EQ(QFile::permissions(target), permissions);
}

} // namespace
