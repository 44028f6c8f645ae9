#include "MediaBackend.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

void pinMediaBackend()
{
    // The ffmpeg backend of Qt 6.4 crashes on machines without an audio device;
    // GStreamer degrades to silence there.
    qputenv("QT_MEDIA_BACKEND", QByteArrayLiteral("gstreamer"));
}

void exitWithoutLibraryTeardown(int exitCode)
{
    // Qt 6.4 Multimedia keeps its PulseAudio connection in a library global.
    // Its destructor, run by exit(), disconnects from the sound server while
    // the connection's own thread may be reading a reply, which then reads
    // freed memory. Such a reply is often under way at exit: the server
    // reports a change of its output whenever a stream of this process ends.
    // Nothing of those globals is needed once the application object is gone.
    std::fflush(nullptr);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check(); // exit() would have run it
#endif
    std::_Exit(exitCode);
}
