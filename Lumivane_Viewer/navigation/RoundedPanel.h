#pragma once

#include <QColor>
#include <QWidget>

/// A plain widget that paints itself as a rounded rectangle of one colour;
/// its children lie on it.
class RoundedPanel final : public QWidget
{
public:
    RoundedPanel(QColor color, double cornerRadius, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    double m_cornerRadius;
};
