#include "viewer/OverlayLayer.h"

#include <QChildEvent>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QStyle>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

struct OverlayLayer::Entry
{
    QPointer<QWidget> view;
    LayerPlacement placement;
    LayerTransition transition = LayerTransition::none;
    double progress = 1; // 0: outside, 1: fully in
    bool leaving = false;
    QPointer<QVariantAnimation> animation;
    QPointer<QGraphicsOpacityEffect> fade;
};

namespace {

bool fades(LayerTransition transition)
{
    return transition == LayerTransition::opacity || transition == LayerTransition::moveFromBottomEdgeWithOpacity
           || transition == LayerTransition::moveFromTopEdgeWithOpacity;
}

} // namespace

OverlayLayer::OverlayLayer(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    hide(); // shown while it holds a view
}

OverlayLayer::~OverlayLayer() = default;

void OverlayLayer::addView(QWidget *view, LayerPlacement placement, LayerTransition transition,
                           ViewerAnimation animation)
{
    Q_ASSERT(view && !find(view));
    if (view->parentWidget() != this)
        view->setParent(this);
    auto entry = std::make_unique<Entry>();
    entry->view = view;
    entry->placement = placement;
    entry->transition = transition;
    Entry &added = *entry;
    m_entries.push_back(std::move(entry));
    watch(view);
    for (QObject *child : view->children())
        watch(child);
    if (transition != LayerTransition::none && animation.seconds > 0) {
        added.progress = 0;
        animate(added, 1, animation);
    }
    applyOpacity(added);
    // In place before it is first shown, so that it never lays itself out
    // for a size it does not get.
    relayout();
    // A view that hid itself (a clear cover) stays hidden.
    if (!view->testAttribute(Qt::WA_WState_ExplicitShowHide))
        view->show();
    updateMask();
}

void OverlayLayer::removeView(QWidget *view, ViewerAnimation animation)
{
    Entry *entry = find(view);
    if (!entry || entry->leaving)
        return;
    entry->leaving = true;
    // Whatever it shows is no longer the viewer's to answer.
    view->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (entry->transition == LayerTransition::none || animation.seconds <= 0) {
        finishLeaving(view);
        return;
    }
    applyOpacity(*entry);
    animate(*entry, 0, animation);
    updateMask();
}

void OverlayLayer::setClickThrough(bool clickThrough)
{
    m_clickThrough = clickThrough;
    updateMask();
}

QList<QWidget *> OverlayLayer::views() const
{
    QList<QWidget *> shown;
    for (const auto &entry : m_entries) {
        if (entry->view)
            shown << entry->view;
    }
    return shown;
}

bool OverlayLayer::isLeaving(const QWidget *view) const
{
    const Entry *entry = find(view);
    return entry && entry->leaving;
}

OverlayLayer::Entry *OverlayLayer::find(const QWidget *view) const
{
    const auto found = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                    [view](const auto &entry) { return entry->view == view; });
    return found == m_entries.cend() ? nullptr : found->get();
}

void OverlayLayer::animate(Entry &entry, double target, ViewerAnimation animation)
{
    if (entry.animation)
        entry.animation->stop();
    // A child of the view: it ends with the view, and the entry with it.
    auto *run = new QVariantAnimation(entry.view);
    run->setStartValue(entry.progress);
    run->setEndValue(target);
    run->setDuration(int(std::lround(animation.seconds * 1000)));
    run->setEasingCurve(easingCurve(animation.curve));
    QWidget *view = entry.view;
    connect(run, &QVariantAnimation::valueChanged, this, [this, view](const QVariant &value) {
        if (Entry *running = find(view)) {
            running->progress = value.toDouble();
            applyOpacity(*running);
            relayout();
        }
    });
    connect(run, &QVariantAnimation::finished, this, [this, view] {
        Entry *done = find(view);
        if (!done)
            return;
        if (done->leaving)
            finishLeaving(view);
        else
            applyOpacity(*done);
    });
    entry.animation = run;
    run->start(QAbstractAnimation::DeleteWhenStopped);
}

void OverlayLayer::finishLeaving(QWidget *view)
{
    view->hide();
    view->deleteLater();
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [view](const auto &entry) { return entry->view == view || !entry->view; }),
                    m_entries.end());
    relayout();
}

void OverlayLayer::applyOpacity(Entry &entry)
{
    const bool settled = entry.progress >= 1 && !entry.leaving;
    if (!fades(entry.transition) || settled) {
        // Only while a fade runs: the effect renders the view off screen.
        if (entry.fade)
            entry.view->setGraphicsEffect(nullptr);
        return;
    }
    if (!entry.fade) {
        entry.fade = new QGraphicsOpacityEffect(entry.view);
        entry.view->setGraphicsEffect(entry.fade);
    }
    entry.fade->setOpacity(std::clamp(entry.progress, 0.0, 1.0));
}

bool OverlayLayer::event(QEvent *event)
{
    // A view whose size hint changed asks its parent to lay it out again.
    if (event->type() == QEvent::LayoutRequest)
        relayout();
    return QWidget::event(event);
}

bool OverlayLayer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched->parent() == this)
            watch(static_cast<QChildEvent *>(event)->child());
        scheduleMaskUpdate();
        break;
    case QEvent::ChildRemoved:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        scheduleMaskUpdate();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// A view that keeps only its controls reshapes its own mask as they move;
// its children are watched too, for the same moves.
void OverlayLayer::watch(QObject *object)
{
    if (object->isWidgetType())
        object->installEventFilter(this);
}

// After the views' own handlers, which may change their masks in theirs.
void OverlayLayer::scheduleMaskUpdate()
{
    if (m_maskUpdatePending)
        return;
    m_maskUpdatePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_maskUpdatePending = false;
            updateMask();
        },
        Qt::QueuedConnection);
}

void OverlayLayer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void OverlayLayer::relayout()
{
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(), [](const auto &entry) { return !entry->view; }),
                    m_entries.end());
    for (const auto &entry : m_entries)
        entry->view->setGeometry(placedGeometry(*entry));
    setVisible(!m_entries.empty());
    updateMask();
}

QRect OverlayLayer::restingGeometry(const QWidget *view) const
{
    const Entry *entry = find(view);
    return entry ? restingGeometry(*entry) : QRect();
}

QRect OverlayLayer::restingGeometry(const Entry &entry) const
{
    const LayerPlacement &placement = entry.placement;
    QRect area = rect().marginsRemoved(placement.margins);
    // The view's contents rectangle goes where the placement says.
    if (!placement.fillWidth || !placement.fillHeight)
        area = area.marginsAdded(entry.view->contentsMargins());
    const QSize hint = entry.view->sizeHint();
    QSize size = area.size();
    if (!placement.fillWidth && hint.width() >= 0)
        size.setWidth(std::min(hint.width(), area.width()));
    if (!placement.fillHeight) {
        const int wanted = entry.view->hasHeightForWidth() ? entry.view->heightForWidth(size.width()) : hint.height();
        if (wanted >= 0)
            size.setHeight(std::min(wanted, area.height()));
    }
    return QStyle::alignedRect(layoutDirection(), placement.alignment, size.expandedTo({0, 0}), area);
}

QRect OverlayLayer::placedGeometry(const Entry &entry) const
{
    QRect placed = restingGeometry(entry);
    const double away = 1 - entry.progress;
    switch (entry.transition) {
    case LayerTransition::moveFromTrailingEdge:
        placed.translate(int(std::lround(away * (layoutDirection() == Qt::RightToLeft ? -placed.right() - 1
                                                                                      : width() - placed.left()))),
                         0);
        break;
    case LayerTransition::moveFromBottomEdgeWithOpacity:
        placed.translate(0, int(std::lround(away * (height() - placed.top()))));
        break;
    case LayerTransition::moveFromTopEdgeWithOpacity:
        placed.translate(0, -int(std::lround(away * (placed.bottom() + 1))));
        break;
    default:
        break;
    }
    return placed;
}

void OverlayLayer::updateMask()
{
    // Views on their way out take no clicks; while only they are left, the
    // whole layer lets clicks through.
    const bool allLeaving = std::all_of(m_entries.cbegin(), m_entries.cend(), [](const auto &e) { return e->leaving; });
    setAttribute(Qt::WA_TransparentForMouseEvents, m_clickThrough || allLeaving);
    if (m_clickThrough || m_entries.empty()) {
        clearMask();
        return;
    }
    QRegion region;
    for (const auto &entry : m_entries) {
        QWidget *view = entry->view;
        // Leaving views stay inside, since the mask clips their fade too;
        // other views that take no click are left out.
        if (!view->isVisibleTo(this) || (view->testAttribute(Qt::WA_TransparentForMouseEvents) && !entry->leaving))
            continue;
        region += view->mask().isEmpty() ? QRegion(view->geometry()) : view->mask().translated(view->pos());
    }
    // An empty region would clear the mask and take every click.
    if (region.isEmpty())
        region = QRect(0, 0, 1, 1);
    if (region != mask())
        setMask(region);
}
