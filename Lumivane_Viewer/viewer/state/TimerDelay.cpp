#include "viewer/state/TimerDelay.h"

#include <cmath>
#include <limits>

std::chrono::milliseconds timerDelay(double seconds)
{
    constexpr std::chrono::milliseconds longest{std::numeric_limits<int>::max()};
    if (std::isnan(seconds))
        return longest;
    if (seconds <= 0)
        return std::chrono::milliseconds(0);
    const double milliseconds = std::round(seconds * 1000);
    if (milliseconds >= double(longest.count()))
        return longest;
    return std::chrono::milliseconds(std::chrono::milliseconds::rep(milliseconds));
}
