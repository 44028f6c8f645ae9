#pragma once

/// Chooses the GStreamer multimedia backend before the first multimedia object
/// exists. Must run before the QApplication is created.
void pinMediaBackend();

/// Takes every GStreamer element that could reach the network out of this
/// process, with the plugins that hold them: sources of any address other
/// than a local file, a descriptor, inline data or the application's own
/// stream, and the streaming demuxers that fetch on their own. Whatever a
/// file asks for, a package's sounds and movies play from their own bytes
/// only. Must run before the first multimedia object exists; does nothing
/// when GStreamer cannot start.
void keepMediaOffTheNetwork();

/// Ends the process once the application object is gone, without the exit-time
/// destructors of the libraries' globals: Qt Multimedia's sound-server
/// connection is not torn down safely there.
[[noreturn]] void exitWithoutLibraryTeardown(int exitCode);
