#pragma once

#include "widgets/SoftShadow.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSizeF>
#include <QString>

class QPainter;

/// How a shadowed text looks: font, colour (its alpha included), lines
/// aligned left, centred or right, and a soft shadow cast by the glyphs.
struct ShadowedTextStyle
{
    QFont font;
    QColor color = Qt::white;
    Qt::Alignment alignment = Qt::AlignLeft;
    DropShadow shadow;
};

/// A block of text with a soft drop shadow, wrapped at a width, as the
/// watermark and the classic caption draw it. QPainter has no text shadows:
/// the block and its blurred silhouette are rendered once into a pixmap and
/// only copied afterwards, so repainting over a moving photo stays cheap.
class ShadowedText
{
public:
    void setText(const QString &text, const ShadowedTextStyle &style);
    bool isEmpty() const { return m_text.isEmpty(); }
    /// The text as shown: cut, its control characters made spaces.
    const QString &text() const { return m_text; }

    /// The size of the text block (without its shadow) wrapped at width.
    QSizeF size(double width) const;
    /// Draws the block with its top-left corner at topLeft, wrapped at width.
    void paint(QPainter &painter, QPointF topLeft, double width);

private:
    QRectF textRect(double width) const;
    QPixmap render(double width, qreal ratio) const;

    QString m_text;
    ShadowedTextStyle m_style;
    QPixmap m_rendered;
    double m_renderedWidth = -1;
    // The last measurement: painting asks for it on every frame.
    mutable QSizeF m_measured;
    mutable double m_measuredWidth = -1;
};
