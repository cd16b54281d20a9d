#include "core/playorder.h"

#include <algorithm>
#include <utility>

#include <QRandomGenerator>

namespace {

// How many entries played are kept for going back.
constexpr int HistoryLimit = 1000;

} // namespace

PlayOrder::PlayOrder(RandomSource random) : m_random(std::move(random)) {}

void PlayOrder::setRandomSource(RandomSource random)
{
    m_random = std::move(random);
}

int PlayOrder::draw(int bound) const
{
    if (bound <= 1)
        return 0;
    const int drawn = m_random ? m_random(bound) : int(QRandomGenerator::global()->bounded(bound));
    return std::clamp(drawn, 0, bound - 1);
}

void PlayOrder::setShuffled(bool on)
{
    if (m_isShuffled == on)
        return;
    const int row = current();
    m_isShuffled = on;
    m_current = on ? -1 : row;
    m_sequence.clear();
    m_pos = -1;
    m_hasCurrent = false;
    m_restStart = 0;
    m_isDrawnAhead = false;
    if (!on || m_count == 0)
        return;
    drawRound();
    if (row >= 0)
        jumpTo(row);
}

void PlayOrder::setLooping(bool on)
{
    m_loops = on;
    if (!on && m_isDrawnAhead)
        m_sequence.erase(m_sequence.begin() + m_restStart, m_sequence.end());
    m_isDrawnAhead = false;
    keepRoundGoing();
}

void PlayOrder::reset(int count)
{
    m_count = count;
    const bool shuffled = m_isShuffled;
    m_isShuffled = false;
    m_current = -1;
    setShuffled(shuffled);
}

void PlayOrder::insertRows(int first, int count)
{
    m_count += count;
    if (!m_isShuffled) {
        if (m_current >= first)
            m_current += count;
        return;
    }
    for (int &row : m_sequence) {
        if (row >= first)
            row += count;
    }
    for (int row = first; row < first + count; ++row) {
        const int rest = int(m_sequence.size()) - m_restStart;
        m_sequence.insert(m_sequence.begin() + m_restStart + draw(rest + 1), row);
    }
    keepRoundGoing();
}

void PlayOrder::removeRows(int first, int count)
{
    const int last = first + count - 1;
    m_count -= count;
    if (!m_isShuffled) {
        if (m_current > last)
            m_current -= count;
        else if (m_current >= first)
            m_current = -1;
        return;
    }
    if (m_count <= 0) {
        reset(0);
        return;
    }
    for (int index = int(m_sequence.size()) - 1; index >= 0; --index) {
        int &row = m_sequence[std::size_t(index)];
        if (row > last)
            row -= count;
        else if (row >= first)
            eraseAt(index);
    }
    keepRoundGoing();
}

void PlayOrder::eraseAt(int index)
{
    if (index == m_pos)
        m_hasCurrent = false;
    m_sequence.erase(m_sequence.begin() + index);
    if (index <= m_pos)
        --m_pos;
    if (index < m_restStart)
        --m_restStart;
}

int PlayOrder::current() const
{
    if (!m_isShuffled)
        return m_current;
    return m_hasCurrent ? m_sequence[std::size_t(m_pos)] : -1;
}

void PlayOrder::setCurrent(int row)
{
    if (row < 0 || row >= m_count || row == current())
        return;
    if (!m_isShuffled) {
        m_current = row;
        return;
    }
    const int next = m_pos + 1;
    if (next < int(m_sequence.size()) && m_sequence[std::size_t(next)] == row)
        moveForward();
    else
        jumpTo(row);
}

int PlayOrder::step(int from, int direction, End end)
{
    if (m_count == 0)
        return -1;
    if (from >= 0)
        setCurrent(from);
    const bool stopsAtEnd = end == End::Follow && !m_loops;
    if (!m_isShuffled) {
        const int row = m_current;
        if (direction < 0)
            m_current = row < 1 ? m_count - 1 : row - 1;
        else if (row == m_count - 1 && stopsAtEnd)
            return -1;
        else
            m_current = (row < 0 || row >= m_count - 1) ? 0 : row + 1;
        return m_current;
    }
    if (direction > 0) {
        if (m_pos + 1 >= int(m_sequence.size()) && (stopsAtEnd || !drawRound()))
            return -1;
        moveForward();
        return current();
    }
    // Back through the entries played; before the first of them, the order wraps to the
    // last entry planned, which then counts as played before them.
    const int back = m_hasCurrent ? m_pos - 1 : m_pos;
    if (back >= 0) {
        m_pos = back;
        m_hasCurrent = true;
        return current();
    }
    if (m_restStart >= int(m_sequence.size()) && !drawRound())
        return -1;
    const int row = m_sequence.back();
    m_sequence.pop_back();
    m_sequence.insert(m_sequence.begin(), row);
    m_pos = 0;
    m_hasCurrent = true;
    ++m_restStart;
    m_isDrawnAhead = false;
    keepRoundGoing();
    return row;
}

int PlayOrder::upcoming(int from) const
{
    PlayOrder trial = *this;
    trial.m_mayDraw = false;
    return trial.step(from, 1, End::Follow);
}

void PlayOrder::moveForward()
{
    ++m_pos;
    m_hasCurrent = true;
    if (m_pos >= m_restStart) {
        m_restStart = m_pos + 1;
        m_isDrawnAhead = false;
    }
    keepRoundGoing();
    forgetOldHistory();
}

void PlayOrder::jumpTo(int row)
{
    // A new choice ends the way forward through the entries played, as in a browser.
    m_sequence.erase(m_sequence.begin() + m_pos + 1, m_sequence.begin() + m_restStart);
    m_restStart = m_pos + 1;
    const auto planned = std::find(m_sequence.begin() + m_restStart, m_sequence.end(), row);
    if (planned != m_sequence.end()) {
        m_sequence.erase(planned);
        m_isDrawnAhead = false;
    }
    m_sequence.insert(m_sequence.begin() + m_restStart, row);
    m_pos = m_restStart;
    m_restStart = m_pos + 1;
    m_hasCurrent = true;
    keepRoundGoing();
    forgetOldHistory();
}

bool PlayOrder::drawRound()
{
    if (!m_mayDraw || m_count == 0)
        return false;
    std::vector<int> round(std::size_t(m_count), 0);
    for (int i = 0; i < m_count; ++i)
        round[std::size_t(i)] = i;
    for (int i = m_count - 1; i > 0; --i)
        std::swap(round[std::size_t(i)], round[std::size_t(draw(i + 1))]);
    // The entry heard last does not come again straight away.
    if (m_count > 1 && !m_sequence.empty() && round.front() == m_sequence.back()) {
        const int other = 1 + draw(m_count - 1);
        std::swap(round.front(), round[std::size_t(other)]);
    }
    m_sequence.insert(m_sequence.end(), round.begin(), round.end());
    return true;
}

void PlayOrder::keepRoundGoing()
{
    if (m_isShuffled && m_loops && m_restStart >= int(m_sequence.size()) && drawRound())
        m_isDrawnAhead = true;
}

void PlayOrder::forgetOldHistory()
{
    const int excess = m_pos - HistoryLimit;
    if (excess <= 0)
        return;
    m_sequence.erase(m_sequence.begin(), m_sequence.begin() + excess);
    m_pos -= excess;
    m_restStart -= excess;
}
