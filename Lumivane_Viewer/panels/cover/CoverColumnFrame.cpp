#include "CoverColumnFrame.h"

#include <QEvent>

#include <algorithm>

CoverColumnFrame::CoverColumnFrame(QWidget *column, QWidget *parent)
    : QWidget(parent)
    , m_column(column)
{
    m_column->setParent(this);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int CoverColumnFrame::columnWidth(int frameWidth)
{
    return std::clamp(frameWidth - 2 * sidePadding, 0, maxColumnWidth);
}

int CoverColumnFrame::heightForWidth(int width) const
{
    return m_column->heightForWidth(columnWidth(width));
}

QSize CoverColumnFrame::sizeHint() const
{
    const QSize column = m_column->sizeHint();
    return QSize(column.width() + 2 * sidePadding, heightForWidth(column.width() + 2 * sidePadding));
}

QSize CoverColumnFrame::minimumSizeHint() const
{
    return QSize(2 * sidePadding, m_column->minimumSizeHint().height());
}

bool CoverColumnFrame::event(QEvent *event)
{
    // The column's content changed: its height for our width may have too.
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        placeColumn();
    }
    return QWidget::event(event);
}

void CoverColumnFrame::resizeEvent(QResizeEvent *)
{
    placeColumn();
}

void CoverColumnFrame::placeColumn()
{
    const int width = columnWidth(this->width());
    const int height = std::max(this->height(), heightForWidth(this->width()));
    m_column->setGeometry((this->width() - width) / 2, 0, width, height);
}
