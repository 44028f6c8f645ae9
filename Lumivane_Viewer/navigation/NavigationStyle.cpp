#include "NavigationStyle.h"

#include "RoundedPanel.h"
#include "model/SystemFont.h"
#include "widgets/SymbolButton.h"
#include "widgets/SymbolImages.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QScrollBar>
#include <QVBoxLayout>

QFont tracked(QFont font, double tracking)
{
    font.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    return font;
}

QLabel *makeLabel(const QFont &font, const QColor &color, QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    label->setPalette(palette);
    return label;
}

QLabel *makeCapitalsLabel(const QFont &font, const QColor &color, QWidget *parent, const QString &text)
{
    QLabel *label = makeLabel(font, color, parent, text.toUpper());
    const QFontMetrics metrics(font);
    const int overflow = -metrics.tightBoundingRect(QStringLiteral("ÉÀÂ")).top() - metrics.ascent();
    // The label centres its text, so the room is kept on both sides.
    if (overflow > 0)
        label->setContentsMargins(0, overflow, 0, overflow);
    return label;
}

SymbolButtonLook sheetCloseButtonLook()
{
    constexpr double symbolPoints = 12;
    constexpr double margin = 10;
    SymbolButtonLook look;
    look.symbol = QStringLiteral("xmark");
    look.symbolPoints = symbolPoints;
    look.side = symbolBoxSide(symbolPoints) + 2 * margin;
    look.symbolColor = withAlpha(Qt::white, 0.7);
    look.discColor = withAlpha(Qt::white, 0.1);
    return look;
}

SheetTitleRow makeSheetTitleRow(QWidget *parent, double titlePoints)
{
    const QFont titleFont = tracked(systemFont(titlePoints, QFont::Normal, FontDesign::serif, true), -0.3);
    SheetTitleRow row{new QHBoxLayout, makeLabel(titleFont, Qt::white, parent),
                      makeLabel(systemFont(12), withAlpha(Qt::white, 0.55), parent),
                      new SymbolButton(sheetCloseButtonLook(), parent)};
    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(row.title);
    titles->addWidget(row.subtitle);
    row.layout->addLayout(titles);
    row.layout->addStretch();
    row.layout->addWidget(row.closeButton);
    return row;
}

void addSheetHeader(QVBoxLayout &column, QWidget *header)
{
    column.addWidget(header);
    auto *hairline = new RoundedPanel(withAlpha(Qt::white, 0.1), 0, column.parentWidget());
    hairline->setFixedHeight(1);
    column.addWidget(hairline);
}

void styleScrollBar(QScrollBar *bar)
{
    bar->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 10px; margin: 2px; }"
        "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 90); border-radius: 3px; min-height: 30px; }"
        "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }"));
}
