#include <gtest/gtest.h>

#include "core/playlist.h"
#include "core/typeahead.h"
#include "support/qtprinters.h"

namespace {

// Letters typed one after another into the list, each step starting from the row the one
// before made current, as the list box does.
TEST(TypeAheadTest, GathersLettersAndFindsTheNextNameHoldingThem)
{
    Playlist list;
    list.append({"/m/Alpha.mp3", "/m/beta/Gamma.mp3", "/music/delta.MP3", "/m/alphabet.mp3"});
    struct Step
    {
        const char *letters;
        qint64 at;
        int expected;
        const char *why;
    };
    const Step steps[] = {
        {"A", 0, 0, "any case, from the first row when none is current"},
        {"l", 900, 0, "more letters keep the entry that still holds them"},
        {"p", 1900, 0, "each letter within a second of the one before gathers"},
        {"a", 5000, 1, "a new search begins after the current entry"},
        {"b", 5500, 3, "\"ab\" is in no name before the last one"},
        {"bet", 9000, 3, "goes round past the end; a folder's name does not count"},
        {"x", 20000, -1, "no name holds it"},
        {"D", 30000, 2, "from the top again when the current row was lost"},
    };
    TypeAhead typeAhead;
    int current = -1;
    for (const Step &step : steps) {
        const int found = typeAhead.find(list, step.letters, step.at, current);
        EXPECT_EQ(found, step.expected) << step.letters << ": " << step.why;
        current = found;
    }
    EXPECT_EQ(list.findName({}, 0), -1) << "nothing typed finds nothing";
    EXPECT_EQ(Playlist().findName("a", 0), -1);
}

} // namespace
