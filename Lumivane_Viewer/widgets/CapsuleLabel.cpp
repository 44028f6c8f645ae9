#include "CapsuleLabel.h"

#include "model/DisplayText.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The widest a capsule asks to be: about a hundred characters. A longer
// text is elided rather than allowed to make layouts and windows grow.
constexpr double kLargestWidth = 1024;

} // namespace

CapsuleLabel::CapsuleLabel(CapsuleLook look, QWidget *parent)
    : QWidget(parent)
    , m_look(std::move(look))
{
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CapsuleLabel::setText(const QString &text)
{
    const QString shown = displayLine(text);
    if (shown == m_text)
        return;
    m_text = shown;
    m_textWidth = std::min(QFontMetricsF(m_look.font).horizontalAdvance(m_text), kLargestWidth);
    m_elidedWidth = -1;
    setAccessibleName(m_text);
    updateGeometry();
    update();
}

void CapsuleLabel::setImage(const QImage &image)
{
    m_image = image;
    updateGeometry();
    update();
}

QSizeF CapsuleLabel::imageSize() const
{
    if (m_image.isNull() || m_look.imageHeight <= 0)
        return QSizeF(0, 0);
    const QSizeF natural = m_image.deviceIndependentSize();
    return natural.scaled(QSizeF(kLargestWidth, m_look.imageHeight), Qt::KeepAspectRatio);
}

double CapsuleLabel::textWidth() const
{
    return m_text.isEmpty() ? 0 : m_textWidth;
}

double CapsuleLabel::contentHeight() const
{
    const bool showsText = !m_text.isEmpty() || m_image.isNull();
    return std::max(imageSize().height(), showsText ? QFontMetricsF(m_look.font).height() : 0.0);
}

QSize CapsuleLabel::sizeHint() const
{
    const QSizeF image = imageSize();
    const double spacing = !image.isEmpty() && !m_text.isEmpty() ? m_look.spacing : 0;
    const double width = image.width() + spacing + textWidth() + 2 * m_look.horizontalPadding;
    const double height = contentHeight() + 2 * m_look.verticalPadding;
    return {int(std::ceil(std::min(width, kLargestWidth))), int(std::ceil(height))};
}

QSize CapsuleLabel::minimumSizeHint() const
{
    const double ellipsis = m_text.isEmpty() ? 0 : QFontMetricsF(m_look.font).horizontalAdvance(QChar(0x2026));
    const double width = imageSize().width() + ellipsis + 2 * m_look.horizontalPadding;
    return {int(std::ceil(width)), sizeHint().height()};
}

void CapsuleLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = rect();
    paintCapsule(painter, capsule, m_look);

    double left = m_look.horizontalPadding;
    const double right = capsule.width() - m_look.horizontalPadding;
    const double middle = capsule.center().y();
    const QSizeF image = imageSize();
    if (!image.isEmpty()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(QPointF(left, middle - image.height() / 2), image), m_image);
        left += image.width() + m_look.spacing;
    }
    if (m_text.isEmpty() || right <= left)
        return;
    const QFontMetricsF metrics(m_look.font);
    painter.setFont(m_look.font);
    painter.setPen(m_look.foreground);
    const qreal ratio = devicePixelRatio();
    // A baseline between device pixels would blur the text vertically.
    const double baseline = std::round((middle - metrics.height() / 2 + metrics.ascent()) * ratio) / ratio;
    if (m_elidedWidth != right - left) {
        m_elidedWidth = right - left;
        m_elided = metrics.elidedText(m_text, Qt::ElideRight, m_elidedWidth + 0.5);
    }
    painter.drawText(QPointF(left, baseline), m_elided);
}
