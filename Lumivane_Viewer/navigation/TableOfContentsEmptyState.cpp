#include "TableOfContentsEmptyState.h"

#include "NavigationStyle.h"
#include "model/SystemFont.h"
#include "widgets/SymbolImages.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr double kSymbolPoints = 44;

} // namespace

TableOfContentsEmptyState::TableOfContentsEmptyState(QWidget *parent)
    : QWidget(parent)
    , m_symbolLabel(new QLabel(this))
    , m_textLabel(makeLabel(systemFont(15, QFont::Normal, FontDesign::serif, true), withAlpha(Qt::white, 0.55), this))
{
    m_symbolLabel->setAlignment(Qt::AlignCenter);
    m_textLabel->setAlignment(Qt::AlignCenter);
    m_textLabel->setWordWrap(true);
    m_textLabel->setContentsMargins(40, 0, 40, 0);
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addStretch();
    layout->addWidget(m_symbolLabel);
    layout->addWidget(m_textLabel);
    layout->addStretch();
}

void TableOfContentsEmptyState::setContent(bool searching, const QString &text)
{
    m_symbol = searching ? QStringLiteral("magnifyingglass") : QStringLiteral("photo.on.rectangle.angled");
    m_textLabel->setText(text);
    refreshSymbol();
}

QString TableOfContentsEmptyState::text() const
{
    return m_textLabel->text();
}

void TableOfContentsEmptyState::showEvent(QShowEvent *event)
{
    // The window, and with it the pixel ratio, is known once shown.
    refreshSymbol();
    QWidget::showEvent(event);
}

void TableOfContentsEmptyState::refreshSymbol()
{
    if (!m_symbol.isEmpty())
        m_symbolLabel->setPixmap(symbolPixmap(m_symbol, kSymbolPoints, withAlpha(Qt::white, 0.4), devicePixelRatioF()));
}
