#include "MediaBackend.h"

#include <QByteArray>
#include <QtGlobal>

void pinMediaBackend()
{
    // The ffmpeg backend of Qt 6.4 crashes on machines without an audio device;
    // GStreamer degrades to silence there.
    qputenv("QT_MEDIA_BACKEND", QByteArrayLiteral("gstreamer"));
}
