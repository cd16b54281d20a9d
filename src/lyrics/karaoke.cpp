#include "lyrics/karaoke.h"

#include <algorithm>
#include <cmath>

namespace {

// The characters sung at `position` of the run that fills from `fromCharacter` at `fromTime`
// to `toCharacter` at `toTime`.
double runFill(int fromCharacter, double fromTime, int toCharacter, double toTime,
               double position)
{
    if (position >= toTime)
        return toCharacter;
    if (position <= fromTime)
        return fromCharacter;
    return fromCharacter +
           (toCharacter - fromCharacter) * (position - fromTime) / (toTime - fromTime);
}

} // namespace

double sungCharacters(int length, const QList<WordStamp> &stamps, double start, double end,
                      double position)
{
    int character = 0;
    double time = start;
    for (const WordStamp &stamp : stamps) {
        const int nextCharacter = std::clamp(stamp.character, character, std::max(length, 0));
        const double nextTime = std::max(stamp.seconds, time);
        if (position < nextTime)
            return runFill(character, time, nextCharacter, nextTime, position);
        character = nextCharacter;
        time = nextTime;
    }
    return runFill(character, time, std::max(length, character), std::max(end, time), position);
}

double lineEnd(double start, double next, double trackEnd)
{
    if (std::isfinite(next))
        return next;
    return trackEnd > start ? trackEnd : start + LastLineSeconds;
}
