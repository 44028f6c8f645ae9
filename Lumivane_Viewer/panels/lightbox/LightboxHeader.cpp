#include "LightboxHeader.h"

#include "model/DisplayText.h"
#include "model/SystemFont.h"
#include "widgets/SymbolButton.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int horizontalPadding = 18;
constexpr int verticalPadding = 12;
constexpr int closeSide = 28;
constexpr int titleToButton = 8;

QFont titleFont()
{
    return systemFont(14, QFont::DemiBold);
}

SymbolButtonLook closeLook()
{
    SymbolButtonLook look;
    look.side = closeSide;
    look.symbol = QStringLiteral("xmark");
    look.symbolPoints = 12;
    look.symbolColor = QColor(255, 255, 255, 179);
    look.discColor = QColor(255, 255, 255, 26);
    return look;
}

} // namespace

LightboxHeader::LightboxHeader(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_close = new SymbolButton(closeLook(), this);
    m_close->setCursor(Qt::PointingHandCursor);
    connect(m_close, &QAbstractButton::clicked, this, [this] {
        if (onClose)
            onClose();
    });
}

void LightboxHeader::setTitle(const QString &title)
{
    m_title = displayLine(title);
    update();
}

void LightboxHeader::setCloseLabel(const QString &accessibleName)
{
    m_close->setAccessibleName(accessibleName);
}

QSize LightboxHeader::sizeHint() const
{
    const int content = std::max(closeSide, QFontMetrics(titleFont()).height());
    return {2 * horizontalPadding + closeSide, content + 2 * verticalPadding};
}

QSize LightboxHeader::minimumSizeHint() const
{
    return sizeHint();
}

QRect LightboxHeader::titleRect() const
{
    return QRect(horizontalPadding, 0, std::max(0, m_close->x() - titleToButton - horizontalPadding), height());
}

void LightboxHeader::resizeEvent(QResizeEvent *)
{
    m_close->setGeometry(width() - horizontalPadding - closeSide, (height() - closeSide) / 2, closeSide, closeSide);
}

void LightboxHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(titleFont());
    painter.setPen(Qt::white);
    const QRect area = titleRect();
    painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                     painter.fontMetrics().elidedText(m_title, Qt::ElideRight, area.width()));
}
