#include "StartScreenSymbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <initializer_list>

namespace StartScreenSymbols {

namespace {

QPainterPath polygon(std::initializer_list<QPointF> corners)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF &corner : corners) {
        if (first)
            path.moveTo(corner);
        else
            path.lineTo(corner);
        first = false;
    }
    path.closeSubpath();
    return path;
}

} // namespace

void paintCube(QPainter &painter, const QRectF &square, const QBrush &brush)
{
    // Oblique view: a front square and the same square pushed back up and to
    // the right; the three far edges stay visible through the faces.
    const double side = std::min(square.width(), square.height());
    const double edge = side * 0.62;
    const QPointF depth(side * 0.26, -side * 0.26);
    const QPointF frontTopLeft(square.center().x() - (edge + depth.x()) / 2,
                               square.center().y() - (edge + depth.y()) / 2);
    const QPointF ftl = frontTopLeft;
    const QPointF ftr = ftl + QPointF(edge, 0);
    const QPointF fbl = ftl + QPointF(0, edge);
    const QPointF fbr = ftl + QPointF(edge, edge);
    const QPointF btl = ftl + depth, btr = ftr + depth, bbl = fbl + depth, bbr = fbr + depth;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(brush, side * 0.022, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setOpacity(0.5);
    painter.drawLine(bbl, btl);
    painter.drawLine(bbl, bbr);
    painter.drawLine(bbl, fbl);

    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.setOpacity(0.30);
    painter.drawPath(polygon({ftl, ftr, btr, btl}));
    painter.setOpacity(0.45);
    painter.drawPath(polygon({ftr, btr, bbr, fbr}));
    painter.setOpacity(0.60);
    painter.drawPath(polygon({ftl, ftr, fbr, fbl}));

    painter.setOpacity(1.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(brush, side * 0.04, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(polygon({ftl, btl, btr, bbr, fbr, fbl}));
    painter.drawLine(ftl, ftr);
    painter.drawLine(ftr, fbr);
    painter.drawLine(ftr, btr);
    painter.restore();
}

void paintFolder(QPainter &painter, const QRectF &square, const QColor &color)
{
    const double side = std::min(square.width(), square.height());
    const QRectF box(square.center().x() - side / 2, square.center().y() - side * 0.4, side, side * 0.8);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);

    // Tab on the upper left, then the body with rounded corners.
    const double radius = side * 0.09;
    QPainterPath tab;
    tab.addRoundedRect(QRectF(box.left(), box.top(), box.width() * 0.45, box.height() * 0.35), radius, radius);
    QPainterPath body;
    body.addRoundedRect(QRectF(box.left(), box.top() + box.height() * 0.16, box.width(), box.height() * 0.84),
                        radius, radius);
    painter.drawPath(tab.united(body));
    painter.restore();
}

} // namespace StartScreenSymbols
