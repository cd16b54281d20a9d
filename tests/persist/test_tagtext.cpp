#include "persist/textcodec.h"

#include <gtest/gtest.h>

namespace {

struct TagCase
{
    const char *what;
    const char *hex;
    QString shown;
};

// Legacy tag fields as GStreamer hands them over, their bytes read as ISO-8859-1.
TEST(LegacyTagText, ChineseBytesAreGb18030AndEverythingElseStaysAsItCame)
{
    const TagCase cases[] = {
        {"GB18030 Chinese amid ASCII", "41cdf5b7c62031", u"A王菲 1"_qs},
        {"traditional characters of GBK", "8f888c57d3d1", u"張學友"_qs},
        {"Japanese kana", "a4a2a4a4a4a6", u"あいう"_qs},
        {"a character cut off by a fixed-length field", "d6dcbddcc2d7d6", u"周杰伦"_qs},
        {"Latin-1 whose 'ör' is a GB18030 character too", "426af6726b", u"Björk"_qs},
        {"Latin-1 ending in an accent", "4265796f6e63e9", u"Beyoncé"_qs},
        {"adjacent high bytes that are no GB18030", "41ff30", u"Aÿ0"_qs},
        {"GB18030 without Chinese (a Greek letter)", "a6a1", u"¦¡"_qs},
    };
    for (const TagCase &entry : cases)
        EXPECT_EQ(legacyTagText(QString::fromLatin1(QByteArray::fromHex(entry.hex))), entry.shown)
            << entry.what;
    EXPECT_EQ(legacyTagText(u"Ωàá"_qs), u"Ωàá"_qs) << "above U+00FF: not read as Latin-1";
}

} // namespace
