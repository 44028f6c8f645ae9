#include "TestNavigation.h"
#include "navigation/StationCardGrid.h"
#include "navigation/TableOfContentsEmptyState.h"
#include "navigation/TableOfContentsSheet.h"
#include "tests/support/PaintedInk.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "widgets/SymbolButton.h"

namespace {

class TableOfContentsSheetTest : public NavigationViewTest
{
protected:
    TableOfContentsSheet *open(const LumivaneProject &project, std::optional<QUuid> current = std::nullopt)
    {
        auto *sheet = new TableOfContentsSheet(project, resolver(), current, accent, l10n, cache, &host);
        sheet->setGeometry(host.rect());
        sheet->onSelect = [this](QUuid id) { calls.append(QStringLiteral("select %1").arg(TestTours::stationNumber(id))); };
        sheet->onClose = [this] { calls.append(QStringLiteral("close")); };
        sheet->show();
        showHost();
        return sheet;
    }

    static StationCardGrid *grid(TableOfContentsSheet *sheet) { return widgetOfType<StationCardGrid>(sheet); }
    static QLineEdit *search(TableOfContentsSheet *sheet) { return sheet->findChild<QLineEdit *>(); }

    static QString count(TableOfContentsSheet *sheet)
    {
        for (QLabel *label : sheet->findChildren<QLabel *>()) {
            if (label->text().contains(QStringLiteral("station")))
                return label->text();
        }
        return {};
    }

    static QStringList headings(TableOfContentsSheet *sheet)
    {
        QStringList texts;
        for (const GridHeading &heading : grid(sheet)->gridLayout().headings)
            texts.append(heading.text);
        return texts;
    }

    /// The colour shown at a point of the card grid's viewport.
    QColor colourIn(TableOfContentsSheet *sheet, QPointF point)
    {
        return host.pixel(grid(sheet)->viewport()->mapTo(&host, point.toPoint()));
    }

    /// Where the heading's letters are painted, within its line.
    QRect headingInk(TableOfContentsSheet *sheet, int index)
    {
        QWidget *viewport = grid(sheet)->viewport();
        const QRect line = grid(sheet)->gridLayout().headings.at(index).rect.toAlignedRect();
        return inkBounds(host.grab(QRect(viewport->mapTo(&host, line.topLeft()), line.size())).toImage());
    }

    void clickCard(TableOfContentsSheet *sheet, int station)
    {
        StationCardGrid *cards = grid(sheet);
        const QRectF card = cards->cardRect(TestTours::stationID(station));
        ASSERT_FALSE(card.isEmpty());
        QTest::mouseClick(cards->viewport(), Qt::LeftButton, {}, card.center().toPoint());
    }

    QStringList calls;
};

LumivaneProject tourOnLevels(const QList<std::optional<QString>> &levels, RenderMode mode = RenderMode::simple)
{
    LumivaneProject project = TestTours::tour(int(levels.size()));
    project.renderMode = mode;
    for (qsizetype i = 0; i < levels.size(); ++i)
        project.stations[i].level = levels[i];
    return project;
}

TEST_F(TableOfContentsSheetTest, choosingACardSelectsThenCloses)
{
    TableOfContentsSheet *sheet = open(TestTours::tour(5), TestTours::stationID(3));
    // Only the current card is tinted with the accent; the gap between cards shows the panel.
    const QRectF second = grid(sheet)->cardRect(TestTours::stationID(2));
    const QColor panel = colourIn(sheet, QPointF(second.right() + 7, second.center().y()));
    const auto margin = [&](int station) {
        const QRectF card = grid(sheet)->cardRect(TestTours::stationID(station));
        return colourIn(sheet, QPointF(card.left() + 3, card.center().y()));
    };
    EXPECT_TRUE(TestPhotoFiles::near(margin(3), blended(panel, accent, 0.15), 3)) << margin(3).name().toStdString();
    EXPECT_TRUE(TestPhotoFiles::near(margin(2), blended(panel, Qt::white, 0.04), 3)) << margin(2).name().toStdString();

    clickCard(sheet, 3);
    clickCard(sheet, 5);
    EXPECT_EQ(calls, (QStringList{"select 3", "close", "select 5", "close"}));
}

TEST_F(TableOfContentsSheetTest, theBackdropAndTheCloseButtonOnlyClose)
{
    TableOfContentsSheet *sheet = open(TestTours::tour(5));
    const QRect panel = sheet->panelGeometry();
    QTest::mouseClick(sheet, Qt::LeftButton, {}, QPoint(panel.left() / 2, panel.top() / 2));
    EXPECT_EQ(calls, QStringList{"close"});
    QTest::mouseClick(sheet, Qt::LeftButton, {}, panel.bottomRight() - QPoint(30, 10)); // inside the panel
    EXPECT_EQ(calls, QStringList{"close"});
    widgetOfType<SymbolButton>(sheet)->click();
    EXPECT_EQ(calls, (QStringList{"close", "close"}));
}

class SearchRowTest : public TableOfContentsSheetTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(SearchRowTest, searchFromEightStationsFocusedAfterATenthOfASecond)
{
    TableOfContentsSheet *sheet = open(TestTours::tour(GetParam()));
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    QLineEdit *field = search(sheet);
    if (GetParam() < 8) {
        EXPECT_EQ(field, nullptr);
        // The window gives its first focus on activation; the sheet moves none.
        QWidget *activationFocus = QApplication::focusWidget();
        QTest::qWait(200);
        EXPECT_EQ(QApplication::focusWidget(), activationFocus);
        return;
    }
    ASSERT_NE(field, nullptr);
    EXPECT_FALSE(field->hasFocus());
    QTRY_VERIFY_WITH_TIMEOUT(field->hasFocus(), 1000);
}

INSTANTIATE_TEST_SUITE_P(TableOfContents, SearchRowTest, ::testing::Values(7, 8));

TEST_F(TableOfContentsSheetTest, typingFiltersCountsAndShowsTheEmptyState)
{
    LumivaneProject project = tourOnLevels({"A", "A", "B", "B", "A", "B", "A", "B", "A", "B"});
    project.stations[0].name = QStringLiteral("Café");
    TableOfContentsSheet *sheet = open(project);
    EXPECT_EQ(count(sheet), "10 stations");
    EXPECT_EQ(headings(sheet), (QStringList{"A", "B"}));

    QTest::keyClicks(search(sheet), QStringLiteral("CAFE"));
    EXPECT_EQ(count(sheet), "1 station found out of 10");
    EXPECT_EQ(grid(sheet)->gridLayout().cards.size(), 1);
    EXPECT_TRUE(headings(sheet).isEmpty()) << "a search shows one flat grid";

    search(sheet)->setText(QStringLiteral(" zzz "));
    auto *empty = widgetOfType<TableOfContentsEmptyState>(sheet);
    EXPECT_TRUE(empty->isVisible());
    EXPECT_FALSE(grid(sheet)->isVisible());
    EXPECT_EQ(empty->text(), "No station matches \" zzz \".");
    EXPECT_EQ(empty->symbol(), "magnifyingglass");
    EXPECT_EQ(count(sheet), "0 stations found out of 10");

    search(sheet)->setText(QStringLiteral("   "));
    EXPECT_EQ(count(sheet), "10 stations");
    EXPECT_EQ(grid(sheet)->gridLayout().cards.size(), 10);
    EXPECT_TRUE(headings(sheet).isEmpty()) << "spaces are a typed query";

    const QList<SymbolButton *> buttons = widgetsOfType<SymbolButton>(sheet);
    SymbolButton *clear = buttons.last();
    ASSERT_TRUE(clear->isVisible());
    clear->click();
    EXPECT_EQ(sheet->query(), "");
    EXPECT_FALSE(clear->isVisible());
    EXPECT_EQ(headings(sheet), (QStringList{"A", "B"}));
}

TEST_F(TableOfContentsSheetTest, classicToursAndEmptyToursAreNeverGrouped)
{
    TableOfContentsSheet *classic = open(tourOnLevels({"A", "B", std::nullopt}, RenderMode::classic));
    EXPECT_TRUE(headings(classic).isEmpty());
    delete classic;

    TableOfContentsSheet *grouped = open(tourOnLevels({"A", "a", " B", std::nullopt, "B "}));
    EXPECT_EQ(headings(grouped), (QStringList{"A", "a", "B", "No level"}));
    EXPECT_EQ(headingInk(grouped, 1).size(), headingInk(grouped, 0).size()) << "headings are shown in capitals";
    delete grouped;

    TableOfContentsSheet *empty = open(TestTours::tour(0));
    EXPECT_EQ(count(empty), "0 stations");
    EXPECT_EQ(widgetOfType<TableOfContentsEmptyState>(empty)->symbol(), "photo.on.rectangle.angled");
    EXPECT_EQ(widgetOfType<TableOfContentsEmptyState>(empty)->text(), "No station.");
}

TEST_F(TableOfContentsSheetTest, hoveringACardPushesOneCursorAndLeavingPopsIt)
{
    QPointer<TableOfContentsSheet> sheet = open(TestTours::tour(5));
    StationCardGrid *cards = grid(sheet);
    const QPoint onCard = cards->cardRect(TestTours::stationID(2)).center().toPoint();
    QTest::mouseMove(cards->viewport(), onCard);
    QTRY_VERIFY(QGuiApplication::overrideCursor() != nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    QTest::mouseMove(cards->viewport(), onCard + QPoint(1, 1));
    QTest::mouseMove(cards->viewport(), QPoint(2, 2));
    QTRY_COMPARE(QGuiApplication::overrideCursor(), nullptr);

    // A card chosen under the pointer closes the sheet: its cursor goes too.
    QTest::mouseMove(cards->viewport(), onCard);
    QTRY_VERIFY(QGuiApplication::overrideCursor() != nullptr);
    delete sheet;
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
