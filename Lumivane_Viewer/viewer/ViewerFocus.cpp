#include "viewer/ViewerFocus.h"

#include "viewer/OverlayLayer.h"
#include "widgets/PaintedItemAccessibility.h"
#include "widgets/ViewerDialog.h"

#include <QApplication>
#include <QScrollArea>

#include <algorithm>

namespace {

// A view its layer is letting go of takes no key any more.
bool isLeavingView(const QWidget &widget)
{
    const auto *layer = dynamic_cast<const OverlayLayer *>(widget.parentWidget());
    return layer && layer->isLeaving(&widget);
}

QList<QWidget *> childWidgets(const QWidget &widget)
{
    QList<QWidget *> children;
    for (QObject *child : widget.children()) {
        auto *childWidget = qobject_cast<QWidget *>(child);
        if (childWidget && !childWidget->isWindow())
            children.append(childWidget);
    }
    return children;
}

bool isPresent(const QWidget &widget)
{
    return widget.isVisible() && !isLeavingView(widget);
}

void collectControls(QWidget &widget, QList<QWidget *> &stops)
{
    if (!isPresent(widget))
        return;
    const qsizetype before = stops.size();
    for (QWidget *child : childWidgets(widget))
        collectControls(*child, stops);
    const bool holdsControls = stops.size() > before;
    if (!widget.isEnabled() || !(widget.focusPolicy() & Qt::TabFocus))
        return;
    // A scroll area that takes Tab holds text between its controls: it is
    // read first, then they are. Any other holder is a page that only keeps
    // the window's first focus.
    if (qobject_cast<QAbstractScrollArea *>(&widget))
        stops.insert(before, &widget);
    else if (!holdsControls)
        stops.append(&widget);
}

bool holdsLayers(const QWidget &widget)
{
    const QList<QWidget *> children = childWidgets(widget);
    return std::any_of(children.cbegin(), children.cend(), [](const QWidget *child) {
        return dynamic_cast<const OverlayLayer *>(child) || holdsLayers(*child);
    });
}

// The views of the overlay layers are blocks of their own; so is a root
// without layers (a page).
void collectBlocks(QWidget &widget, QList<QList<QWidget *>> &blocks)
{
    if (!isPresent(widget))
        return;
    if (!dynamic_cast<const OverlayLayer *>(&widget) && !holdsLayers(widget)) {
        QList<QWidget *> stops;
        collectControls(widget, stops);
        if (!stops.isEmpty())
            blocks.append(stops);
        return;
    }
    for (QWidget *child : childWidgets(widget))
        collectBlocks(*child, blocks);
}

// Where a control reads, in global coordinates: its rectangle, or the place
// its painted items name, kept inside the rectangle. Kept edge by edge in 64
// bits: a place worked out from absurd coordinates (a marker 1e308 pixels
// away) comes out spanning every int, and neither its size nor its move to
// global coordinates fits one.
struct ReadingPlace
{
    qint64 left;
    qint64 top;
    qint64 bottom;

    qint64 middle() const { return (top + bottom) / 2; }
};

ReadingPlace readingPlace(const QWidget &widget)
{
    const auto *host = dynamic_cast<const PaintedItemHost *>(&widget);
    const QRect own = widget.rect();
    const QRect named = host ? host->readingPlace().value_or(own) : own;
    const auto inside = [](int value, int low, int high) {
        return qint64(std::clamp(value, low, std::max(low, high)));
    };
    const QPoint origin = widget.mapToGlobal(QPoint(0, 0));
    return {origin.x() + inside(named.left(), own.left(), own.right()),
            origin.y() + inside(named.top(), own.top(), own.bottom()),
            origin.y() + inside(named.bottom(), own.top(), own.bottom())};
}

// Top to bottom by their first control; blocks whose first controls share a
// line go left to right.
void sortInReadingOrder(QList<QList<QWidget *>> &blocks)
{
    std::stable_sort(blocks.begin(), blocks.end(), [](const QList<QWidget *> &a, const QList<QWidget *> &b) {
        return readingPlace(*a.front()).top < readingPlace(*b.front()).top;
    });
    for (qsizetype start = 0; start < blocks.size();) {
        const ReadingPlace line = readingPlace(*blocks[start].front());
        qsizetype end = start + 1;
        while (end < blocks.size() && readingPlace(*blocks[end].front()).middle() <= line.bottom)
            ++end;
        std::stable_sort(blocks.begin() + start, blocks.begin() + end,
                         [](const QList<QWidget *> &a, const QList<QWidget *> &b) {
                             return readingPlace(*a.front()).left < readingPlace(*b.front()).left;
                         });
        start = end;
    }
}

void findContainingDialog(QWidget &widget, QWidget *&found)
{
    if (!isPresent(widget))
        return;
    const std::optional<DialogFocus> focus = dialogFocus(widget);
    if (focus && *focus != DialogFocus::free)
        found = &widget;
    for (QWidget *child : childWidgets(widget))
        findContainingDialog(*child, found);
}

bool isReachable(const QWidget &widget)
{
    for (const QWidget *w = &widget; w; w = w->parentWidget()) {
        if (isLeavingView(*w))
            return false;
    }
    return widget.isVisible() && widget.isEnabled();
}

} // namespace

namespace ViewerFocus {

QList<QWidget *> tabStops(const QList<QWidget *> &roots)
{
    QList<QList<QWidget *>> blocks;
    for (QWidget *root : roots) {
        if (root)
            collectBlocks(*root, blocks);
    }
    sortInReadingOrder(blocks);
    QList<QWidget *> stops;
    for (const QList<QWidget *> &block : std::as_const(blocks))
        stops += block;
    return stops;
}

QWidget *containingDialog(const QList<QWidget *> &roots)
{
    // The last found lies above the others: children are kept in stacking order.
    QWidget *found = nullptr;
    for (QWidget *root : roots) {
        if (root)
            findContainingDialog(*root, found);
    }
    return found;
}

bool step(const QList<QWidget *> &stops, bool next)
{
    if (stops.isEmpty())
        return false;
    const QWidget *focused = QApplication::focusWidget();
    // The stop itself before one around it: a scroll area holds stops too.
    auto current = std::find(stops.cbegin(), stops.cend(), focused);
    if (current == stops.cend()) {
        current = std::find_if(stops.cbegin(), stops.cend(),
                               [focused](const QWidget *stop) { return focused && stop->isAncestorOf(focused); });
    }
    const qsizetype count = stops.size();
    qsizetype index = 0;
    if (current == stops.cend())
        index = next ? 0 : count - 1;
    else
        index = ((current - stops.cbegin()) + (next ? 1 : count - 1)) % count;
    QWidget *target = stops[index];
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    reveal(*target);
    return true;
}

bool focusFirst(QWidget &root)
{
    const QList<QWidget *> stops = tabStops({&root});
    if (stops.isEmpty())
        return false;
    stops.front()->setFocus(Qt::OtherFocusReason);
    reveal(*stops.front());
    return true;
}

void reveal(QWidget &widget)
{
    for (QWidget *parent = widget.parentWidget(); parent; parent = parent->parentWidget()) {
        if (auto *scroll = qobject_cast<QScrollArea *>(parent))
            scroll->ensureWidgetVisible(&widget);
    }
}

} // namespace ViewerFocus

void FocusReturn::enter(QWidget &view, QWidget *before)
{
    m_previous = before;
    ViewerFocus::focusFirst(view);
}

bool FocusReturn::giveBack()
{
    if (!m_previous || !isReachable(*m_previous))
        return false;
    m_previous->setFocus(Qt::OtherFocusReason);
    ViewerFocus::reveal(*m_previous);
    return true;
}

bool ViewerFocus::holds(const QWidget &view)
{
    const QWidget *focused = QApplication::focusWidget();
    return focused && (focused == &view || view.isAncestorOf(focused));
}
