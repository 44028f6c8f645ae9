#include "ContentView.h"

#include "PackageDrop.h"
#include "StartScreen.h"
#include "TourViewerHost.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

ContentView::ContentView(ViewerServices services, QWidget *parent)
    : QStackedWidget(parent)
    , m_services(std::move(services))
{
    setObjectName("contentView");
    setAcceptDrops(true);
    m_startScreen = new StartScreen(this);
    m_startScreen->onOpenFile = [this] {
        if (onOpenFile)
            onOpenFile();
    };
    addWidget(m_startScreen);
}

void ContentView::showStartScreen(const std::optional<QString> &loadError)
{
    m_startScreen->setLoadError(loadError);
    setCurrentWidget(m_startScreen);
    removeViewer();
}

void ContentView::showTour(const LumivaneImportedTour &tour)
{
    removeViewer();
    ViewerTour viewerTour = TourViewerHost::viewerTour(tour);
    const quint64 viewer = ++m_viewerGeneration;
    // The shell gives no close callback: closing is the window's dismiss.
    viewerTour.dismiss = [this, viewer] {
        QMetaObject::invokeMethod(
            this,
            [this, viewer] {
                // A viewer replaced in the meantime closes nothing.
                if (viewer == m_viewerGeneration && m_viewer && onCloseTour)
                    onCloseTour();
            },
            Qt::QueuedConnection);
    };
    m_viewer = TourViewerHost::buildViewer(std::move(viewerTour), m_services, this);
    addWidget(m_viewer);
    setCurrentWidget(m_viewer);
}

void ContentView::removeViewer()
{
    if (!m_viewer)
        return;
    m_viewer->hide();
    removeWidget(m_viewer);
    // The drop or key press that led here may still be on the old viewer's stack.
    m_viewer->deleteLater();
    m_viewer = nullptr;
}

namespace {

// Taken as a copy: a file manager that offered a move would otherwise delete
// the package it thinks we took.
bool acceptAsCopy(QDropEvent *event)
{
    if (!event->mimeData()->hasUrls() || !(event->possibleActions() & Qt::CopyAction))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

} // namespace

void ContentView::dragEnterEvent(QDragEnterEvent *event)
{
    acceptAsCopy(event);
}

void ContentView::dragMoveEvent(QDragMoveEvent *event)
{
    acceptAsCopy(event);
}

void ContentView::dropEvent(QDropEvent *event)
{
    // Every drop of files is taken; one that holds no package is then ignored without a word.
    if (!acceptAsCopy(event))
        return;
    const std::optional<QUrl> package = PackageDrop::packageURL(*event->mimeData());
    if (!package)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, url = *package] {
            if (onDropPackage)
                onDropPackage(url);
        },
        Qt::QueuedConnection);
}
