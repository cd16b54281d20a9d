#include "fmmainfixture.h"
#include "ui/playlistbox.h"

namespace {

// A letter typed in the list makes current the next song whose name holds it, not one whose
// path begins with it (the rule itself: tests/core/test_typeahead.cpp).
TEST_F(FmMainTest, ALetterTypedInTheListFindsTheNextSongHoldingIt)
{
    load({"/m/a.mp3", "/e/b.mp3", "/m/Zed.mp3"});
    QTest::keyClick(face().ListSong(), Qt::Key_E);
    EXPECT_EQ(transport().ListSong().CurrentEntry(), 2);
}

} // namespace
