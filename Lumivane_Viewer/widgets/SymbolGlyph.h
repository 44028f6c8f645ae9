#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

/// A named symbol shown on its own, sized like a glyph of a font of the
/// given points and drawn at the screen's pixel ratio when painted.
class SymbolGlyph final : public QWidget
{
public:
    SymbolGlyph(QString symbol, double points, QColor color, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    double m_points;
    QColor m_color;
};
