#include "core/latestwriter.h"

#include <memory>

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "fakes/gate.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

Q_LOGGING_CATEGORY(lcWriterTest, "zorvan.test.writer")

struct WriterRow
{
    const char *name;
    // Handed to write() in turn; each write adds its byte to the file, '!' fails.
    const char *states;
    // Whether the first write waits on the worker, and whether it goes on before flush() or
    // after it.
    enum class Hold { None, UntilFlush, PastFlush } hold;
    const char *flushError; // empty: flush() succeeds
    // The file when flush() has returned, and when the worker is done.
    QByteArray afterFlush;
    QByteArray atEnd;
};

// The file, then, tells every write done: a write done twice, or an older one after a newer.
TEST(LatestWriter, WritesTheNewestStateOnceAndNeverAnOlderOverIt)
{
    using Hold = WriterRow::Hold;
    const WriterRow rows[] = {
        {"the shutdown writes what is pending, the worker then nothing", "A", Hold::None, "", "A",
         "A"},
        {"a write that does not end fails the shutdown's; the newest waiting follows it", "ABC",
         Hold::PastFlush, "an earlier write does not end", "<missing>", "AC"},
        {"a write that failed on the worker is tried again at shutdown", "!", Hold::UntilFlush,
         "refused", "<missing>", "<missing>"},
    };
    for (const WriterRow &row : rows) {
        QTemporaryDir dir;
        const QString path = dir.filePath("state");
        // Held by every job until it ends.
        auto gate = std::make_shared<Gate>();
        const std::weak_ptr<Gate> heldByJobs = gate;
        WriteResult flushed;
        {
            LatestWriter writer(path, lcWriterTest());
            for (const char *state = row.states; *state != 0; ++state) {
                const bool isHeld = row.hold != Hold::None && state == row.states;
                writer.write([gate, isHeld, state = *state](const QString &target) {
                    if (isHeld)
                        gate->pass();
                    const QByteArray before = QFile::exists(target) ? readFile(target) : "";
                    return state == '!' ? WriteResult{false, QStringLiteral("refused")}
                                        : writeFileBytes(target, before + state);
                });
                if (isHeld) {
                    ASSERT_TRUE(deliverUntil([&] { return gate->passer() != nullptr; }));
                }
            }
            if (row.hold == Hold::UntilFlush)
                gate->open();
            flushed = writer.flush();
            EXPECT_EQ(readFile(path), row.afterFlush) << row.name;
            gate->open();
            EXPECT_TRUE(deliverUntil([&] { return readFile(path) == row.atEnd; })) << row.name;
        }
        gate.reset();
        ASSERT_TRUE(deliverUntil([&] { return heldByJobs.expired(); })) << "the jobs ended";
        EXPECT_EQ(readFile(path), row.atEnd) << row.name;
        EXPECT_EQ(flushed.error, row.flushError) << row.name;
    }
}

} // namespace
