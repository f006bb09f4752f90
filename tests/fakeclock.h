// A wall clock that a test moves by hand, for Countdown::setWallClock(): the
// countdown's minutes pass without waiting for them.
#pragma once

#include <ctime>

inline time_t fakeNow = 1700000000;

inline time_t fakeClock(time_t *result)
{
    if (result)
        *result = fakeNow;
    return fakeNow;
}
