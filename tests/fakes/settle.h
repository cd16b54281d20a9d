#pragma once

#include "core/transport.h"
#include "fakes/gate.h"

// Delivers the player's queued skip steps, the fake backend's answers and the results of the
// lyric lookups until the transport waits for nothing (or for an open the test holds), for
// 5 s at most.
inline void settle(const Transport &transport)
{
    deliverUntil([&transport] { return !transport.isBusy(); });
}
