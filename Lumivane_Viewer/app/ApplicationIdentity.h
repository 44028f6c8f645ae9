#pragma once

/// Names the application to the desktop and to the settings: organisation,
/// application and desktop-file names, but no display name, so that every
/// window's title stays exactly its own. Call once, right after the
/// application object is made.
void applyApplicationIdentity();
