#include "persist/textcodec.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

namespace {

// A legacy tag field as GStreamer hands it over when it reads its bytes as ISO-8859-1.
QString readAsLatin1(const char *hex)
{
    return QString::fromLatin1(QByteArray::fromHex(hex));
}

struct TagCase
{
    const char *what;
    const char *hex;
    QString shown;
};

TEST(LegacyTagText, ChineseBytesAreGb18030AndEverythingElseStaysLatin1)
{
    const TagCase cases[] = {
        {"GB18030 Chinese", "baecb6b9", QStringLiteral("红豆")},
        {"with ASCII around it", "41cdf5b7c62031", QStringLiteral("A王菲 1")},
        {"traditional characters of GBK", "8f888c57d3d1", QStringLiteral("張學友")},
        {"Japanese kana", "a4a2a4a4a4a6", QStringLiteral("あいう")},
        {"a character cut off by a fixed-length field", "d6dcbddcc2d7d6",
         QStringLiteral("周杰伦")},
        {"Latin-1 whose 'ör' is a GB18030 character too", "426af6726b", QStringLiteral("Björk")},
        {"Latin-1 with letters apart", "4df6746c6579204372fc65", QStringLiteral("Mötley Crüe")},
        {"Latin-1 ending in an accent", "4265796f6e63e9", QStringLiteral("Beyoncé")},
        {"adjacent high bytes that are no GB18030", "41ff30", QStringLiteral("Aÿ0")},
        {"GB18030 without Chinese (a Greek letter)", "a6a1", QStringLiteral("¦¡")},
        {"plain ASCII", "4142", QStringLiteral("AB")},
    };
    for (const TagCase &entry : cases)
        EXPECT_EQ(legacyTagText(readAsLatin1(entry.hex)), entry.shown) << entry.what;
    EXPECT_EQ(legacyTagText(QStringLiteral("王菲")), QStringLiteral("王菲"))
        << "text read as Unicode already";
    EXPECT_EQ(legacyTagText(QStringLiteral("Ωàá")), QStringLiteral("Ωàá"))
        << "a character above U+00FF: not read as Latin-1";
}

} // namespace
