#pragma once

#include <QAbstractButton>

/// A small square button on the location map: zoom in, zoom out, or the
/// compass that turns the map back to north. Its glyph is drawn, not taken
/// from the symbol set, so it stays legible over any tile.
class MapControlButton final : public QAbstractButton
{
public:
    enum class Glyph { plus, minus, compass };

    static constexpr int side = 26;

    explicit MapControlButton(Glyph glyph, QWidget *parent = nullptr);

    /// The compass needle's heading: the map's rotation, degrees clockwise.
    void setHeading(double degrees);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintCompass(QPainter &painter, const QRectF &box) const;

    Glyph m_glyph;
    double m_heading = 0;
};
