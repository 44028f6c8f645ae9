#include "ScrollAreaFocus.h"

#include "KeyboardFocus.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <optional>

namespace {

constexpr double kRingRadius = 8;

// Which way the key moves the view, if it is one of the area's keys. Space
// pages only while the ring shows: an unseen focus presses nothing.
std::optional<QAbstractSlider::SliderAction> actionFor(const QWidget &area, const QKeyEvent &key)
{
    if (key.matches(QKeySequence::MoveToNextPage))
        return QAbstractSlider::SliderPageStepAdd;
    if (key.matches(QKeySequence::MoveToPreviousPage))
        return QAbstractSlider::SliderPageStepSub;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && !(key.key() == Qt::Key_Space && modifiers == Qt::ShiftModifier))
        return std::nullopt;
    switch (key.key()) {
    case Qt::Key_Up:
        return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_Down:
        return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_Home:
        return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End:
        return QAbstractSlider::SliderToMaximum;
    case Qt::Key_Space:
        if (!KeyboardFocus::showsRing(area))
            return std::nullopt;
        return modifiers == Qt::ShiftModifier ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd;
    default:
        return std::nullopt;
    }
}

} // namespace

ScrollAreaFocus::ScrollAreaFocus(QAbstractScrollArea &area)
    : QObject(&area)
    , m_area(&area)
{
    area.installEventFilter(this);
    area.viewport()->installEventFilter(this);
    connect(area.verticalScrollBar(), &QScrollBar::rangeChanged, this, &ScrollAreaFocus::followOverflow);
    followOverflow();
}

bool ScrollAreaFocus::scrollsBy(const QWidget &widget, const QKeyEvent &key)
{
    return widget.findChild<ScrollAreaFocus *>(QString(), Qt::FindDirectChildrenOnly) && actionFor(widget, key);
}

void ScrollAreaFocus::followOverflow()
{
    // The focus stays until it moves on: Tab from here still finds the next stop.
    const bool overflows = m_area->verticalScrollBar()->maximum() > 0;
    m_area->setFocusPolicy(overflows || m_area->hasFocus() ? Qt::TabFocus : Qt::NoFocus);
}

bool ScrollAreaFocus::scroll(const QKeyEvent &key)
{
    const std::optional<QAbstractSlider::SliderAction> action = actionFor(*m_area, key);
    if (!action)
        return false;
    m_area->verticalScrollBar()->triggerAction(*action);
    return true;
}

bool ScrollAreaFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area) {
        switch (event->type()) {
        case QEvent::KeyPress:
            return scroll(*static_cast<QKeyEvent *>(event));
        case QEvent::FocusOut:
            followOverflow();
            [[fallthrough]];
        case QEvent::FocusIn:
            m_area->viewport()->update();
            return false;
        default:
            return false;
        }
    }
    // The view is painted before the content over it, whose margins leave
    // the ring along the edges in sight.
    if (event->type() == QEvent::Paint && KeyboardFocus::showsRing(*m_area)) {
        QPainter painter(m_area->viewport());
        KeyboardFocus::paintRing(painter, QRectF(m_area->viewport()->rect()), kRingRadius);
    }
    return false;
}
