#include "TestNavigation.h"
#include "navigation/StationThumbBar.h"
#include "tests/support/PaintedInk.h"

#include <QAccessible>
#include <QAccessibleActionInterface>

namespace {

using TestPhotoFiles::near;

class StationThumbBarTest : public NavigationViewTest
{
protected:
    StationThumbBar *makeStrip(const QList<Station> &stations, std::optional<QUuid> current,
                               QHash<QUuid, QString> numbers = {})
    {
        auto *strip = new StationThumbBar(stations, current, resolver(), std::move(numbers), accent, l10n, cache, &host);
        const int height = strip->sizeHint().height();
        strip->setGeometry(0, host.height() - height, host.width(), height);
        strip->onSelect = [this](QUuid id) { selected.append(TestTours::stationNumber(id)); };
        return strip;
    }

    QList<int> selected;
};

QList<Station> stations(int count)
{
    QList<Station> list;
    for (int n = 1; n <= count; ++n)
        list.append(TestTours::station(n));
    return list;
}

TEST_F(StationThumbBarTest, aClickReportsTheCellsStationAlsoTheCurrentOne)
{
    StationThumbBar *strip = makeStrip(stations(5), TestTours::stationID(2));
    showHost();
    for (const int n : {2, 4}) {
        const QPoint centre = strip->cellRect(TestTours::stationID(n)).center().toPoint();
        QTest::mouseClick(strip, Qt::LeftButton, {}, centre);
    }
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(5, 5)); // between cells
    EXPECT_EQ(selected, (QList<int>{2, 4}));
    EXPECT_EQ(strip->currentStationID(), TestTours::stationID(2)); // only the viewer changes it
}

TEST_F(StationThumbBarTest, scrollsTheCurrentCellToTheMiddleOnlyWhenItChanges)
{
    StationThumbBar *strip = makeStrip(stations(40), TestTours::stationID(30));
    showHost();
    EXPECT_EQ(strip->scrollOffset(), 0) << "no scroll on first show";

    strip->setCurrentStationID(TestTours::stationID(20));
    const auto centreOf20 = [&] { return strip->cellRect(TestTours::stationID(20)).center().x(); };
    EXPECT_GT(centreOf20() - strip->width() / 2.0, 100) << "animated, not a jump";
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(centreOf20() - strip->width() / 2.0) < 0.01, 2000);

    const double settled = strip->scrollOffset();
    strip->setCurrentStationID(std::nullopt);
    strip->setCurrentStationID(QUuid::createUuid());
    QTest::qWait(450);
    EXPECT_EQ(strip->scrollOffset(), settled);

    strip->setCurrentStationID(TestTours::stationID(40));
    QTRY_COMPARE_WITH_TIMEOUT(strip->scrollOffset(), strip->contentWidth() - strip->width(), 2000);
}

TEST_F(StationThumbBarTest, photosArriveFromScaledDecodesUnderTheBadgesAndTheCurrentMark)
{
    QList<Station> list = stations(3);
    list[0].name = list[2].name = QStringLiteral("Salle de bain");
    const QColor first = givePhoto(list[0], QColor(200, 40, 40), QSize(4000, 2000));
    const QColor third = givePhoto(list[2], QColor(40, 180, 60), QSize(4000, 2000));
    StationThumbBar *strip = makeStrip(list, list[0].id, {{list[0].id, "1"}, {list[1].id, ""}});
    showHost();

    const auto colourAt = [&](int n, QPointF offset) {
        const QRectF cell = strip->cellRect(TestTours::stationID(n));
        return host.pixel(strip->mapTo(&host, (cell.topLeft() + offset).toPoint()));
    };
    const auto colourIn = [&](int n) { return colourAt(n, QPointF(30, 40)); };
    QTRY_VERIFY_WITH_TIMEOUT(near(colourIn(1), first) && near(colourIn(3), third), 5000);
    const QColor placeholder(51, 51, 51);
    EXPECT_TRUE(near(colourIn(2), placeholder, 3)) << "grey placeholder";

    // The badge darkens the thumbnail's top-left corner only where the number is not empty.
    const QPointF inBadge(8, 13);
    EXPECT_TRUE(near(colourAt(1, inBadge), blended(first, Qt::black, 0.65)));
    EXPECT_TRUE(near(colourAt(2, inBadge), placeholder, 3)) << "an empty number shows no badge";
    EXPECT_TRUE(near(colourAt(3, inBadge), third));

    // The current cell: outlined in the accent, its name in bold (wider than the same name in regular).
    const QPointF onLeftEdge(0, 31);
    EXPECT_TRUE(near(colourAt(1, onLeftEdge), accent, 10));
    EXPECT_FALSE(near(colourAt(3, onLeftEdge), accent, 40));
    const auto nameInk = [&](int n) {
        const QRect name = strip->cellRect(TestTours::stationID(n)).adjusted(0, 64, 0, 0).toAlignedRect();
        return inkBounds(host.grab(QRect(strip->mapTo(&host, name.topLeft()), name.size())).toImage());
    };
    EXPECT_GE(nameInk(1).width(), nameInk(3).width() + 5);

    const LumivaneImageCache::Usage usage = cache->usage();
    EXPECT_EQ(usage.fullCount, 0) << "never a full-size decode";
    EXPECT_EQ(usage.thumbnailCount, 2);
    EXPECT_LE(usage.thumbnailBytes, 2 * 128 * 64 * 4);
}

TEST_F(StationThumbBarTest, cellsAreNamedAndPressableButtonsForAssistiveTechnology)
{
    QList<Station> list = stations(3);
    list[1].nameTranslations = Translations{{"fr", "Salon"}};
    StationThumbBar *strip = makeStrip(list, std::nullopt);
    showHost();
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(strip);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->childCount(), 3);
    QAccessibleInterface *second = bar->child(1);
    EXPECT_EQ(second->role(), QAccessible::Button);
    EXPECT_EQ(second->text(QAccessible::Name), "Station 2");
    l10n.setCurrent(L10n::Language::french);
    EXPECT_EQ(second->text(QAccessible::Name), "Salon");
    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(selected, QList<int>{2});
}

} // namespace
