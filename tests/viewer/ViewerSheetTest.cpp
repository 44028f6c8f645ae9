// The sheet itself: its faces, the close button, the keys, the start and end
// of a visit, the interface language and the two toggle notifications.

#include "support/ViewerSheetFixture.h"

#include "media/images/LumivaneClassicViewer.h"
#include "model/HotspotAttachment.h"
#include "model/NotificationNames.h"
#include "model/Palette.h"
#include "navigation/TableOfContentsSheet.h"
#include "panels/feedback/VisitorFeedbackSheet.h"
#include "panels/gate/PasswordField.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>

#include <functional>
#include <vector>

namespace {

class ViewerSheetTest : public ViewerSheetFixture
{
protected:
    LumivaneProject classicTour(int stations = 3)
    {
        LumivaneProject project = TestTours::tour(stations, 1);
        project.renderMode = RenderMode::classic;
        return project;
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget *to = nullptr)
    {
        QTest::keyClick(to ? to : sheet.get(), Qt::Key(key), modifiers);
    }

    bool closeButtonShown() const
    {
        return sheet->faceChrome().findChild<QWidget *>("viewerCloseButton") != nullptr;
    }
};

TEST_F(ViewerSheetTest, PasswordGateThenCoverThenStationsWithTheCloseButtonOverGateAndCover)
{
    LumivaneProject project = classicTour();
    project.tourPassword = " ";
    open(project);
    EXPECT_EQ(sheet->face(), RootFace::gate);
    EXPECT_TRUE(closeButtonShown());
    EXPECT_EQ(sheet->minimumSize(), QSize(900, 600));

    controller().unlockTour();
    EXPECT_EQ(sheet->face(), RootFace::cover);
    EXPECT_TRUE(closeButtonShown());
    // The gate fades out over the cover, as a picture, and is gone after the unlock's 0.3 s.
    EXPECT_NE(sheet->findChild<QWidget *>("fadingSnapshot"), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sheet->findChild<QWidget *>("fadingSnapshot") == nullptr; }, 2000));
    QWidget *close = sheet->faceChrome().findChild<QWidget *>("viewerCloseButton");
    EXPECT_EQ(close->geometry(), QRect(1280 - 20 - 32, 16, 32, 32));

    controller().startTour();
    EXPECT_EQ(sheet->face(), RootFace::stations);
    ASSERT_NE(stations(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !closeButtonShown(); }, 1000));

    controller().backToCover();
    EXPECT_EQ(sheet->face(), RootFace::cover);
    EXPECT_EQ(stations(), nullptr);
}

TEST_F(ViewerSheetTest, EscapeOrTheCloseButtonDismissesFromGateAndCoverEvenFromTheTextField)
{
    LumivaneProject project = classicTour();
    project.tourPassword = "secret";
    open(project);
    auto *field = sheet->faceView()->findChild<PasswordField *>();
    ASSERT_NE(field, nullptr);
    field->setFocus();
    QTest::keyClicks(field, "si");
    EXPECT_EQ(field->password(), "si"); // typed letters stay in the field
    press(Qt::Key_Escape, Qt::NoModifier, field);
    EXPECT_EQ(dismissals, 1);

    controller().unlockTour();
    qobject_cast<QAbstractButton *>(sheet->faceChrome().findChild<QWidget *>("viewerCloseButton"))->click();
    EXPECT_EQ(dismissals, 2);
    EXPECT_EQ(sheet->face(), RootFace::cover); // closing changes nothing of the visit
}

TEST_F(ViewerSheetTest, OneKeyHandlerAnswersTheStationViewsKeysButLeavesTextFieldsTheirs)
{
    openStarted(classicTour(5));
    press(Qt::Key_Plus);
    EXPECT_EQ(controller().state().currentFOV, 65);
    press(Qt::Key_T);
    EXPECT_TRUE(controller().state().showTableOfContents);
    press(Qt::Key_Right, Qt::ControlModifier); // nothing to go forward to
    EXPECT_FALSE(controller().canGoForward());

    auto *field = new QLineEdit(sheet.get());
    field->show();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Minus);
    QTest::keyClick(field, Qt::Key_I);
    EXPECT_EQ(field->text(), "-i");
    EXPECT_EQ(controller().state().currentFOV, 65);
    EXPECT_FALSE(controller().state().showPropertyInfo);
}

TEST_F(ViewerSheetTest, TheTableOfContentsSearchFieldKeepsTheKeysOfTheStationView)
{
    openStarted(classicTour(12));
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    press(Qt::Key_T);
    auto *contents = dynamic_cast<TableOfContentsSheet *>(shownIn(ViewerLayer::tableOfContents).value(0));
    ASSERT_NE(contents, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QLineEdit *>(QApplication::focusWidget()), 1000);
    QTest::keyClicks(QApplication::focusWidget(), "ti+");
    EXPECT_EQ(contents->query(), "ti+");
    EXPECT_TRUE(controller().state().showTableOfContents);
    EXPECT_FALSE(controller().state().showPropertyInfo);
    EXPECT_EQ(controller().state().currentFOV, 75);
}

TEST_F(ViewerSheetTest, EscapeClosesTheOpenPanelsTopmostFirstAndOnlyThenTheViewer)
{
    LumivaneProject project = classicTour(5);
    project.feedbackEnabled = true;
    project.feedbackEmail = "avis@example.com";
    openStarted(project);
    press(Qt::Key_I);
    press(Qt::Key_Question);
    press(Qt::Key_T);
    controller().showInfoCard(TestTours::infoHotspot("Plaque"));
    controller().setShowFeedback(true);
    // The card already sent, on its thanks view.
    auto *feedback = dynamic_cast<VisitorFeedbackSheet *>(shownIn(ViewerLayer::feedback).value(0));
    ASSERT_NE(feedback, nullptr);
    feedback->setRating(Rating::positive);
    feedback->sendFeedbackMail();
    ASSERT_TRUE(feedback->isSent());
    HotspotAttachment plan;
    plan.kind = AttachmentKind::pdf;
    plan.payload = "plan.pdf";
    controller().openAttachment(plan);
    // The stacking order, topmost first.
    const QList<ViewerLayer> closingOrder{ViewerLayer::tableOfContents, ViewerLayer::keyboardHelp,
                                          ViewerLayer::feedback,        ViewerLayer::lightbox,
                                          ViewerLayer::propertyInfo,    ViewerLayer::infoCard};
    for (qsizetype i = 1; i < closingOrder.size(); ++i)
        ASSERT_GT(closingOrder[i - 1], closingOrder[i]);
    for (ViewerLayer layer : closingOrder)
        ASSERT_EQ(shownIn(layer).size(), 1) << int(layer);

    for (qsizetype closed = 0; closed < closingOrder.size(); ++closed) {
        press(Qt::Key_Escape);
        for (qsizetype i = 0; i < closingOrder.size(); ++i)
            EXPECT_EQ(shownIn(closingOrder[i]).size(), i <= closed ? 0 : 1) << "after Escape " << closed + 1;
        EXPECT_EQ(dismissals, 0);
    }
    press(Qt::Key_Escape);
    EXPECT_EQ(dismissals, 1);
}

TEST_F(ViewerSheetTest, EachSheetOverTheWholeViewerHidesTheLanguagePickerWhileOpen)
{
    LumivaneProject project = classicTour(5);
    project.feedbackEnabled = true;
    project.feedbackEmail = "avis@example.com";
    openStarted(project);
    const QWidget *picker = sheet->overlayColumn().findChild<QWidget *>("languagePicker");
    ASSERT_NE(picker, nullptr);
    HotspotAttachment plan;
    plan.kind = AttachmentKind::pdf;
    plan.payload = "plan.pdf";
    const std::vector<std::pair<const char *, std::function<void()>>> openers{
        {"help", [&] { press(Qt::Key_Question); }},
        {"contents", [&] { press(Qt::Key_T); }},
        {"feedback", [&] { controller().setShowFeedback(true); }},
        {"lightbox", [&] { controller().openAttachment(plan); }},
        {"information panel, which leaves it", [&] { press(Qt::Key_I); }},
    };
    for (const auto &[sheetName, openSheet] : openers) {
        openSheet();
        EXPECT_EQ(picker->isVisible(), openers.back().first == sheetName) << sheetName;
        press(Qt::Key_Escape);
        EXPECT_TRUE(picker->isVisible()) << "after " << sheetName;
    }
}

TEST_F(ViewerSheetTest, EscapeFromTheContactFormsFieldClosesTheFormAndKeepsTheTourOpen)
{
    LumivaneProject project = classicTour();
    project.contactFormEnabled = true;
    project.contactFormEmail = "agence@example.com";
    open(project);
    controller().setContactFormVisible(true);
    QTest::qWait(300);
    const QWidget *picker = sheet->overlayColumn().findChild<QWidget *>("languagePicker");
    EXPECT_FALSE(picker->isVisible());
    auto *field = sheet->faceChrome().findChild<QLineEdit *>();
    ASSERT_NE(field, nullptr);
    field->setFocus();
    QTest::keyClicks(field, "Ana");
    press(Qt::Key_Escape, Qt::NoModifier, field);
    EXPECT_FALSE(controller().state().showContactForm);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(dismissals, 0);
    EXPECT_EQ(sheet->face(), RootFace::cover);
    press(Qt::Key_Escape);
    EXPECT_EQ(dismissals, 1);
}

TEST_F(ViewerSheetTest, KeysOfTheStationViewDoNothingOnTheCoverAndNothingOnceHidden)
{
    open(classicTour(5));
    press(Qt::Key_Plus);
    EXPECT_EQ(controller().state().currentFOV, 75);

    controller().startTour();
    sheet->hide();
    QWidget window;
    window.show();
    QTest::keyClick(&window, Qt::Key_Plus);
    EXPECT_EQ(controller().state().currentFOV, 75);
}

TEST_F(ViewerSheetTest, AppearanceStartsTheVisitAndHidingEndsIt)
{
    LumivaneProject project = classicTour(3);
    writePhoto(1, Qt::red);
    writePhoto(2, Qt::blue);
    LumivaneViewerSheet &viewer = open(project);
    EXPECT_TRUE(viewer.isShowingTour());
    EXPECT_EQ(controller().state().currentStationID, TestTours::stationID(1));
    EXPECT_TRUE(controller().state().visitedStationIDs.contains(TestTours::stationID(1)));
    // The start photo and the neighbour are prefetched.
    EXPECT_TRUE(QTest::qWaitFor([&] { return services.imageCache->usage().fullCount == 2; }, 5000));
    EXPECT_TRUE(controller().state().showSplash);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !controller().state().showSplash; }, 3000));

    viewer.hide();
    EXPECT_FALSE(viewer.isShowingTour());
    EXPECT_EQ(services.imageCache->usage().fullCount, 0);
    EXPECT_GT(services.imageCache->usage().thumbnailCount, 0);
}

TEST_F(ViewerSheetTest, PreloadingKeepsAClassicToursPhotosNoLargerThanTheSlideshowShowsThem)
{
    const QUrl first = writePhoto(1, Qt::red, {3000, 1500});
    const QUrl second = writePhoto(2, Qt::blue, {3000, 1500});
    open(classicTour(3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return services.imageCache->usage().fullCount == 2; }, 5000));
    const QSize bound = LumivaneClassicViewer::photoBound(*sheet->screen());
    ASSERT_LT(bound.width(), 3000);
    EXPECT_EQ(services.imageCache->lookup(first).size(), QSize(bound.width(), bound.width() / 2));
    EXPECT_EQ(services.imageCache->lookup(second).size(), QSize(bound.width(), bound.width() / 2));
}

TEST_F(ViewerSheetTest, ASheetDestroyedWhileAStationChangeIsUnderWayReceivesNothing)
{
    for (int n = 1; n <= 4; ++n)
        writePhoto(n, Qt::darkCyan);
    openStarted(classicTour(4));
    // The start photo and its two neighbours, preloaded at the appearance.
    LumivaneImageCache::pool()->waitForDone();
    ASSERT_EQ(services.imageCache->usage().fullCount, 3);
    controller().goToStation(TestTours::stationID(3));
    sheet.reset();
    EXPECT_EQ(services.imageCache->usage().fullCount, 0) << "the visit ends with the sheet";
    // The arrival was due 0.18 s later; it would preload the neighbours of station 3.
    QTest::qWait(600);
    LumivaneImageCache::pool()->waitForDone();
    EXPECT_EQ(services.imageCache->usage().fullCount, 0);
}

TEST_F(ViewerSheetTest, OnlyARealChangeOfLanguageWhileShownReachesTheVisit)
{
    open(classicTour());
    QSignalSpy narrationStops(&narration, &LumivaneAudioService::isPlayingChanged);

    language.setCurrent(L10n::Language::french); // the one in use
    EXPECT_EQ(narrationStops.count(), 0);
    language.setCurrent(L10n::Language::english);
    EXPECT_EQ(narrationStops.count(), 1); // the visit stops narration before restarting it

    sheet->hide();
    const qsizetype afterHiding = narrationStops.count();
    language.setCurrent(L10n::Language::german);
    EXPECT_EQ(narrationStops.count(), afterHiding);
}

TEST_F(ViewerSheetTest, TheToggleNotificationsSwitchImmersionAndVRMode)
{
    openStarted(classicTour());
    notifications.post(lumivaneToggleImmersion);
    EXPECT_TRUE(controller().state().immersiveMode);
    notifications.post(lumivaneToggleVR);
    EXPECT_TRUE(controller().state().vrMode);
    notifications.post(lumivaneToggleImmersion);
    EXPECT_FALSE(controller().state().immersiveMode);
    notifications.post(QStringLiteral("somethingElse"));
    EXPECT_TRUE(controller().state().vrMode);
}

TEST_F(ViewerSheetTest, TheAudioGuideButtonStandsUnderThePickerAtStationsWithNarration)
{
    LumivaneProject project = classicTour(3);
    ViewerTour tour = tourOf(project);
    QTemporaryDir audio;
    const QString narrationFile = audio.filePath("1.m4a");
    tour.audioURLResolver = [narrationFile](const QUuid &id) -> std::optional<QUrl> {
        if (id == TestTours::stationID(1))
            return QUrl::fromLocalFile(narrationFile);
        return std::nullopt;
    };
    sheet = std::make_unique<LumivaneViewerSheet>(std::move(tour), services);
    sheet->resize(1280, 800);
    sheet->show();
    const auto audioGuide = [&] { return sheet->overlayColumn().findChild<QWidget *>("audioGuideButton"); };
    EXPECT_EQ(audioGuide(), nullptr); // the cover has none

    controller().startTour();
    ASSERT_NE(audioGuide(), nullptr);
    QWidget *picker = sheet->overlayColumn().findChild<QWidget *>("languagePicker");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->pos(), QPoint(20, 16));
    EXPECT_TRUE(QTest::qWaitFor([&] { return audioGuide()->y() == 16 + picker->height() + 8; }, 1000));
    EXPECT_EQ(audioGuide()->x(), 20);

    controller().goToStation(TestTours::stationID(2));
    waitForStationChange();
    EXPECT_TRUE(QTest::qWaitFor([&] { return audioGuide() == nullptr; }, 1000));
}

TEST_F(ViewerSheetTest, EveryViewIsGivenTheToursAccentOrTheGold)
{
    LumivaneProject project = classicTour();
    project.brandingAccentHex = " #2E7D6B\t";
    open(project);
    EXPECT_EQ(sheet->accent(), QColor(0x2e, 0x7d, 0x6b));

    project.brandingAccentHex = "#2E7D6";
    open(project);
    EXPECT_EQ(sheet->accent(), paletteGold());
}

} // namespace
