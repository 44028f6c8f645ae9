#pragma once

#include <chrono>

/// The wait a single-shot timer is given for a delay of `seconds`, rounded to
/// milliseconds. Qt 6.4 keeps a timer's interval in an int of milliseconds:
/// a longer wait would wrap into "at once" or into a negative interval that
/// never fires, so every wait longer than about 24.8 days, infinite or not a
/// number, is held at that longest interval. Only a caller's zero or negative
/// delay means "at once".
std::chrono::milliseconds timerDelay(double seconds);
