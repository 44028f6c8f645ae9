#include "app/ApplicationIdentity.h"
#include "app/Lumivane_ViewerApp.h"
#include "app/OpenRequest.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "app/package/LumivaneImportedTour.h"
#include "media/sound/MediaBackend.h"

#include <QApplication>
#include <QDir>
#include <QThreadPool>
#include <QTimer>

namespace {

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

    // What a killed viewer or a power cut left in the temporary folder goes,
    // off the critical path; a live viewer's folders hold their lock and stay.
    QThreadPool::globalInstance()->start([temporary = QDir::tempPath()] {
        LumivaneExtractionFolder::removeAbandoned(temporary, LumivaneImportedTour::extractionFolderPrefix());
    });

    TerminationSignals terminationSignals;
    Lumivane_ViewerApp window;
    instance.onRequest = [&window](const QString &forwarded) { window.handleOpenRequest(forwarded); };

    window.show();
    if (!request.isEmpty())
        QTimer::singleShot(0, &window, [&window, request] { window.loadTour(QUrl(request)); });
    return application.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    pinMediaBackend();
    keepMediaOffTheNetwork();
    exitWithoutLibraryTeardown(runViewer(argc, argv));
}
