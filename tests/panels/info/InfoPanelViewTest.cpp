#include "panels/info/InfoGroupsBody.h"
#include "panels/info/LumivaneInfoPanelView.h"

#include "l10n/L10n.h"
#include "model/SystemFont.h"
#include "tests/support/PaintedInk.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/WidgetLookup.h"
#include "widgets/SymbolButton.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class InfoPanelView : public ::testing::Test
{
protected:
    InfoPanelView() { m_l10n.setCurrent(L10n::Language::english); }

    void open(const LumivaneProject &project, QSize size = QSize(1200, 800))
    {
        m_view = std::make_unique<LumivaneInfoPanelView>(project, m_l10n);
        m_view->onClose = [this] { ++m_closes; };
        m_view->resize(size);
        m_view->show();
    }

    static LumivaneProject manyFacts()
    {
        LumivaneProject project;
        project.area = 120;
        project.price = 250000;
        project.hasParking = true;
        project.energyClass = EnergyClass::b;
        project.freeNote = QStringLiteral("A long note that wraps over several lines in the narrow column of the "
                                          "panel, because authors write a lot.\nAnd keeps its line break.");
        for (int i = 0; i < 30; ++i)
            project.customFields.append({QUuid(), QStringLiteral("Field %1").arg(i), CustomFieldType::text,
                                         QStringLiteral("Value %1").arg(i)});
        return project;
    }

    InfoGroupsBody *body() const { return widgetOfType<InfoGroupsBody>(m_view.get()); }
    QLabel *title() const { return m_view->findChild<QLabel *>(); }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
    std::unique_ptr<LumivaneInfoPanelView> m_view;
    int m_closes = 0;
};

TEST_F(InfoPanelView, columnHoldsTheTrailingEdgeAtFixedWidth)
{
    open(LumivaneProject(), QSize(1000, 700));
    EXPECT_EQ(m_view->columnGeometry(), QRect(620, 0, 380, 700));
    m_view->resize(1600, 900);
    EXPECT_EQ(m_view->columnGeometry(), QRect(1220, 0, 380, 900));
}

TEST_F(InfoPanelView, backdropClickAndCloseButtonCloseButTheColumnDoesNot)
{
    open(manyFacts());
    QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, QPoint(1100, 700)); // empty part of the column
    EXPECT_EQ(m_closes, 0);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, QPoint(300, 400));
    EXPECT_EQ(m_closes, 1);
    auto *close = widgetOfType<SymbolButton>(m_view.get());
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->accessibleName(), QStringLiteral("Close"));
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_EQ(m_closes, 2);
}

TEST_F(InfoPanelView, rowsStackInsideTheColumnAndScroll)
{
    open(manyFacts());
    const QList<QRectF> rows = body()->rowRects();
    ASSERT_EQ(rows.size(), 35);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        EXPECT_GE(rows[i].left(), 20);
        EXPECT_LE(rows[i].right(), body()->width() - 20 + 0.5);
        if (i > 0) {
            EXPECT_GE(rows[i].top(), rows[i - 1].bottom() - 0.5);
        }
    }
    // The note wraps to more than one line; a one-line row is 8 + text + 8.
    EXPECT_GT(rows[4].height(), rows[0].height() * 1.8);
    EXPECT_GT(body()->height(), m_view->height());
    EXPECT_GT(m_view->findChild<QScrollArea *>()->verticalScrollBar()->maximum(), 0);
}

TEST_F(InfoPanelView, emptyProjectShowsOnlyTheEmptyText)
{
    open(LumivaneProject());
    EXPECT_TRUE(body()->rowRects().isEmpty());
    EXPECT_EQ(title()->text(), QStringLiteral("Information"));
    // The body paints one line of text, as wide as the empty text in its font.
    const QWidget *viewport = m_view->findChild<QScrollArea *>()->viewport();
    const QRect area(viewport->mapTo(m_view.get(), QPoint()), viewport->size());
    const QRect ink = inkBounds(m_view->grab(area).toImage(), 70);
    const QFontMetricsF metrics(systemFont(12));
    EXPECT_NEAR(ink.width(), metrics.horizontalAdvance(QStringLiteral("No information provided.")), 3);
    EXPECT_LE(ink.height(), metrics.height());
}

TEST_F(InfoPanelView, languageChangeRebuildsTheTexts)
{
    open(manyFacts());
    m_l10n.setCurrent(L10n::Language::french);
    EXPECT_EQ(title()->text(), QStringLiteral("Informations"));
    EXPECT_EQ(body()->rowRects().size(), 35);
}

} // namespace
