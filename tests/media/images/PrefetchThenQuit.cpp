// Ends the way a visitor's quit ends the viewer while it preloads: photos
// are queued for prefetching and the program leaves main at once.
//   media_images_prefetch_then_quit <folder of JPEGs> [finish|stop]
// With "finish" it first ends the decoding itself, as the application does,
// and prints how much of the queue ran. With "stop" it ends the decoding
// while a prefetch runs, and prints whether that ended within a fifth of a
// second.

#include "media/images/LumivaneImageCache.h"

#include <QDir>
#include <QGuiApplication>
#include <QThread>
#include <QThreadPool>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    if (argc < 2)
        return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool finish = argc > 2 && qstrcmp(argv[2], "finish") == 0;
    const bool stop = argc > 2 && qstrcmp(argv[2], "stop") == 0;

    if (finish) {
        // Every pool thread busy for a while, so that the prefetches are
        // still queued when the decoding is ended, however slow this
        // thread is to queue them.
        for (int i = 0; i < LumivaneImageCache::pool()->maxThreadCount(); ++i)
            LumivaneImageCache::pool()->start([] { QThread::msleep(300); });
    }
    const std::shared_ptr<LumivaneImageCache> cache = LumivaneImageCache::shared();
    int queued = 0;
    for (const QString &name : folder.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name)) {
        cache->prefetch(QUrl::fromLocalFile(folder.filePath(name)));
        ++queued;
    }
    // The pool had every thread free: the prefetch runs already.
    if (stop)
        std::printf("idle=%d\n", int(LumivaneImageCache::finishDecoding(QDeadlineTimer(200))));
    if (finish) {
        const bool idle = LumivaneImageCache::finishDecoding(QDeadlineTimer::Forever);
        const LumivaneImageCache::Usage usage = cache->usage();
        std::printf("queued=%d idle=%d thumbnails=%d full=%d\n", queued, int(idle), usage.thumbnailCount,
                    usage.fullCount);
    }
    return 0;
}
