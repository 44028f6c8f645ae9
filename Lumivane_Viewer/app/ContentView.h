#pragma once

#include "viewer/ViewerServices.h"

#include <QStackedWidget>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class LumivaneImportedTour;
class StartScreen;

/// The root of the window: the start screen while no tour is open, else the
/// tour viewer as the whole content. Takes package files dropped anywhere on
/// it. Keeps no tour state: the window tells it what to show, and it reports
/// the open button and dropped packages through callbacks.
class ContentView final : public QStackedWidget
{
public:
    /// `services` go to every viewer it builds.
    explicit ContentView(ViewerServices services, QWidget *parent = nullptr);

    void showStartScreen(const std::optional<QString> &loadError);
    /// Builds a fresh viewer for `tour`, replacing the one shown before: the
    /// old one is hidden first, which ends its visit, then the new one shown.
    void showTour(const LumivaneImportedTour &tour);

    /// The open button of the start screen.
    std::function<void()> onOpenFile;
    /// A dropped package, reported on a later turn of the event loop.
    std::function<void(const QUrl &package)> onDropPackage;
    /// The viewer asks to close the tour, reported on a later turn of the
    /// event loop (the viewer's own handlers may still be running).
    std::function<void()> onCloseTour;

    StartScreen *startScreen() const { return m_startScreen; }
    /// The widget showing the tour, or null on the start screen.
    QWidget *viewer() const { return m_viewer; }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void removeViewer();

    const ViewerServices m_services;
    StartScreen *m_startScreen = nullptr;
    QWidget *m_viewer = nullptr;
    quint64 m_viewerGeneration = 0; // counts the viewers built
};
