#pragma once

#include "app/package/LumivaneImportedTour.h"

#include <QMainWindow>
#include <QString>
#include <QUrl>

#include <optional>

class ContentView;
class QAction;
class QFileDialog;
class QMenu;

/// The application's one window. Alone owns the opened tour with the owner of
/// its extraction folder, and the message of the last failed open; every way
/// of opening a package (menu, command line, desktop, later launch, drop)
/// ends in loadTour. Shows them through ContentView and the File menu.
class Lumivane_ViewerApp final : public QMainWindow
{
public:
    /// A normal quit deletes the open tour's folder too, as the window goes.
    explicit Lumivane_ViewerApp(QWidget *parent = nullptr);

    const std::optional<LumivaneImportedTour> &loadedTour() const { return m_loadedTour; }
    const std::optional<QString> &loadError() const { return m_loadError; }

    /// The loading step: deletes the open tour's folder first, then opens
    /// `package`; success shows the tour, failure the message and no tour.
    void loadTour(const QUrl &package);
    /// Deletes the open tour's folder and goes back to the start screen;
    /// the message of an earlier failed open stays.
    void closeTour();
    /// The modal open panel; a chosen file goes to loadTour.
    void openTourPanel();
    /// A request handed on by a later launch: raises the window and opens
    /// the URL it names, if any.
    void handleOpenRequest(const QString &request);

    ContentView *contentView() const { return m_content; }
    QMenu *fileMenu() const { return m_fileMenu; }

    /// The panel openTourPanel runs, not yet shown.
    QFileDialog *createOpenPanel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyStartupLanguage();
    void buildFileMenu();
    void showState();
    /// Forgets the open tour and deletes its folder.
    void dropTour();

    std::optional<LumivaneImportedTour> m_loadedTour;
    LumivaneExtractionFolder m_extractionFolder; // the folder of m_loadedTour
    std::optional<QString> m_loadError;

    ContentView *m_content = nullptr;
    QMenu *m_fileMenu = nullptr;
    QAction *m_closeSeparator = nullptr;
    QAction *m_closeAction = nullptr;
};
