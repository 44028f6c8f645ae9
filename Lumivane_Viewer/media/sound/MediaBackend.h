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

/// Keeps the machine's video sinks out of the decoding chains that GStreamer
/// builds on its own. Qt's audio decoder hands a file to a playbin, which
/// tries those sinks on a movie's picture track although it shows none;
/// starting DirectFB's sink there crashes the process. Qt shows movies
/// through sinks it makes itself, which this leaves alone. Must run before
/// the first multimedia object exists; does nothing when GStreamer cannot
/// start.
void keepVideoSinksOutOfDecoding();

/// Ends the process once the application object is gone, without the exit-time
/// destructors of the libraries' globals: Qt Multimedia's sound-server
/// connection is not torn down safely there.
[[noreturn]] void exitWithoutLibraryTeardown(int exitCode);
