#include "Lumivane_ViewerApp.h"

#include "ContentView.h"
#include "OpenPanelListModel.h"
#include "QtTranslations.h"
#include "SharedViewerServices.h"

#include "l10n/L10n.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileOpenEvent>
#include <QMenuBar>
#include <QOpenGLWidget>
#include <QSettings>

Lumivane_ViewerApp::Lumivane_ViewerApp(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Lumivane Viewer"));
    // Tours are drawn with OpenGL. A window that meets its first OpenGL view
    // only when a tour opens is made again for it, which flickers and takes
    // the keyboard focus away; this hidden one has it made for OpenGL from
    // the start.
    (new QOpenGLWidget(this))->hide();
    m_content = new ContentView(sharedViewerServices(), this);
    m_content->setMinimumSize(900, 600);
    m_content->onOpenFile = [this] { openTourPanel(); };
    m_content->onDropPackage = [this](const QUrl &package) { loadTour(package); };
    // Closing the viewer is "Fermer la visite": back to the start screen.
    m_content->onCloseTour = [this] { closeTour(); };
    setCentralWidget(m_content);
    resize(1280, 800);

    buildFileMenu();
    L10n::shared().setMainMenu(menuBar());
    new QtTranslations(L10n::shared(), this);
    applyStartupLanguage();
    showState();
    // Desktops that send open requests as events (rather than arguments) send them to the application.
    qApp->installEventFilter(this);
}

void Lumivane_ViewerApp::applyStartupLanguage()
{
    // A first launch speaks French; afterwards the stored choice holds. A
    // stored value that is not text counts as none.
    const QVariant stored = QSettings().value(QString::fromLatin1(L10n::settingsKey));
    if (stored.typeId() != QMetaType::QString)
        L10n::shared().setCurrent(L10n::Language::french);
}

void Lumivane_ViewerApp::buildFileMenu()
{
    // The menu's own title and the quit command follow this desktop's
    // convention, in the French of the fixed commands they sit beside.
    m_fileMenu = menuBar()->addMenu(QStringLiteral("Fichier"));
    QAction *open = m_fileMenu->addAction(QString::fromUtf8("Ouvrir une visite\u2026"));
    open->setObjectName("openTourAction");
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, [this] { openTourPanel(); });

    m_closeSeparator = m_fileMenu->addSeparator();
    m_closeAction = m_fileMenu->addAction(QStringLiteral("Fermer la visite"));
    m_closeAction->setObjectName("closeTourAction");
    m_closeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    connect(m_closeAction, &QAction::triggered, this, [this] { closeTour(); });

    m_fileMenu->addSeparator();
    QAction *quit = m_fileMenu->addAction(QStringLiteral("Quitter"));
    quit->setObjectName("quitAction");
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void Lumivane_ViewerApp::showState()
{
    // A hidden action has no live shortcut either.
    m_closeSeparator->setVisible(m_loadedTour.has_value());
    m_closeAction->setVisible(m_loadedTour.has_value());
}

void Lumivane_ViewerApp::dropTour()
{
    m_loadedTour.reset();
    m_extractionFolder.remove();
}

void Lumivane_ViewerApp::loadTour(const QUrl &package)
{
    dropTour();
    auto opened = LumivaneImportedTour::open(package);
    if (opened) {
        m_loadedTour = std::move(*opened);
        m_extractionFolder = opened.takeFolder();
        m_loadError.reset();
        m_content->showTour(*m_loadedTour);
    } else {
        m_loadError = opened.error().message();
        m_content->showStartScreen(m_loadError);
    }
    showState();
}

void Lumivane_ViewerApp::closeTour()
{
    dropTour();
    m_content->showStartScreen(m_loadError);
    showState();
}

QFileDialog *Lumivane_ViewerApp::createOpenPanel()
{
    auto *panel = new QFileDialog(this, QStringLiteral("Ouvrir une visite Lumivane"));
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setFileMode(QFileDialog::ExistingFile);
    // Spelled out letter by letter: the desktop's own file choosers match
    // patterns case-sensitively, and "TOUR.LUMIVANE" must be listed too.
    panel->setNameFilter(QStringLiteral("Lumivane (*.[Ll][Uu][Mm][Ii][Vv][Aa][Nn][Ee])"));
    panel->setOption(QFileDialog::HideNameFilterDetails);
    // Left alone, Qt's list gives sizes, dates and folder kinds in the desktop's language.
    panel->setProxyModel(new OpenPanelListModel(L10n::shared(), panel));
    return panel;
}

void Lumivane_ViewerApp::openTourPanel()
{
    QFileDialog *panel = createOpenPanel();
    const bool chosen = panel->exec() == QDialog::Accepted && !panel->selectedUrls().isEmpty();
    const QUrl package = chosen ? panel->selectedUrls().first() : QUrl();
    panel->deleteLater();
    if (chosen)
        loadTour(package);
}

void Lumivane_ViewerApp::handleOpenRequest(const QString &request)
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
    if (!request.isEmpty())
        loadTour(QUrl(request));
}

bool Lumivane_ViewerApp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == QEvent::FileOpen) {
        const auto *open = static_cast<QFileOpenEvent *>(event);
        loadTour(open->url().isEmpty() ? QUrl::fromLocalFile(open->file()) : open->url());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
