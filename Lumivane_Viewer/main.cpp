#include "app/ApplicationIdentity.h"
#include "app/Lumivane_ViewerApp.h"
#include "app/OpenRequest.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "media/sound/MediaBackend.h"

#include <QApplication>
#include <QDir>
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

} // namespace

int main(int argc, char *argv[])
{
    pinMediaBackend();
    // Panoramas in several views share their textures.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    QApplication application(argc, argv);
    applyApplicationIdentity();

    const QString request = openRequestFromArguments(QApplication::arguments());
    const QString serverName = SingleInstance::defaultServerName();
    // Whichever launch listens first is the viewer; every other hands its request over.
    SingleInstance instance(serverName);
    if (!instance.listen() && SingleInstance::forwardToRunning(serverName, request))
        return 0;

    TerminationSignals terminationSignals;
    Lumivane_ViewerApp window;
    instance.onRequest = [&window](const QString &forwarded) { window.handleOpenRequest(forwarded); };

    window.show();
    if (!request.isEmpty())
        QTimer::singleShot(0, &window, [&window, request] { window.loadTour(QUrl(request)); });
    return application.exec();
}
