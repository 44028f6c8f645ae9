#include "ShellTestPackages.h"

#include "app/ContentView.h"
#include "app/Lumivane_ViewerApp.h"
#include "app/OpenRequest.h"
#include "app/PackageDrop.h"
#include "app/SingleInstance.h"
#include "app/StartScreen.h"
#include "app/TourResolvers.h"
#include "app/TourViewerHost.h"
#include "l10n/L10n.h"
#include "model/Palette.h"
#include "viewer/LumivaneViewerSheet.h"
#include "viewer/OverlayLayer.h"
#include "viewer/state/ViewerController.h"
#include "tests/support/DisplayFocusLock.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileOpenEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable names for the table-driven cases below.
void PrintTo(const QString &text, std::ostream *out)
{
    QString shown = text.isEmpty() ? QStringLiteral("(empty)") : text;
    *out << shown.replace(QChar(0), QStringLiteral("<NUL>")).toStdString();
}

namespace {

const QString kOpenTitle = QString::fromUtf8("Ouvrir une visite\u2026");

QString folderOf(const LumivaneImportedTour &tour)
{
    return tour.extractionFolder.toLocalFile();
}

class AppShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Test cases run as parallel processes; each keeps its settings to itself.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QSettings().remove(QString::fromLatin1(L10n::settingsKey));
    }

    QString writeTour(const QString &fileName, const QString &name, int stations = 3)
    {
        const QString path = m_dir.filePath(fileName);
        EXPECT_TRUE(ShellTestPackages::writeTour(path, ShellTestPackages::makeTour(name, stations)));
        return path;
    }

    QString writeCorrupt(const QString &fileName)
    {
        const QString path = m_dir.filePath(fileName);
        EXPECT_TRUE(ShellTestPackages::writeCorrupt(path));
        return path;
    }

    std::unique_ptr<Lumivane_ViewerApp> shownWindow()
    {
        auto window = std::make_unique<Lumivane_ViewerApp>();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    // Through the window, as a real drag is dispatched: the widget under the
    // point, or the first ancestor taking drops, receives it.
    static bool drop(Lumivane_ViewerApp &window, QWidget *over, const QList<QUrl> &urls,
                     Qt::DropActions offered = Qt::CopyAction, Qt::DropAction *taken = nullptr)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPointF point = over->mapTo(&window, over->rect().center());
        QDragEnterEvent enter(point.toPoint(), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &enter);
        QDropEvent dropped(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &dropped);
        if (taken)
            *taken = dropped.dropAction();
        return dropped.isAccepted();
    }

    static LumivaneViewerSheet *shownViewer(const Lumivane_ViewerApp &window)
    {
        QWidget *viewer = window.contentView()->viewer();
        if (!viewer || window.contentView()->currentWidget() != viewer)
            return nullptr;
        return qobject_cast<LumivaneViewerSheet *>(viewer);
    }

    static QString shownTourName(const Lumivane_ViewerApp &window)
    {
        LumivaneViewerSheet *viewer = shownViewer(window);
        return viewer ? viewer->controller().project().name : QString();
    }

    static QString shownError(const Lumivane_ViewerApp &window)
    {
        StartScreen *start = window.contentView()->startScreen();
        if (window.contentView()->currentWidget() != start || start->errorLabel()->isHidden())
            return {};
        return start->errorLabel()->text();
    }

    /// What Qt's own context menu of a text field offers, without its mnemonics and keys.
    static QStringList textFieldMenuEntries()
    {
        QLineEdit field;
        const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QStringList entries;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator())
                entries << action->text().section(u'\t', 0, 0).remove(u'&');
        }
        return entries;
    }

    static QStringList visibleMenuEntries(const Lumivane_ViewerApp &window)
    {
        QStringList entries;
        for (QAction *action : window.fileMenu()->actions()) {
            if (action->isVisible())
                entries << (action->isSeparator() ? QStringLiteral("--") : action->text());
        }
        return entries;
    }

    DisplayFocusLock m_focus; // the windows here are activated
    QTemporaryDir m_dir;
    QTemporaryDir m_settings;
};

TEST_F(AppShellTest, FirstLaunchSpeaksFrenchAndStoresIt)
{
    L10n::shared().setCurrent(L10n::Language::english);
    QSettings().remove(QString::fromLatin1(L10n::settingsKey));

    Lumivane_ViewerApp window;

    EXPECT_EQ(L10n::shared().current(), L10n::Language::french);
    EXPECT_EQ(QSettings().value(QString::fromLatin1(L10n::settingsKey)).toString(), "fr");
}

TEST_F(AppShellTest, StoredEnglishIsKeptAndTheFixedFrenchTextsStay)
{
    L10n::shared().setCurrent(L10n::Language::english);

    Lumivane_ViewerApp window;
    QCoreApplication::processEvents(); // lets the queued menu retitling run

    EXPECT_EQ(L10n::shared().current(), L10n::Language::english);
    EXPECT_EQ(QSettings().value(QString::fromLatin1(L10n::settingsKey)).toString(), "en");
    EXPECT_EQ(visibleMenuEntries(window), (QStringList{kOpenTitle, "--", "Quitter"}));
    std::unique_ptr<QFileDialog> panel(window.createOpenPanel());
    EXPECT_EQ(panel->windowTitle(), "Ouvrir une visite Lumivane");
}

TEST_F(AppShellTest, QtsOwnTextsAreInTheLanguageTheInterfacesTextsAreShownIn)
{
    const QStringList french{"Annuler", "Rétablir", "Couper", "Copier", "Coller", "Supprimer", "Tout sélectionner"};
    const QStringList english{"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"};
    L10n::shared().setCurrent(L10n::Language::french);
    Lumivane_ViewerApp window;
    EXPECT_EQ(textFieldMenuEntries(), french) << "the stored language, from the start";
    EXPECT_EQ(QLocale().language(), QLocale::French);
    L10n::shared().setCurrent(L10n::Language::english);
    EXPECT_EQ(textFieldMenuEntries(), english);
    EXPECT_EQ(QLocale().language(), QLocale::English);
    L10n::shared().setCurrent(L10n::Language::spanish);
    EXPECT_EQ(textFieldMenuEntries(), english) << "as the interface's texts";
    EXPECT_EQ(QLocale().language(), QLocale::English);
    L10n::shared().setCurrent(L10n::Language::french);
    EXPECT_EQ(textFieldMenuEntries(), french);
    EXPECT_EQ(QLocale().language(), QLocale::French);
}

TEST_F(AppShellTest, OpenPanelsListGivesSizesKindsAndDatesInTheInterfacesLanguage)
{
    // Whatever the desktop's language: the French case fails beside an English
    // desktop, the English one beside a French desktop.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Étage"));
    const QString tour = writeTour("visite.lumivane", "Loft");
    ASSERT_TRUE(QFile::resize(tour, 5000));
    const QDateTime modified = QFileInfo(tour).lastModified();
    Lumivane_ViewerApp window;
    const struct { L10n::Language language; QLocale locale; QString folderKind, driveKind, tourSize; } cases[] = {
        {L10n::Language::french, QLocale(QLocale::French), "Dossier", "Disque", "4,88 Kio"},
        {L10n::Language::english, QLocale(QLocale::English), "Folder", "Drive", "4.88 KiB"},
    };
    for (const auto &c : cases) {
        L10n::shared().setCurrent(c.language);
        std::unique_ptr<QFileDialog> panel(window.createOpenPanel());
        panel->setDirectory(m_dir.path());
        const auto *list = panel->findChild<QAbstractItemView *>("treeView");
        const QAbstractItemModel *model = list->model();
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(list->rootIndex()) == 2; }));
        QMap<QString, QStringList> rows; // name: size, kind, date
        for (int row = 0; row < 2; ++row) {
            for (int column = 1; column < 4; ++column)
                rows[model->index(row, 0, list->rootIndex()).data().toString()]
                    << model->index(row, column, list->rootIndex()).data().toString();
        }
        EXPECT_EQ(rows.value("Étage").value(1), c.folderKind);
        EXPECT_EQ(rows.value("visite.lumivane").value(0), c.tourSize);
        EXPECT_EQ(rows.value("visite.lumivane").value(2), c.locale.toString(modified, QLocale::ShortFormat));

        panel->setDirectory(QString()); // the computer: its one drive
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(list->rootIndex()) == 1; }));
        EXPECT_EQ(model->index(0, 2, list->rootIndex()).data().toString(), c.driveKind);
    }
}

TEST_F(AppShellTest, FileMenuOffersCloseOnlyWhileATourIsLoaded)
{
    auto window = shownWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(visibleMenuEntries(*window), (QStringList{kOpenTitle, "--", "Quitter"}));
    QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(window->loadedTour());

    window->loadTour(QUrl::fromLocalFile(writeTour("a.lumivane", "Loft")));
    ASSERT_TRUE(window->loadedTour());
    EXPECT_EQ(visibleMenuEntries(*window), (QStringList{kOpenTitle, "--", "Fermer la visite", "--", "Quitter"}));
    const QString folder = folderOf(*window->loadedTour());

    QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(window->loadedTour());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(window->contentView()->currentWidget(), window->contentView()->startScreen());
    EXPECT_EQ(shownError(*window), QString());
    EXPECT_EQ(visibleMenuEntries(*window), (QStringList{kOpenTitle, "--", "Quitter"}));
}

TEST_F(AppShellTest, CommandLinePathOpensTheTourInTheViewer)
{
    writeTour("Visite du loft.lumivane", "Loft", 3);
    Lumivane_ViewerApp window;

    window.loadTour(OpenRequest::urlFromArgument("Visite du loft.lumivane", m_dir.path()));

    ASSERT_TRUE(window.loadedTour());
    EXPECT_EQ(shownTourName(window), "Loft");
    EXPECT_EQ(shownViewer(window)->controller().orderedStations().size(), 3);
}

TEST_F(AppShellTest, ReplacingATourBuildsAFreshViewerThatShowsTheNewToursGate)
{
    auto window = shownWindow();
    ShellTestPackages::Tour first = ShellTestPackages::makeTour("Premier", 2);
    first.password = "un";
    const QString firstPath = m_dir.filePath("premier.lumivane");
    ASSERT_TRUE(ShellTestPackages::writeTour(firstPath, first));
    window->loadTour(QUrl::fromLocalFile(firstPath));
    QPointer<LumivaneViewerSheet> old = shownViewer(*window);
    ASSERT_TRUE(old);
    EXPECT_TRUE(old->isShowingTour());
    old->controller().unlockTour();
    EXPECT_EQ(old->face(), RootFace::cover);

    ShellTestPackages::Tour second = ShellTestPackages::makeTour("Second", 2);
    second.password = "deux";
    const QString secondPath = m_dir.filePath("second.lumivane");
    ASSERT_TRUE(ShellTestPackages::writeTour(secondPath, second));
    window->loadTour(QUrl::fromLocalFile(secondPath));

    LumivaneViewerSheet *fresh = shownViewer(*window);
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh, old.data());
    EXPECT_EQ(fresh->face(), RootFace::gate);
    EXPECT_TRUE(fresh->isShowingTour());
    EXPECT_TRUE(fresh->controller().state().navHistory.isEmpty());
    // The old visit ended (its loop, narration and timers with it) before the new one began.
    ASSERT_TRUE(old);
    EXPECT_FALSE(old->isShowingTour());
    EXPECT_TRUE(QTest::qWaitFor([&] { return old.isNull(); }, 2000));
}

TEST_F(AppShellTest, OpeningATourKeepsTheWindowAndTheKeyboardFocus)
{
    auto window = shownWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const WId native = window->winId();

    // The tour's cover turns its photo in a panorama, the window's first OpenGL view.
    window->loadTour(QUrl::fromLocalFile(writeTour("panorama.lumivane", "Panorama")));
    ASSERT_TRUE(window->loadedTour());
    EXPECT_EQ(window->winId(), native);
    EXPECT_EQ(QApplication::activeWindow(), window.get());
}

TEST_F(AppShellTest, ClosingTheViewerIsFermerLaVisite)
{
    auto window = shownWindow();
    window->loadTour(QUrl::fromLocalFile(writeTour("fermer.lumivane", "Fermer")));
    ASSERT_TRUE(window->loadedTour());
    const QString folder = folderOf(*window->loadedTour());
    auto *close = shownViewer(*window)->faceChrome().findChild<QAbstractButton *>("viewerCloseButton");
    ASSERT_NE(close, nullptr);

    close->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->loadedTour(); }, 2000));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(window->contentView()->currentWidget(), window->contentView()->startScreen());
    EXPECT_EQ(window->contentView()->viewer(), nullptr);
}

TEST_F(AppShellTest, FileOpenEventOpensTheTour)
{
    const QString path = writeTour("event.lumivane", "Atelier");
    Lumivane_ViewerApp window;

    QFileOpenEvent event(path);
    QCoreApplication::sendEvent(qApp, &event);

    EXPECT_EQ(shownTourName(window), "Atelier");
}

TEST_F(AppShellTest, SecondLaunchHandsItsPathToTheRunningWindowEvenWhileItIsBusy)
{
    const QString path = writeTour("second.lumivane", "Villa");
    const QString server = m_dir.filePath("viewer.socket");
    Lumivane_ViewerApp window;
    SingleInstance instance(server);
    instance.onRequest = [&window](const QString &request) { window.handleOpenRequest(request); };
    ASSERT_TRUE(instance.listen());

    // The running window's event loop does not turn while the later launch hands over.
    const QString request = OpenRequest::urlFromArgument(path, "/").toString(QUrl::FullyEncoded);
    EXPECT_TRUE(SingleInstance::forwardToRunning(server, request, 2000));
    EXPECT_FALSE(window.loadedTour());

    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.loadedTour().has_value(); }, 5000));
    EXPECT_EQ(shownTourName(window), "Villa");
}

TEST_F(AppShellTest, ALaunchThatListensSecondLeavesTheSocketToTheFirst)
{
    const QString server = m_dir.filePath("viewer.socket");
    SingleInstance first(server);
    QStringList received;
    first.onRequest = [&received](const QString &request) { received << request; };
    ASSERT_TRUE(first.listen());

    SingleInstance second(server);
    EXPECT_FALSE(second.listen());

    EXPECT_TRUE(SingleInstance::forwardToRunning(server, "file:///t/a.lumivane", 2000));
    EXPECT_TRUE(QTest::qWaitFor([&received] { return !received.isEmpty(); }, 5000));
    EXPECT_EQ(received, QStringList{"file:///t/a.lumivane"});
}

TEST_F(AppShellTest, ASocketNobodyAnswersIsTakenOver)
{
    const QString server = m_dir.filePath("viewer.socket");
    QFile stale(server);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    SingleInstance instance(server);
    EXPECT_TRUE(instance.listen());
}

TEST_F(AppShellTest, WithoutARunningInstanceTheLaunchOpensItself)
{
    EXPECT_FALSE(SingleInstance::forwardToRunning(m_dir.filePath("nobody.socket"), "file:///x.lumivane", 500));
}

TEST_F(AppShellTest, DropOpensOnlyTheFirstOfSeveralPackagesAndOnALaterTurn)
{
    const QList<QUrl> urls{QUrl::fromLocalFile(writeTour("one.lumivane", "Premier")),
                           QUrl::fromLocalFile(writeTour("two.lumivane", "Second")),
                           QUrl::fromLocalFile(writeTour("three.lumivane", "Troisième"))};
    auto window = shownWindow();

    EXPECT_TRUE(drop(*window, window->contentView()->startScreen(), urls));
    EXPECT_FALSE(window->loadedTour());
    QCoreApplication::processEvents();

    EXPECT_EQ(shownTourName(*window), "Premier");
}

TEST_F(AppShellTest, DropAcceptsTheExtensionInAnyLetterCaseAndIgnoresOthers)
{
    const QString upper = writeTour("LOUD.LUMIVANE", "Majuscules");
    const QString zip = writeTour("archive.zip", "Zip");
    auto window = shownWindow();

    EXPECT_TRUE(drop(*window, window->contentView()->startScreen(), {QUrl::fromLocalFile(zip)}));
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->loadedTour());
    EXPECT_FALSE(window->loadError());

    drop(*window, window->contentView()->startScreen(), {QUrl::fromLocalFile(upper)});
    QCoreApplication::processEvents();
    EXPECT_EQ(shownTourName(*window), "Majuscules");
}

TEST_F(AppShellTest, DropOfferedAsAMoveIsTakenAsACopySoTheFileManagerKeepsTheFile)
{
    const QString path = writeTour("kept.lumivane", "Gardée");
    auto window = shownWindow();

    Qt::DropAction taken = Qt::IgnoreAction;
    EXPECT_TRUE(drop(*window, window->contentView()->startScreen(), {QUrl::fromLocalFile(path)},
                     Qt::MoveAction | Qt::CopyAction, &taken));
    EXPECT_EQ(taken, Qt::CopyAction);
}

TEST_F(AppShellTest, DropOnTheViewerReplacesTheTourAndAFailureShowsTheMessage)
{
    auto window = shownWindow();
    window->loadTour(QUrl::fromLocalFile(writeTour("shown.lumivane", "Montrée")));
    const QString shownFolder = folderOf(*window->loadedTour());

    drop(*window, window->contentView()->viewer(), {QUrl::fromLocalFile(writeCorrupt("broken.lumivane"))});
    QCoreApplication::processEvents();

    EXPECT_FALSE(QFileInfo::exists(shownFolder));
    EXPECT_FALSE(window->loadedTour());
    EXPECT_TRUE(shownError(*window).startsWith(QString::fromUtf8("Extraction échouée : ")));
}

TEST_F(AppShellTest, EveryNewOpenDeletesThePreviousFolderWhetherOrNotItSucceeds)
{
    Lumivane_ViewerApp window;
    window.loadTour(QUrl::fromLocalFile(writeTour("a.lumivane", "A")));
    const QString first = folderOf(*window.loadedTour());
    ASSERT_TRUE(QFileInfo::exists(first));

    window.loadTour(QUrl::fromLocalFile(writeTour("b.lumivane", "B")));
    const QString second = folderOf(*window.loadedTour());
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_TRUE(QFileInfo::exists(second));

    window.loadTour(QUrl::fromLocalFile(m_dir.filePath("missing.lumivane")));
    EXPECT_FALSE(QFileInfo::exists(second));
    EXPECT_FALSE(window.loadedTour());
}

TEST_F(AppShellTest, ErrorTextFollowsTheStateTable)
{
    Lumivane_ViewerApp window;
    const QUrl corrupt = QUrl::fromLocalFile(writeCorrupt("bad.lumivane"));
    const QUrl good = QUrl::fromLocalFile(writeTour("good.lumivane", "Bonne"));

    window.loadTour(corrupt);
    EXPECT_FALSE(shownError(window).isEmpty());
    EXPECT_EQ(shownError(window), window.loadError().value_or(QString()));

    window.loadTour(good);
    EXPECT_FALSE(window.loadError());
    window.closeTour();
    EXPECT_EQ(shownError(window), QString());

    // Closing keeps the message of a failed open that came before.
    window.loadTour(corrupt);
    window.closeTour();
    EXPECT_FALSE(shownError(window).isEmpty());
}

TEST(StartScreenLayout, ErrorIsTheNextItemOfTheColumnWithItsOwnMarginAbove)
{
    StartScreen screen;
    screen.resize(900, 600);
    screen.setLoadError(QStringLiteral("Le fichier n'est pas une visite."));
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));

    const auto top = [&screen](const QWidget *widget) { return widget->mapTo(&screen, QPoint(0, 0)).y(); };
    const auto bottom = [&](const QWidget *widget) { return top(widget) + widget->height(); };
    const QWidget *hint = screen.findChild<QWidget *>("dropHint");
    const QLabel *error = screen.errorLabel();
    ASSERT_TRUE(hint);
    // 28 between the column's items, plus the hint's 10 and the error's 8 above them.
    EXPECT_EQ(top(hint) - bottom(screen.openButton()), 28 + 10);
    EXPECT_EQ(top(error) + error->contentsRect().top() - bottom(hint), 28 + 8);
    EXPECT_EQ(error->contentsRect().left(), 40);
    EXPECT_EQ(error->width() - error->contentsRect().right() - 1, 40);
}

TEST(StartScreenKeys, TabRingsTheOpenButtonAndReturnPressesIt)
{
    StartScreen screen;
    int opened = 0;
    screen.onOpenFile = [&opened] { ++opened; };
    screen.resize(900, 600);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    QApplication::setActiveWindow(&screen); // the focus shows in the active window only
    QTest::keyClick(&screen, Qt::Key_Tab);
    QAbstractButton *button = screen.openButton();
    ASSERT_TRUE(button->hasFocus());

    // The viewer's gold along the inside of the capsule, as on every control.
    const QColor edge = button->grab().toImage().pixelColor(button->width() / 2, 1);
    EXPECT_LT(std::abs(edge.red() - paletteGold().red()) + std::abs(edge.green() - paletteGold().green()), 40)
        << qPrintable(edge.name());
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&opened] { return opened == 1; }, 2000));
}

TEST_F(AppShellTest, StartScreenButtonRunsTheOpenPanelWhichOpensTheChosenPackage)
{
    const QString path = writeTour("Chosen.LUMIVANE", "Choisie");
    writeTour("mixed.LuMiVaNe", "Mixte");
    writeTour("other.zip", "Autre");
    writeTour("other.lumivane.zip", "Autre");
    Lumivane_ViewerApp window;
    QStringList listed;
    QString title;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *panel = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!panel)
            return;
        title = panel->windowTitle();
        if (panel->directory() != QDir(m_dir.path()))
            panel->setDirectory(m_dir.path());
        auto *list = panel->findChild<QAbstractItemView *>("listView");
        const QModelIndex root = list->rootIndex();
        if (list->model()->rowCount(root) == 0)
            return; // still listing the folder
        for (int row = 0; row < list->model()->rowCount(root); ++row)
            listed << list->model()->index(row, 0, root).data().toString();
        poll.stop();
        panel->findChild<QLineEdit *>("fileNameEdit")->setText(QFileInfo(path).fileName());
        QMetaObject::invokeMethod(panel, &QDialog::accept);
    });
    poll.start();

    window.contentView()->startScreen()->openButton()->click();

    EXPECT_EQ(title, "Ouvrir une visite Lumivane");
    EXPECT_EQ(listed, (QStringList{"Chosen.LUMIVANE", "mixed.LuMiVaNe"}));
    EXPECT_EQ(shownTourName(window), "Choisie");
}

TEST_F(AppShellTest, ClosingTheWindowAtQuitDeletesTheOpenTour)
{
    QString folder;
    {
        Lumivane_ViewerApp window;
        window.loadTour(QUrl::fromLocalFile(writeTour("quit.lumivane", "Fin")));
        folder = folderOf(*window.loadedTour());
        ASSERT_TRUE(QFileInfo::exists(folder));
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
}

class ResolverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_plan = ShellTestPackages::makeTour("Résolveurs", 2);
        const QString path = m_dir.filePath("r.lumivane");
        ASSERT_TRUE(ShellTestPackages::writeTour(path, m_plan));
        auto opened = LumivaneImportedTour::open(QUrl::fromLocalFile(path));
        ASSERT_TRUE(opened);
        m_tour = *opened;
        m_folder = opened.takeFolder();
        m_attachments = QDir(folderOf(*m_tour)).filePath("attachments");
    }

    QTemporaryDir m_dir;
    ShellTestPackages::Tour m_plan;
    std::optional<LumivaneImportedTour> m_tour;
    LumivaneExtractionFolder m_folder;
    QString m_attachments;
};

TEST_F(ResolverTest, ViewerTourCarriesTheProjectAndResolvesItsFiles)
{
    const ViewerTour tour = TourViewerHost::viewerTour(*m_tour);
    const QUuid first = m_plan.stationIDs[0];
    const QUuid second = m_plan.stationIDs[1];

    EXPECT_EQ(tour.projectID, m_plan.projectID);
    EXPECT_EQ(tour.project.name, "Résolveurs");
    ASSERT_TRUE(tour.photoURLResolver(first));
    EXPECT_TRUE(QFileInfo::exists(tour.photoURLResolver(first)->toLocalFile()));
    EXPECT_FALSE(tour.photoURLResolver(QUuid::createUuid()));
    ASSERT_TRUE(tour.audioURLResolver(first));
    EXPECT_TRUE(tour.audioURLResolver(first)->toLocalFile().endsWith(
        first.toString(QUuid::WithoutBraces).toUpper() + ".m4a"));
    EXPECT_FALSE(tour.audioURLResolver(second));
    EXPECT_EQ(tour.attachmentURLResolver("plan.pdf").toLocalFile(), m_attachments + "/plan.pdf");
}

TEST_F(ResolverTest, AnyPlainNameResolvesInsideAttachmentsEvenWithoutAFile)
{
    EXPECT_EQ(TourResolvers::attachmentURL(*m_tour, "absent.pdf").toLocalFile(), m_attachments + "/absent.pdf");
    EXPECT_EQ(TourResolvers::attachmentURL(*m_tour, "..hidden..").toLocalFile(), m_attachments + "/..hidden..");
}

class RefusedAttachmentName : public ResolverTest, public ::testing::WithParamInterface<QString>
{
};

TEST_P(RefusedAttachmentName, StaysInsideAttachmentsAndNamesNoFile)
{
    const QString resolved = TourResolvers::attachmentURL(*m_tour, GetParam()).toLocalFile();

    EXPECT_EQ(QFileInfo(resolved).absolutePath(), m_attachments);
    EXPECT_FALSE(QFileInfo::exists(resolved));
}

INSTANTIATE_TEST_SUITE_P(Names, RefusedAttachmentName,
                         ::testing::Values(QString("../../x"), QString("/etc/passwd"), QString("../project.json"),
                                           QString("sub/plan.pdf"), QString("..\\plan.pdf"), QString("."),
                                           QString(".."), QString(), QString("plan.pdf") + QChar(0) + "x"));

struct DropCase
{
    QList<QUrl> urls;
    bool opens;
};

void PrintTo(const DropCase &drop, std::ostream *out)
{
    QStringList urls;
    for (const QUrl &url : drop.urls)
        urls << url.toString();
    *out << (urls.isEmpty() ? QStringLiteral("(nothing)") : urls.join(' ')).toStdString();
}

class PackageDropRule : public ::testing::TestWithParam<DropCase>
{
};

TEST_P(PackageDropRule, FirstLocalLumivaneFileOnly)
{
    QMimeData data;
    data.setUrls(GetParam().urls);
    EXPECT_EQ(PackageDrop::packageURL(data).has_value(), GetParam().opens);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, PackageDropRule,
    ::testing::Values(DropCase{{}, false}, DropCase{{QUrl::fromLocalFile("/t/a.lumivane")}, true},
                      DropCase{{QUrl::fromLocalFile("/t/a.LuMiVaNe")}, true},
                      DropCase{{QUrl::fromLocalFile("/t/a.lumivane.zip")}, false},
                      DropCase{{QUrl::fromLocalFile("/t/lumivane")}, false},
                      DropCase{{QUrl("https://example.org/a.lumivane")}, false},
                      DropCase{{QUrl::fromLocalFile("/t/a.txt"), QUrl::fromLocalFile("/t/b.lumivane")}, false}));

TEST(OpenRequestFile, AnExistingFileWhoseNameLooksLikeAURLIsThatFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("Visite:2024.lumivane"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const QUrl url = OpenRequest::urlFromArgument("Visite:2024.lumivane", dir.path());

    ASSERT_TRUE(url.isLocalFile()) << url.toString().toStdString();
    EXPECT_EQ(url.toLocalFile(), file.fileName());
}

struct ArgumentCase
{
    QString argument;
    QString workingFolder;
    QString url;
};

void PrintTo(const ArgumentCase &argument, std::ostream *out)
{
    *out << argument.argument.toStdString() << " in " << argument.workingFolder.toStdString();
}

class OpenRequestArgument : public ::testing::TestWithParam<ArgumentCase>
{
};

TEST_P(OpenRequestArgument, BecomesAnAbsoluteURL)
{
    EXPECT_EQ(OpenRequest::urlFromArgument(GetParam().argument, GetParam().workingFolder).toString(QUrl::FullyEncoded),
              GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, OpenRequestArgument,
    ::testing::Values(ArgumentCase{"tour.lumivane", "/home/a", "file:///home/a/tour.lumivane"},
                      ArgumentCase{"../b/t.lumivane", "/home/a", "file:///home/b/t.lumivane"},
                      ArgumentCase{"/srv/x y.lumivane", "/home/a", "file:///srv/x%20y.lumivane"},
                      ArgumentCase{"file:///srv/x%20y.lumivane", "/home/a", "file:///srv/x%20y.lumivane"}));

} // namespace
