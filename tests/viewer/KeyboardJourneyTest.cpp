// A visit by keyboard alone: from the cover with Tab and Return into the
// stations, then every panel opened and closed again, the focus going into
// each as it opens and back to its button as it closes; on a panorama, its
// markers reached, ringed and pressed like the other controls.

#include "support/ViewerSheetFixture.h"

#include "media/panorama/Panorama360ViewerView.h"
#include "model/HotspotAttachment.h"
#include "model/Palette.h"
#include "widgets/PaintedItemAccessibility.h"
#include "navigation/StationThumbBar.h"
#include "viewer/chrome/ControlBar.h"
#include "viewer/station/PanoramaMediaLayer.h"
#include "widgets/SymbolButton.h"
#include "tests/support/AccessibilityEvents.h"
#include "tests/support/DisplayFocusLock.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <numbers>

namespace {

class KeyboardJourneyTest : public ViewerSheetFixture
{
protected:
    DisplayFocusLock focus; // the keys go where the active window's focus is

    /// A classic tour of five stations (or more) with everything a visitor
    /// can open: facts, feedback, the kiosk, and on station 1 an info point
    /// with a document.
    LumivaneProject journeyTour(int stations = 5)
    {
        LumivaneProject project = TestTours::tour(stations, 1);
        project.renderMode = RenderMode::classic;
        project.price = 350000;
        project.feedbackEnabled = true;
        project.feedbackEmail = QStringLiteral("avis@example.com");
        project.kioskEnabled = true;
        project.contactFormEnabled = true;
        project.contactFormEmail = QStringLiteral("agence@example.com");
        Hotspot info = TestTours::infoHotspot(QStringLiteral("Cheminée"), QStringLiteral("En marbre"));
        info.yaw = 0.5;
        info.pitch = 0.5;
        HotspotAttachment plan;
        plan.kind = AttachmentKind::pdf;
        plan.payload = QStringLiteral("plan.pdf");
        plan.title = QStringLiteral("Plan");
        info.attachments = {plan};
        project.stations[0].hotspots.append(info);
        for (int n = 1; n <= stations; ++n)
            writePhoto(n, QColor(20 * n, 90, 120));
        return project;
    }

    void openActive(LumivaneProject project)
    {
        ViewerTour tour = tourOf(std::move(project));
        tour.attachmentURLResolver = [this](const QString &payload) {
            return QUrl::fromLocalFile(photos.filePath(payload));
        };
        sheet = std::make_unique<LumivaneViewerSheet>(std::move(tour), services);
        sheet->resize(1280, 800);
        sheet->show();
        sheet->activateWindow(); // on a display: the window system's focus too
        QApplication::setActiveWindow(sheet.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    }

    /// The window's focus, whether or not the window system lends it the
    /// keyboard at this moment.
    QWidget *focused() const { return sheet ? sheet->focusWidget() : QApplication::focusWidget(); }

    /// The focused control's name; for cards and thumbnails, the one the keyboard is on.
    static QString nameOf(QWidget *widget)
    {
        if (const auto *host = dynamic_cast<const PaintedItemHost *>(widget)) {
            if (const std::optional<int> item = host->focusedPaintedItem())
                return host->paintedItemName(*item);
        }
        QAccessibleInterface *accessible = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
        return accessible ? accessible->text(QAccessible::Name) : QString();
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        // Test programs beside this one on the same display take the window
        // system's focus from it now and then; the keys are this window's.
        if (QApplication::activeWindow() != sheet.get())
            QApplication::setActiveWindow(sheet.get());
        QTest::keyClick(focused() ? focused() : sheet.get(), key, modifiers);
    }

    /// Tabs on until the focused control is named `name`; false after 80 presses.
    bool tabTo(const QString &name)
    {
        for (int press = 0; press < 80; ++press) {
            this->press(Qt::Key_Tab);
            if (nameOf(focused()) == name)
                return true;
        }
        return false;
    }

    /// The names the keyboard reaches from no focus, pressing Tab (or
    /// Backtab) `count` times, one after the other.
    std::string walkedFromNoFocus(Qt::KeyboardModifiers modifiers, qsizetype count)
    {
        if (QWidget *widget = focused())
            widget->clearFocus();
        QStringList names;
        for (int n = 0; n < count; ++n) {
            press(Qt::Key_Tab, modifiers);
            names << nameOf(focused());
        }
        return names.join(QStringLiteral(" | ")).toStdString();
    }

    /// Return on the focused control; its press shows for a moment first.
    template<typename Condition>
    bool activate(Condition done)
    {
        press(Qt::Key_Return);
        return QTest::qWaitFor(done, 2000);
    }

    bool focusIsIn(ViewerLayer layer) const
    {
        const QList<QWidget *> views = shownIn(layer);
        return !views.isEmpty() && views.front()->isAncestorOf(focused());
    }

    void startByKeyboard(int stations = 5)
    {
        openActive(journeyTour(stations));
        ASSERT_TRUE(tabTo(QStringLiteral("Lancer la visite virtuelle")));
        ASSERT_TRUE(activate([&] { return sheet->face() == RootFace::stations; }));
        // The new face's first control: the header's information button.
        EXPECT_EQ(nameOf(focused()), QStringLiteral("Afficher les informations"));
    }

    const ViewerState &state() const { return controller().state(); }

    /// The journey's tour shown as panoramas; station 1 faces two markers,
    /// a way to station 2 on the left and the fireplace's info point on the right.
    void startPanoramasByKeyboard()
    {
        Hotspot way = TestTours::navigationHotspot(2);
        way.yaw = std::numbers::pi - 0.3; // the unturned view faces pi
        Hotspot info = TestTours::infoHotspot(QStringLiteral("Cheminée"), QStringLiteral("En marbre"));
        info.yaw = std::numbers::pi + 0.3;
        startPanoramasByKeyboard({way, info});
        ASSERT_EQ(panorama()->paintedItemCount(), 2);
        wayName = panorama()->paintedItemName(0);
        ASSERT_NE(wayName, QStringLiteral("Cheminée"));
    }

    /// The journey's tour shown as panoramas, station 1 with these hotspots.
    void startPanoramasByKeyboard(const QList<Hotspot> &hotspots, std::optional<double> initialYaw = std::nullopt)
    {
        LumivaneProject project = journeyTour();
        project.stations[0].hotspots = hotspots;
        project.stations[0].initialYaw = initialYaw;
        startPanoramasByKeyboard(project);
    }

    void startPanoramasByKeyboard(LumivaneProject project)
    {
        project.renderMode = RenderMode::immersive;
        openActive(project);
        ASSERT_TRUE(tabTo(QStringLiteral("Lancer la visite virtuelle")));
        ASSERT_TRUE(activate([&] { return sheet->face() == RootFace::stations; }));
        // The photo on the sphere: its arrival turns the view to the station's start.
        ASSERT_TRUE(QTest::qWaitFor([&] { return panorama() && !panorama()->isLoadingPhoto(); }, 10000));
    }

    /// Whether the panorama shows the whole of the marker named `name`.
    bool markerInView(const QString &name) const
    {
        const Panorama360ViewerView &view = *panorama();
        for (int item = 0; item < view.paintedItemCount(); ++item) {
            if (view.paintedItemName(item) == name)
                return view.rect().contains(view.paintedItemRect(item));
        }
        return false;
    }

    Panorama360ViewerView *panorama() const { return stations()->panoramaLayer()->panorama(); }

    /// Turns the view by a drag of `dx` pixels on it, as the mouse does.
    void drag(double dx)
    {
        Panorama360ViewerView &view = *panorama();
        const QPointF start(view.width() / 2.0, view.height() - 40.0);
        const QPointF begun = start + QPointF(dx > 0 ? 20 : -20, 0);
        for (const auto &[type, at] : {std::pair{QEvent::MouseButtonPress, start}, std::pair{QEvent::MouseMove, begun},
                                       std::pair{QEvent::MouseMove, begun + QPointF(dx, 0)},
                                       std::pair{QEvent::MouseButtonRelease, begun + QPointF(dx, 0)}}) {
            const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton, buttons, {});
            QApplication::sendEvent(&view, &event);
        }
    }

    /// The viewer's gold pixels the panorama draws over the marker's hit sphere.
    int goldPixelsOver(const QRect &marker)
    {
        const QImage frame = panorama()->grabFramebuffer();
        const QColor gold = paletteGold();
        int count = 0;
        for (int y = marker.top(); y <= marker.bottom(); ++y) {
            for (int x = marker.left(); x <= marker.right(); ++x) {
                const QColor c = frame.pixelColor(x, y);
                count += std::abs(c.red() - gold.red()) + std::abs(c.green() - gold.green())
                             + std::abs(c.blue() - gold.blue())
                         < 60;
            }
        }
        return count;
    }

    /// Tabs on until a scroll area has the focus; nullptr after 30 presses.
    QAbstractScrollArea *tabToScrollArea()
    {
        for (int press = 0; press < 30; ++press) {
            this->press(Qt::Key_Tab);
            if (auto *area = qobject_cast<QAbstractScrollArea *>(focused()))
                return area;
        }
        return nullptr;
    }

    /// The position each key leaves the focused scroll area at, pressed one
    /// after the other.
    QList<int> scrolledBy(const QList<std::pair<Qt::Key, Qt::KeyboardModifiers>> &keys)
    {
        const QScrollBar *bar = qobject_cast<QAbstractScrollArea *>(focused())->verticalScrollBar();
        QList<int> positions;
        for (const auto &[key, modifiers] : keys) {
            press(key, modifiers);
            positions.append(bar->value());
        }
        return positions;
    }

    QString wayName;
};

// Panoramas need a display with OpenGL: the GL program walks the panorama's
// markers, the offscreen one the rest of the visit.
#ifndef LUMIVANE_PANORAMA_TOURS

TEST_F(KeyboardJourneyTest, TabAndBacktabFromNoFocusGoRoundTheStationViewInReadingOrder)
{
    startByKeyboard();
    // The header's line, the control bar's column, then the photo's line:
    // its marker and the steps beside it.
    QStringList order{QStringLiteral("Langue"),
                      QStringLiteral("Afficher les informations"),
                      QStringLiteral("Fermer la visite"),
                      QStringLiteral("Retour à l'accueil (page de présentation)"),
                      QStringLiteral("Retour au début de la visite"),
                      QStringLiteral("Table des matières"),
                      QStringLiteral("Afficher le bandeau miniatures"),
                      QStringLiteral("Mode immersion (masquer les commandes)"),
                      QStringLiteral("Lecture automatique"),
                      QStringLiteral("Ton avis compte"),
                      QStringLiteral("Cheminée"),
                      QStringLiteral("Précédent"),
                      QStringLiteral("Suivant")};
    const qsizetype round = order.size() + 1; // back at the start
    EXPECT_EQ(walkedFromNoFocus(Qt::NoModifier, round), (order + order.mid(0, 1)).join(" | ").toStdString());
    std::reverse(order.begin(), order.end());
    EXPECT_EQ(walkedFromNoFocus(Qt::ShiftModifier, round), (order + order.mid(0, 1)).join(" | ").toStdString());
}

TEST_F(KeyboardJourneyTest, UnlockingTheGateLandsOnTheCoversFirstControl)
{
    LumivaneProject project = journeyTour();
    project.tourPassword = QStringLiteral("sésame");
    openActive(project);
    ASSERT_TRUE(tabTo(QStringLiteral("Mot de passe")));
    for (const QChar c : QStringLiteral("sésame")) {
        QTest::sendKeyEvent(QTest::Press, focused(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, focused(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    press(Qt::Key_Return);
    ASSERT_EQ(sheet->face(), RootFace::cover);
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Lancer la visite virtuelle"));
}

TEST_F(KeyboardJourneyTest, TheContactFormOpensFromTheCoverAndGivesTheFocusBack)
{
    openActive(journeyTour());
    ASSERT_TRUE(tabTo(QStringLiteral("Nous contacter")));
    QWidget *button = focused();
    ASSERT_TRUE(activate([&] { return state().showContactForm; }));
    ASSERT_TRUE(sheet->faceChrome().isAncestorOf(focused()));
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Fermer")) << "the card's first control";
    // Tab stays in the modal card, round its fields and back to the start.
    ASSERT_TRUE(tabTo(QStringLiteral("Message (optionnel)")));
    ASSERT_TRUE(tabTo(QStringLiteral("Fermer")));
    ASSERT_TRUE(activate([&] { return !state().showContactForm; }));
    EXPECT_EQ(focused(), button);

    // Escape from a field closes the form alone, and the focus goes back too.
    ASSERT_TRUE(activate([&] { return state().showContactForm; }));
    ASSERT_TRUE(tabTo(QStringLiteral("Message (optionnel)")));
    QTest::keyClicks(focused(), QStringLiteral("Bonjour"));
    press(Qt::Key_Escape);
    EXPECT_FALSE(state().showContactForm);
    EXPECT_EQ(focused(), button);
    EXPECT_EQ(dismissals, 0);
}

TEST_F(KeyboardJourneyTest, TheInformationPanelOpensWithTheFocusInsideAndGivesItBack)
{
    startByKeyboard();
    ASSERT_TRUE(activate([&] { return state().showPropertyInfo; }));
    EXPECT_TRUE(focusIsIn(ViewerLayer::propertyInfo));
    // Tab stays inside the panel: its close button and its list of facts.
    ASSERT_TRUE(tabTo(QStringLiteral("Fermer")));
    EXPECT_TRUE(focusIsIn(ViewerLayer::propertyInfo));
    ASSERT_TRUE(activate([&] { return !state().showPropertyInfo; }));
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Afficher les informations"));
}

TEST_F(KeyboardJourneyTest, EscapeClosesTheTopmostPanelWhereverTheFocusIsInsideAndTheFocusGoesBackEachTime)
{
    startByKeyboard(12); // enough stations for the table of contents' search field
    ASSERT_TRUE(tabTo(QStringLiteral("Cheminée")));
    QWidget *marker = focused();
    ASSERT_TRUE(activate([&] { return state().selectedInfoHotspot.has_value(); }));
    ASSERT_TRUE(focusIsIn(ViewerLayer::infoCard));
    QWidget *inCard = focused();
    press(Qt::Key_T);
    ASSERT_TRUE(state().showTableOfContents);
    // The search field takes the focus a moment after the sheet opens.
    ASSERT_TRUE(QTest::qWaitFor([this] { return qobject_cast<QLineEdit *>(focused()) != nullptr; }, 1000));
    auto *search = qobject_cast<QLineEdit *>(focused());
    QTest::keyClicks(search, QStringLiteral("ti"));
    EXPECT_EQ(search->text(), QStringLiteral("ti")) << "typing stays typing";
    EXPECT_FALSE(state().showPropertyInfo);

    press(Qt::Key_Escape);
    EXPECT_FALSE(state().showTableOfContents);
    EXPECT_TRUE(state().selectedInfoHotspot.has_value());
    EXPECT_EQ(focused(), inCard);
    press(Qt::Key_Escape);
    EXPECT_FALSE(state().selectedInfoHotspot.has_value());
    EXPECT_EQ(focused(), marker);
    EXPECT_EQ(dismissals, 0);
    press(Qt::Key_Escape);
    EXPECT_EQ(dismissals, 1);
}

TEST_F(KeyboardJourneyTest, TheTableOfContentsIsWalkedCardByCardAndChoosingOneGoesThere)
{
    startByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Table des matières")));
    QWidget *button = focused();
    ASSERT_TRUE(activate([&] { return state().showTableOfContents; }));
    EXPECT_TRUE(focusIsIn(ViewerLayer::tableOfContents));
    ASSERT_TRUE(tabTo(QStringLiteral("Fermer la table des matières")));
    ASSERT_TRUE(activate([&] { return !state().showTableOfContents; }));
    EXPECT_EQ(focused(), button);

    ASSERT_TRUE(activate([&] { return state().showTableOfContents; }));
    ASSERT_TRUE(tabTo(QStringLiteral("Aller à la station Station 3")));
    ASSERT_TRUE(activate([&] { return !state().showTableOfContents; }));
    waitForStationChange();
    EXPECT_EQ(state().currentStationID, TestTours::stationID(3));
    EXPECT_EQ(focused(), button);
}

TEST_F(KeyboardJourneyTest, TheHelpCardOpensFromItsKeyAndClosesFromItsButton)
{
    startByKeyboard();
    QWidget *before = focused();
    QTest::keyClick(focused(), Qt::Key_Question, Qt::ShiftModifier, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return state().showKeyboardHelp; }, 1000));
    EXPECT_TRUE(focusIsIn(ViewerLayer::keyboardHelp));
    ASSERT_TRUE(tabTo(QStringLiteral("Fermer l'aide")));
    ASSERT_TRUE(activate([&] { return !state().showKeyboardHelp; }));
    EXPECT_EQ(focused(), before);
}

TEST_F(KeyboardJourneyTest, TheHelpCardInTheSmallestWindowIsReadToItsLastRowByKeys)
{
    startByKeyboard();
    sheet->resize(900, 600);
    QTest::keyClick(focused(), Qt::Key_Question, Qt::ShiftModifier, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return state().showKeyboardHelp; }, 1000));
    QAbstractScrollArea *rows = tabToScrollArea();
    ASSERT_NE(rows, nullptr) << "the rows that do not fit are reached with Tab";
    ASSERT_TRUE(focusIsIn(ViewerLayer::keyboardHelp));
    const QScrollBar *bar = rows->verticalScrollBar();
    const int end = bar->maximum();
    ASSERT_GT(end, bar->singleStep()) << "the rows overflow the card";
    const auto at = [end](int position) { return std::clamp(position, 0, end); };
    const int line = bar->singleStep();
    const int page = bar->pageStep();
    const QList<int> positions = scrolledBy({{Qt::Key_Down, {}},
                                             {Qt::Key_PageDown, {}},
                                             {Qt::Key_Up, {}},
                                             {Qt::Key_PageUp, {}},
                                             {Qt::Key_End, {}},
                                             {Qt::Key_Home, {}},
                                             {Qt::Key_Space, {}},
                                             {Qt::Key_Space, Qt::ShiftModifier}});
    EXPECT_EQ(positions,
              (QList<int>{line, at(line + page), at(at(line + page) - line), 0, end, 0, at(page), 0}));
    EXPECT_FALSE(state().kioskActive) << "Space pages the rows it rings";
    EXPECT_TRUE(state().showKeyboardHelp);
}

TEST_F(KeyboardJourneyTest, AnInfoCardsLongStoryIsReachedBeforeItsRowsAndScrolledToItsEnd)
{
    LumivaneProject project = journeyTour();
    project.stations[0].hotspots.back().infoDescription = QStringLiteral("Une cheminée de marbre. ").repeated(150);
    openActive(project);
    ASSERT_TRUE(tabTo(QStringLiteral("Lancer la visite virtuelle")));
    ASSERT_TRUE(activate([&] { return sheet->face() == RootFace::stations; }));
    ASSERT_TRUE(tabTo(QStringLiteral("Cheminée")));
    ASSERT_TRUE(activate([&] { return state().selectedInfoHotspot.has_value(); }));
    QAbstractScrollArea *story = tabToScrollArea();
    ASSERT_NE(story, nullptr);
    ASSERT_TRUE(focusIsIn(ViewerLayer::infoCard));
    const int end = story->verticalScrollBar()->maximum();
    EXPECT_EQ(scrolledBy({{Qt::Key_End, {}}}), QList<int>{end});
    press(Qt::Key_Tab);
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Plan")) << "the rows inside come after the story";
    EXPECT_EQ(story->verticalScrollBar()->value(), end);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), story) << "and Backtab from them goes back to it";

    // The ring lies just outside the story, whose text reaches its edges,
    // and goes with a click.
    const auto ringed = [story] {
        const QColor edge = story->parentWidget()->grab().toImage().pixelColor(
            story->geometry().left() - 3, story->geometry().center().y());
        return std::abs(edge.red() - paletteGold().red()) + std::abs(edge.green() - paletteGold().green()) < 40;
    };
    QApplication::setActiveWindow(sheet.get()); // the focus shows in the active window only
    EXPECT_TRUE(ringed());
    QTest::mouseClick(story->viewport(), Qt::LeftButton, {}, story->viewport()->rect().center());
    EXPECT_EQ(focused(), story);
    EXPECT_FALSE(ringed());
}

TEST_F(KeyboardJourneyTest, TheCoversColumnIsATabStopInTheSmallestWindowOnlyAndReadBeforeItsControls)
{
    LumivaneProject project = journeyTour();
    project.coverDescription = QStringLiteral("Une maison lumineuse au cœur du quartier. ").repeated(45);
    openActive(project);
    const auto columnReachedAt = [this](QSize size) {
        sheet->resize(size);
        QCoreApplication::processEvents(); // the column is laid out anew
        return tabToScrollArea();
    };
    EXPECT_EQ(columnReachedAt({1920, 1080}), nullptr) << "the column fits a large window";
    QAbstractScrollArea *column = columnReachedAt({900, 600});
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(scrolledBy({{Qt::Key_End, {}}}), QList<int>{column->verticalScrollBar()->maximum()});
    press(Qt::Key_Tab);
    EXPECT_TRUE(column->isAncestorOf(focused())) << "then the controls it holds";
}

TEST_F(KeyboardJourneyTest, TheLanguagePickerASheetCoveredGetsTheFocusBackWhenTheSheetCloses)
{
    startByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Langue")));
    QWidget *picker = focused();
    press(Qt::Key_T);
    ASSERT_TRUE(state().showTableOfContents);
    EXPECT_TRUE(focusIsIn(ViewerLayer::tableOfContents));
    EXPECT_FALSE(picker->isVisible()) << "the sheet covers it";
    press(Qt::Key_Escape);
    ASSERT_FALSE(state().showTableOfContents);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(focused(), picker);
}

TEST_F(KeyboardJourneyTest, TheFeedbackCardTakesSpaceAsARatingNotAsTheKiosk)
{
    startByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Ton avis compte")));
    QWidget *button = focused();
    ASSERT_TRUE(activate([&] { return state().showFeedback; }));
    ASSERT_TRUE(focusIsIn(ViewerLayer::feedback));
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Positif"));
    press(Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        QAccessibleInterface *rating = QAccessible::queryAccessibleInterface(focused());
        return rating && rating->state().checked;
    }, 1000));
    EXPECT_FALSE(state().kioskActive);
    ASSERT_TRUE(tabTo(QStringLiteral("Plus tard")));
    ASSERT_TRUE(activate([&] { return !state().showFeedback; }));
    EXPECT_EQ(focused(), button);
}

TEST_F(KeyboardJourneyTest, SpaceDoesNotStartTheKioskBehindAFeedbackCardOpenedWithTheMouse)
{
    openActive(journeyTour());
    controller().startTour();
    ControlBar *bar = nullptr;
    for (QWidget *view : shownIn(ViewerLayer::headerAndControlBar))
        bar = bar ? bar : dynamic_cast<ControlBar *>(view);
    ASSERT_NE(bar, nullptr);
    SymbolButton *feedback = bar->button(ControlBarAction::showFeedback);
    QTest::mouseClick(feedback, Qt::LeftButton, {}, feedback->rect().center());
    ASSERT_TRUE(state().showFeedback);
    ASSERT_TRUE(focusIsIn(ViewerLayer::feedback));
    press(Qt::Key_Space);
    press(Qt::Key_I);
    EXPECT_FALSE(state().kioskActive) << "the card is modal: its keys are its own";
    EXPECT_FALSE(state().showPropertyInfo);
}

TEST_F(KeyboardJourneyTest, AnInfoPointOpensItsCardAndItsDocumentInTheLightbox)
{
    startByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Cheminée")));
    QWidget *marker = focused();
    ASSERT_TRUE(activate([&] { return state().selectedInfoHotspot.has_value(); }));
    EXPECT_TRUE(focusIsIn(ViewerLayer::infoCard));
    ASSERT_TRUE(tabTo(QStringLiteral("Plan")));
    QWidget *row = focused();
    ASSERT_TRUE(activate([&] { return state().lightboxContent.has_value(); }));
    EXPECT_TRUE(focusIsIn(ViewerLayer::lightbox));
    ASSERT_TRUE(tabTo(QStringLiteral("Fermer")));
    ASSERT_TRUE(focusIsIn(ViewerLayer::lightbox));
    ASSERT_TRUE(activate([&] { return !state().lightboxContent.has_value(); }));
    EXPECT_EQ(focused(), row);

    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(nameOf(focused()), QStringLiteral("Fermer")) << "the card's close button, before its rows";
    ASSERT_TRUE(activate([&] { return !state().selectedInfoHotspot.has_value(); }));
    EXPECT_EQ(focused(), marker);
}

TEST_F(KeyboardJourneyTest, TheThumbnailsAreWalkedOneByOneAndReturnGoesToTheOneReached)
{
    startByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Afficher le bandeau miniatures")));
    ASSERT_TRUE(activate([&] { return state().thumbBarVisible; }));
    auto *strip = dynamic_cast<StationThumbBar *>(shownIn(ViewerLayer::floorPlanAndThumbStrip).last());
    ASSERT_NE(strip, nullptr);
    ASSERT_TRUE(tabTo(QStringLiteral("Station 1")));
    EXPECT_EQ(focused(), strip);
    press(Qt::Key_Tab);
    EXPECT_EQ(strip->focusedPaintedItem(), 1);
    press(Qt::Key_Return);
    waitForStationChange();
    EXPECT_EQ(state().currentStationID, TestTours::stationID(2));
}

TEST_F(KeyboardJourneyTest, SpaceOnAControlReachedWithTabPressesItAndAfterAClickIsTheKioskAgain)
{
    startByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Mode immersion (masquer les commandes)")));
    press(Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return state().immersiveMode; }, 1000));
    EXPECT_FALSE(state().kioskActive);
    // The exit button takes the focus of the control bar that went.
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Quitter le mode immersion"));
    ASSERT_TRUE(activate([&] { return !state().immersiveMode; }));

    // A click ends keyboard navigation: the focus no longer shows, and Space
    // is the kiosk's key again.
    QTest::mouseClick(sheet.get(), Qt::LeftButton, {}, QPoint(640, 400));
    press(Qt::Key_Space);
    EXPECT_TRUE(state().kioskActive);
}

#else

TEST_F(KeyboardJourneyTest, TabReachesThePanoramasMarkersLeftToRightBetweenTheControlsAroundIt)
{
    startPanoramasByKeyboard();
    ASSERT_TRUE(tabTo(wayName));
    ASSERT_EQ(focused(), panorama());
    EXPECT_EQ(panorama()->focusedPaintedItem(), 0) << "Tab from the control before enters at the left";
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QWidget *before = focused();
    ASSERT_NE(before, panorama());
    press(Qt::Key_Tab);
    EXPECT_EQ(nameOf(focused()), wayName);
    const double heading = panorama()->sphere().eulerAngles().y;
    press(Qt::Key_Tab);
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Cheminée"));
    EXPECT_EQ(panorama()->sphere().eulerAngles().y, heading) << "both in the middle of the view: no turn";
    press(Qt::Key_Tab);
    EXPECT_NE(focused(), panorama()) << "after the last marker, the next control";
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Cheminée")) << "Backtab comes back in at the right";
}

TEST_F(KeyboardJourneyTest, ReturnAndSpacePressTheFocusedMarkerAsAClickDoes)
{
    startPanoramasByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Cheminée")));
    ASSERT_TRUE(activate([&] { return state().selectedInfoHotspot.has_value(); }));
    EXPECT_TRUE(focusIsIn(ViewerLayer::infoCard));
    press(Qt::Key_Escape);
    ASSERT_FALSE(state().selectedInfoHotspot.has_value());
    EXPECT_EQ(focused(), panorama());
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Cheminée")) << "the card gives the focus back to its marker";
    EXPECT_FALSE(state().kioskActive);

    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(nameOf(focused()), wayName);
    press(Qt::Key_Space);
    waitForStationChange();
    EXPECT_EQ(state().currentStationID, TestTours::stationID(2));
    EXPECT_FALSE(state().kioskActive);
}

TEST_F(KeyboardJourneyTest, AWayTakenFromTheKeyboardArrivesFacingTheNextStationsStart)
{
    const auto at = [](Hotspot hotspot, double yaw) {
        hotspot.yaw = yaw;
        hotspot.pitch = 0.0;
        return hotspot;
    };
    LumivaneProject project = journeyTour();
    project.stations[0].hotspots = {at(TestTours::navigationHotspot(2), 0.2)};
    project.stations[0].initialYaw = 0.0;
    // The way back lies behind the next station's start view.
    project.stations[1].hotspots = {at(TestTours::navigationHotspot(1), 3.0)};
    project.stations[1].initialYaw = 0.0;
    startPanoramasByKeyboard(project);
    const double start = panorama()->sphere().eulerAngles().y;
    ASSERT_TRUE(tabTo(panorama()->paintedItemName(0)));
    press(Qt::Key_Return);
    waitForStationChange();
    ASSERT_EQ(state().currentStationID, TestTours::stationID(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panorama()->isLoadingPhoto(); }, 10000));
    EXPECT_EQ(focused(), panorama());
    EXPECT_DOUBLE_EQ(panorama()->sphere().eulerAngles().y, start) << "the keyboard's marker does not turn the view";
}

TEST_F(KeyboardJourneyTest, ACardWhoseMarkerTurnedAwayGivesTheFocusBackToItsMarkerTurningBackToIt)
{
    startPanoramasByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Cheminée")));
    ASSERT_TRUE(activate([&] { return state().selectedInfoHotspot.has_value(); }));
    // The fireplace on the right leaves the view while its card is open.
    for (int step = 0; step < 40 && markerInView(QStringLiteral("Cheminée")); ++step)
        drag(40);
    ASSERT_FALSE(markerInView(QStringLiteral("Cheminée")));
    press(Qt::Key_Escape);
    ASSERT_FALSE(state().selectedInfoHotspot.has_value());
    EXPECT_EQ(focused(), panorama());
    EXPECT_EQ(nameOf(focused()), QStringLiteral("Cheminée"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return markerInView(QStringLiteral("Cheminée")); }, 2000));
}

TEST_F(KeyboardJourneyTest, TheFocusedMarkerIsRingedWhileTheVisitorNavigatesOnly)
{
    startPanoramasByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Cheminée")));
    const QRect marker = panorama()->paintedItemRect(1);
    panorama()->repaint();
    // A ring all round the marker; a few gold pixels of the marker's own.
    EXPECT_GT(goldPixelsOver(marker), marker.width());
    EXPECT_LT(goldPixelsOver(panorama()->paintedItemRect(0)), marker.width() / 4) << "the other marker";

    // A click on the photo away from the markers ends keyboard navigation.
    QTest::mouseClick(panorama(), Qt::LeftButton, {}, QPoint(panorama()->width() / 2, panorama()->height() - 40));
    panorama()->repaint();
    EXPECT_LT(goldPixelsOver(marker), marker.width() / 4);
    EXPECT_FALSE(state().selectedInfoHotspot.has_value());
}

TEST_F(KeyboardJourneyTest, TabGoesRoundEveryMarkerOfTheStationTurningTheViewToEach)
{
    // The demo's entrance: four ways out, one of them behind the start view,
    // and a welcome point.
    const auto at = [](Hotspot hotspot, double yaw, double pitch) {
        hotspot.yaw = yaw;
        hotspot.pitch = pitch;
        return hotspot;
    };
    startPanoramasByKeyboard({at(TestTours::navigationHotspot(2), -0.38, -0.27),
                              at(TestTours::navigationHotspot(3), 1.11, -0.32),
                              at(TestTours::navigationHotspot(4), -1.11, -0.32),
                              at(TestTours::navigationHotspot(5), -2.83, -0.28),
                              at(TestTours::infoHotspot(QStringLiteral("Bienvenue")), 0.42, -0.07)},
                             0.0);
    ASSERT_EQ(panorama()->paintedItemCount(), 5);
    QStringList reached;
    Panorama360ViewerView &view = *panorama();
    ASSERT_TRUE(tabTo(view.paintedItemName(0)));
    while (focused() == &view) {
        const QString name = nameOf(focused());
        reached << name;
        EXPECT_TRUE(QTest::qWaitFor([&] { return markerInView(name); }, 2000)) << qPrintable(name);
        press(Qt::Key_Tab);
    }
    // Round from the left of the start view, the way behind it last.
    const QStringList expected = {"Station 4", "Station 2", "Bienvenue", "Station 3", "Station 5"};
    ASSERT_EQ(reached.size(), expected.size()) << qPrintable(reached.join(", "));
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(reached[i].endsWith(expected[i])) << qPrintable(reached[i]);
}

TEST_F(KeyboardJourneyTest, AClosingTableOfContentsIsHeardOnlyOnTheButtonItGivesTheFocusBackTo)
{
    AccessibilityEvents events; // before any widget asks
    ASSERT_TRUE(events.isActive());
    startPanoramasByKeyboard();
    ASSERT_TRUE(tabTo(QStringLiteral("Table des mati\u00E8res")));
    ASSERT_TRUE(activate([&] { return state().showTableOfContents; }));
    events.clear();
    press(Qt::Key_Escape);
    ASSERT_FALSE(state().showTableOfContents);
    QStringList heard;
    for (const AccessibilityEvents::Record &event : events.events()) {
        if (event.type == QAccessible::Focus)
            heard << event.name;
    }
    EXPECT_EQ(heard.join(", ").toStdString(), "Table des mati\u00E8res");
}

#endif

} // namespace
