#include "ShadowedText.h"

#include "media/images/MarkerShadow.h"
#include "model/DisplayText.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

int textFlags(Qt::Alignment alignment)
{
    return int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextWordWrap;
}

} // namespace

void ShadowedText::setText(const QString &text, const ShadowedTextStyle &style)
{
    m_text = displayText(text, DisplayLength::title, LineBreaks::kept);
    m_style = style;
    m_rendered = QPixmap();
    m_renderedWidth = -1;
    m_measuredWidth = -1;
}

QRectF ShadowedText::textRect(double width) const
{
    const QFontMetricsF metrics(m_style.font);
    return metrics.boundingRect(QRectF(0, 0, std::max(1.0, width), 1e6), textFlags(m_style.alignment), m_text);
}

QSizeF ShadowedText::size(double width) const
{
    if (m_text.isEmpty())
        return QSizeF(0, 0);
    if (width != m_measuredWidth) {
        const QRectF rect = textRect(width);
        // Whole pixels, so that the block laid out again at its own width
        // breaks its lines at the same places.
        m_measured = QSizeF(std::min(std::ceil(rect.width()), width), std::ceil(rect.height()));
        m_measuredWidth = width;
    }
    return m_measured;
}

void ShadowedText::paint(QPainter &painter, QPointF topLeft, double width)
{
    if (m_text.isEmpty() || width <= 0)
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    if (m_renderedWidth != width || m_rendered.devicePixelRatio() != ratio) {
        m_rendered = render(width, ratio);
        m_renderedWidth = width;
    }
    const QMarginsF margins = shadowMargins(m_style.shadow);
    painter.drawPixmap(topLeft - QPointF(margins.left(), margins.top()), m_rendered);
}

// The glyphs are drawn once into a layer; the layer's blurred alpha, tinted
// with the shadow colour, goes under them. A translucent text therefore
// casts a fainter shadow, and a fully transparent one none.
QPixmap ShadowedText::render(double width, qreal ratio) const
{
    const QRectF block(QPointF(0, 0), QSizeF(width, textRect(width).height()));
    const QMarginsF margins = shadowMargins(m_style.shadow);
    const QRectF canvas = block.marginsAdded(margins);
    QImage glyphs(QSize(int(std::ceil(canvas.width() * ratio)), int(std::ceil(canvas.height() * ratio))),
                  QImage::Format_ARGB32_Premultiplied);
    glyphs.setDevicePixelRatio(ratio);
    glyphs.fill(Qt::transparent);
    {
        QPainter painter(&glyphs);
        painter.setFont(m_style.font);
        painter.setPen(m_style.color);
        painter.drawText(block.translated(margins.left(), margins.top()), textFlags(m_style.alignment), m_text);
    }
    QImage shadow = glyphs.copy();
    blurAlpha(shadow, m_style.shadow.radius / 2 * ratio);
    {
        QPainter tint(&shadow);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(shadow.rect(), m_style.shadow.color);
    }
    QImage composed(glyphs.size(), QImage::Format_ARGB32_Premultiplied);
    composed.setDevicePixelRatio(ratio);
    composed.fill(Qt::transparent);
    {
        QPainter painter(&composed);
        painter.drawImage(m_style.shadow.offset, shadow);
        painter.drawImage(QPointF(0, 0), glyphs);
    }
    return QPixmap::fromImage(composed);
}
