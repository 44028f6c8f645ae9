#include "ClassicInfoMarker.h"

#include "widgets/KeyboardFocus.h"
#include "widgets/SoftShadow.h"
#include "widgets/SymbolButton.h"
#include "widgets/SymbolImages.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr double kDiscSide = 36;
constexpr double kRingWidth = 2;
const DropShadow kShadow{QColor::fromRgbF(0, 0, 0, 0.5f), 6, QPointF(0, 2)};

// Room around the disc: its shadow, or at least the outer half of the ring.
QMarginsF outerMargins()
{
    const QMarginsF shadow = shadowMargins(kShadow);
    const double ring = kRingWidth / 2;
    return QMarginsF(std::max(shadow.left(), ring), std::max(shadow.top(), ring), std::max(shadow.right(), ring),
                     std::max(shadow.bottom(), ring));
}

} // namespace

ClassicInfoMarker::ClassicInfoMarker(QWidget *parent)
    : QAbstractButton(parent)
{
    KeyboardFocus::makeReachable(*this);
    resize(sizeHint());
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onSelect)
            onSelect();
    });
}

void ClassicInfoMarker::setAccent(const QColor &accent)
{
    m_accent = accent;
    update();
}

QSize ClassicInfoMarker::sizeHint() const
{
    const QMarginsF margins = outerMargins();
    return QSize(int(std::ceil(kDiscSide + margins.left() + margins.right())),
                 int(std::ceil(kDiscSide + margins.top() + margins.bottom())));
}

QPointF ClassicInfoMarker::discCentre() const
{
    const QMarginsF margins = outerMargins();
    return {margins.left() + kDiscSide / 2, margins.top() + kDiscSide / 2};
}

void ClassicInfoMarker::moveCentreTo(QPointF centre)
{
    const QPointF topLeft = centre - discCentre();
    move(int(std::lround(topLeft.x())), int(std::lround(topLeft.y())));
}

void ClassicInfoMarker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(kPressedOpacity);
    const QPointF centre = discCentre();
    const QRectF disc(centre - QPointF(kDiscSide, kDiscSide) / 2, QSizeF(kDiscSide, kDiscSide));
    paintRoundedRectShadow(painter, disc, kDiscSide / 2, kShadow);
    painter.setPen(QPen(Qt::white, kRingWidth));
    painter.setBrush(m_accent);
    painter.drawEllipse(disc);
    drawSymbol(painter, centre, u"info", 18, Qt::white);
    if (KeyboardFocus::showsRing(*this))
        KeyboardFocus::paintRing(painter, disc, kDiscSide / 2);
}

bool ClassicInfoMarker::hitButton(const QPoint &pos) const
{
    const QPointF offset = QPointF(pos) - discCentre();
    return std::hypot(offset.x(), offset.y()) <= kDiscSide / 2 + kRingWidth / 2;
}
