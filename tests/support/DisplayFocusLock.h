#pragma once

#include "DisplayLock.h"

/// The test programs on the virtual display share its one keyboard focus: a
/// window another program activates takes it from this one, which then stops
/// being the active window halfway through a test. A test that needs its
/// window active holds this lock for as long.
class DisplayFocusLock final
{
    DisplayLock m_lock{QStringLiteral("focus")};
};
