#include "ScrollAreaFocus.h"

#include "KeyboardFocus.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <optional>

namespace {

constexpr double kRingRadius = 8;
constexpr int kRingGap = 4;

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

ScrollAreaFocus::~ScrollAreaFocus()
{
    delete m_ring;
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

void ScrollAreaFocus::placeRing()
{
    QWidget *parent = m_area->parentWidget();
    if (!parent || (!m_ring && !m_area->hasFocus()))
        return;
    if (!m_ring) {
        m_ring = new QWidget(parent);
        m_ring->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_ring->installEventFilter(this);
    }
    const QRect around = m_area->geometry().marginsAdded(QMargins(kRingGap, kRingGap, kRingGap, kRingGap));
    m_ring->setGeometry(around & parent->rect());
    m_ring->raise();
    m_ring->setVisible(m_area->isVisible() && m_area->hasFocus());
    m_ringShown = KeyboardFocus::showsRing(*m_area);
    m_ring->update();
}

// The view repaints when the visitor starts or stops navigating; the ring,
// lying partly outside it, follows.
void ScrollAreaFocus::followNavigation()
{
    if (m_ring && m_ringShown != KeyboardFocus::showsRing(*m_area)) {
        m_ringShown = !m_ringShown;
        m_ring->update();
    }
}

bool ScrollAreaFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ring) {
        if (event->type() == QEvent::Paint && m_ringShown) {
            QPainter painter(m_ring);
            KeyboardFocus::paintRing(painter, QRectF(m_ring->rect()), kRingRadius);
        }
        return false;
    }
    if (watched != m_area) {
        if (event->type() == QEvent::Paint)
            followNavigation();
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        return scroll(*static_cast<QKeyEvent *>(event));
    case QEvent::FocusOut:
        followOverflow();
        placeRing();
        return false;
    case QEvent::FocusIn:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        placeRing();
        return false;
    default:
        return false;
    }
}
