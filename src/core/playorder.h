#pragma once

#include <functional>
#include <vector>

// The order in which the entries of the playlist play, by row: the list's own order, or
// shuffled, and whether it starts again after its end. It knows nothing of songs, only of
// rows, and follows the list through insertions and removals.
//
// Shuffled, the order goes in rounds: each round is a fresh draw in which every entry comes
// once, and the next round is drawn when one ends. The entries played are kept, so that
// previous goes back through them and next goes forward through them again before it goes
// on with the round. An entry the user picks leaves the rest of the round and counts as
// played in it; an entry added gets a place in the rest of the round; one removed is
// dropped from it.
//
// A step past the end of the order wraps around when the user asks for it (next and
// previous); when a track ends it wraps only while the order loops, and otherwise there is
// no next entry.
class PlayOrder
{
public:
    // A whole number drawn evenly from 0 … bound - 1.
    using RandomSource = std::function<int(int bound)>;
    enum class End {
        Wrap,   // past the end the order starts again
        Follow, // it starts again only while it loops
    };

    // Without a source the system's random generator draws.
    explicit PlayOrder(RandomSource random = {});
    void setRandomSource(RandomSource random);

    bool isShuffled() const { return m_isShuffled; }
    // Turned on, the current entry starts a round drawn from the others; turned off, the
    // list's order goes on from the current entry.
    void setShuffled(bool on);
    bool loops() const { return m_loops; }
    void setLooping(bool on);

    // The list's rows.
    int count() const { return m_count; }
    // A new list of `count` entries, none of them current.
    void reset(int count);
    // `count` rows were inserted at `first`, or removed from there.
    void insertRows(int first, int count);
    void removeRows(int first, int count);

    // The current entry; -1 for none (also once it was removed: the order then goes on from
    // where it stood).
    int current() const;
    // `row` has become the current entry (the user picked it, or it plays).
    void setCurrent(int row);
    // One step from `from` in `direction` (1 next, -1 previous): `from` becomes current when
    // it is not (the user has moved on meanwhile), then the entry reached does; it is
    // returned. -1 where the order ends, and then nothing but `from` has changed.
    int step(int from, int direction, End end);
    // The entry that step(from, 1, End::Follow) would reach, without changing anything; -1
    // for none, and also when it is yet to be drawn.
    int upcoming(int from) const;

private:
    // Shuffled: the entry after the current one's place exists (drawing a round if it
    // must); false when none can be.
    bool hasForward();
    void moveForward();
    void jumpTo(int row);
    // Draws a round of every entry after the sequence, not starting with the entry the
    // sequence ends with (unless it is the only one). False when drawing is not allowed.
    bool drawRound();
    // While the order loops there is always a rest of the round: the next round is drawn as
    // soon as the last entry of one has become current.
    void keepRoundGoing();
    void eraseAt(int index);
    void forgetOldHistory();
    int draw(int bound) const;

    RandomSource m_random;
    bool m_isShuffled = false;
    bool m_loops = true;
    // False in the copy that upcoming() steps: it draws nothing.
    bool m_mayDraw = true;
    int m_count = 0;
    // Not shuffled: the current row, -1 for none.
    int m_current = -1;

    // Shuffled: the entries played, oldest first, then the rest of the round. m_pos is the
    // current entry's place, or the place before it once it was removed (-1: before all);
    // the places after it up to m_restStart were played before the user went back.
    std::vector<int> m_sequence;
    int m_pos = -1;
    bool m_hasCurrent = false;
    int m_restStart = 0;
    // The rest is a whole round drawn ahead, none of it played yet: without the loop it goes.
    bool m_isDrawnAhead = false;
};
