#include "app/ApplicationIdentity.h"
#include "app/Lumivane_ViewerApp.h"
#include "app/OpenRequest.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "app/package/LumivaneImportedTour.h"
#include "media/images/LumivaneImageCache.h"
#include "media/sound/MediaBackend.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <memory>

namespace {

// How long the decodes still running when the window closes are waited for.
constexpr std::chrono::milliseconds decodesEndWithin{1000};

// The first argument that is not an option: a path or a URL from the desktop.
QString openRequestFromArguments(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (!argument.startsWith(QLatin1Char('-')))
            return OpenRequest::urlFromArgument(argument, QDir::currentPath()).toString(QUrl::FullyEncoded);
    }
    return {};
}

// Whether the command line may name a tour, read before the application
// takes Qt's own options out: the value of one ("-platform xcb") counts too.
bool mayOpenTour(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-')
            return true;
    }
    return false;
}

// Lets the window go once the event loop has ended. The decodes under way
// are told to stop first, without waiting, and stop while the window goes
// with its tour's folder. The application's teardown then waits for the
// image cache's pool and Qt's without end, which a decode that cannot be
// stopped (Qt's readers, a read from a stalled disk) would hold for
// minutes: when one still runs after a short wait, the process ends here.
void closeWindow(std::unique_ptr<Lumivane_ViewerApp> window, int exitCode)
{
    const QDeadlineTimer decodesEnd(decodesEndWithin);
    LumivaneImageCache::finishDecoding(QDeadlineTimer(0));
    window.reset();
    const bool ended = LumivaneImageCache::finishDecoding(decodesEnd)
                       && QThreadPool::globalInstance()->waitForDone(int(decodesEnd.remainingTime()));
    if (!ended)
        exitWithoutLibraryTeardown(exitCode);
}

int runViewer(int argc, char *argv[])
{
    // Panoramas in several windows share their textures, and a view starts
    // loading its photo before it is first shown, through the GL context
    // that Qt makes for this in the application's constructor. Making it
    // loads the GL driver, which takes longer than all the rest before the
    // first frame: a launch without a tour shows its start screen without
    // it. Views within one window share their textures all the same.
    if (mayOpenTour(argc, argv))
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    QApplication application(argc, argv);
    applyApplicationIdentity();

    const QString request = openRequestFromArguments(QApplication::arguments());
    const QString serverName = SingleInstance::defaultServerName();
    // Whichever launch listens first is the viewer; every other hands its request over.
    SingleInstance instance(serverName);
    if (!instance.listen() && SingleInstance::forwardToRunning(serverName, request))
        return 0;
    // Before any player is made; a launch that only hands its request over makes none.
    keepMediaOffTheNetwork();
    keepVideoSinksOutOfDecoding();

    // What a killed viewer or a power cut left in the temporary folder goes,
    // off the critical path; a live viewer's folders hold their lock and stay.
    QThreadPool::globalInstance()->start([temporary = QDir::tempPath()] {
        LumivaneExtractionFolder::removeAbandoned(temporary, LumivaneImportedTour::extractionFolderPrefix());
    });

    TerminationSignals terminationSignals;
    auto window = std::make_unique<Lumivane_ViewerApp>();
    instance.onRequest = [&window](const QString &forwarded) { window->handleOpenRequest(forwarded); };

    window->show();
    if (!request.isEmpty())
        QTimer::singleShot(0, window.get(), [&window, request] { window->loadTour(QUrl(request)); });
    const int exitCode = application.exec();
    instance.onRequest = {};
    closeWindow(std::move(window), exitCode);
    return exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    pinMediaBackend();
    exitWithoutLibraryTeardown(runViewer(argc, argv));
}
