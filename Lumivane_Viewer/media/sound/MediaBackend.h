#pragma once

/// Chooses the GStreamer multimedia backend before the first multimedia object
/// exists. Must run before the QApplication is created.
void pinMediaBackend();

/// Ends the process once the application object is gone, without the exit-time
/// destructors of the libraries' globals: Qt Multimedia's sound-server
/// connection is not torn down safely there.
[[noreturn]] void exitWithoutLibraryTeardown(int exitCode);
