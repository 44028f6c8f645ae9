#include "TourPlaceholderView.h"

#include "model/LumivaneProject.h"
#include "model/SystemFont.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

QLabel *makeLabel(const QString &text, double points, QFont::Weight weight, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(systemFont(points, weight));
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

// The cover page counts stations with these fixed English words too.
QString stationCountText(qsizetype count)
{
    return QString::number(count) + (count == 1 ? QStringLiteral(" station") : QStringLiteral(" stations"));
}

} // namespace

TourPlaceholderView::TourPlaceholderView(const LumivaneProject &project, QWidget *parent)
    : QWidget(parent)
{
    setObjectName("tourPlaceholder");
    auto *column = new QVBoxLayout(this);
    column->setSpacing(10);
    column->addStretch(1);
    auto *name = makeLabel(project.name, 30, QFont::DemiBold, Qt::white, this);
    name->setObjectName("tourName");
    column->addWidget(name);
    QColor dimmed(Qt::white);
    dimmed.setAlphaF(0.6f);
    auto *count = makeLabel(stationCountText(project.stations.size()), 15, QFont::Normal, dimmed, this);
    count->setObjectName("stationCount");
    column->addWidget(count);
    column->addStretch(1);
}

void TourPlaceholderView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x16, 0x16, 0x1a));
}
