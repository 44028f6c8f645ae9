#include "PaintedItemAccessibility.h"

#include "widgets/KeyboardFocus.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QHash>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

PaintedItemHost *hostOf(QWidget *widget)
{
    return dynamic_cast<PaintedItemHost *>(widget);
}

/// One painted item, a button named by its host.
class PaintedItemAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    PaintedItemAccessible(QWidget *host, int index)
        : m_host(host)
        , m_index(index)
    {
    }

    bool isValid() const override
    {
        return m_host && m_index < hostOf(m_host)->paintedItemCount();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_host ? m_host->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_host.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name && isValid() ? hostOf(m_host)->paintedItemName(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = hostOf(m_host)->paintedItemRect(m_index);
        return QRect(m_host->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.offscreen = !isValid() || !m_host->rect().intersects(hostOf(m_host)->paintedItemRect(m_index));
        state.invisible = !m_host || !m_host->isVisible();
        if (!isValid())
            return state;
        const PaintedItemHost *host = hostOf(m_host);
        state.focusable = m_host->focusPolicy() & Qt::TabFocus;
        state.focused = m_host->hasFocus() && host->focusedPaintedItem() == m_index;
        state.selectable = true;
        state.selected = host->isCurrentPaintedItem(m_index);
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid())
            hostOf(m_host)->pressPaintedItem(m_index);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QWidget> m_host;
    int m_index;
};

/// The host widget: its child widgets first, then its painted items.
class PaintedItemsHostAccessible final : public QAccessibleWidget
{
public:
    explicit PaintedItemsHostAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Grouping)
    {
    }
    ~PaintedItemsHostAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_items))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return QAccessibleWidget::childCount() + itemCount(); }

    QAccessibleInterface *child(int index) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        const int item = index - widgets;
        if (item >= itemCount())
            return nullptr;
        auto known = m_items.constFind(item);
        if (known == m_items.constEnd()) {
            // Registered interfaces belong to the framework until deleted above.
            known = m_items.insert(item, QAccessible::registerAccessibleInterface(
                                             new PaintedItemAccessible(widget(), item)));
        }
        return QAccessible::accessibleInterface(*known);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto entry = m_items.constBegin(); entry != m_items.constEnd(); ++entry) {
            if (QAccessible::accessibleInterface(entry.value()) == child)
                return QAccessibleWidget::childCount() + entry.key();
        }
        return QAccessibleWidget::indexOfChild(child);
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        for (int item = 0; item < itemCount(); ++item) {
            if (hostOf(widget())->paintedItemRect(item).contains(local))
                return child(QAccessibleWidget::childCount() + item);
        }
        return QAccessibleWidget::childAt(x, y);
    }

private:
    int itemCount() const { return hostOf(widget())->paintedItemCount(); }

    mutable QHash<int, QAccessible::Id> m_items;
};

QAccessibleInterface *paintedItemsFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && hostOf(widget))
        return new PaintedItemsHostAccessible(widget);
    return nullptr;
}

} // namespace

bool PaintedItemHost::isCurrentPaintedItem(int) const
{
    return false;
}

std::optional<int> PaintedItemHost::focusedPaintedItem() const
{
    // The items may have changed since the keyboard chose one.
    if (m_focusedItem && *m_focusedItem < paintedItemCount())
        return m_focusedItem;
    return std::nullopt;
}

bool PaintedItemHost::stepFocusedItem(QWidget &host, bool next)
{
    const std::optional<int> focused = focusedPaintedItem();
    if (!focused || !host.hasFocus())
        return false;
    const int target = *focused + (next ? 1 : -1);
    if (target < 0 || target >= paintedItemCount())
        return false;
    focusItem(host, target);
    return true;
}

void PaintedItemHost::enterFocusedItem(QWidget &host, Qt::FocusReason reason)
{
    const int count = paintedItemCount();
    if (count == 0)
        return;
    if (reason == Qt::TabFocusReason)
        focusItem(host, 0);
    else if (reason == Qt::BacktabFocusReason)
        focusItem(host, count - 1);
    else
        focusItem(host, focusedPaintedItem().value_or(0));
}

bool PaintedItemHost::pressFocusedItem(const QKeyEvent &event)
{
    // An unseen focus presses nothing: the key is the viewer's.
    const std::optional<int> focused = focusedPaintedItem();
    if (!focused || !KeyboardFocus::isActivationKey(event) || event.isAutoRepeat() || !KeyboardFocus::isNavigating())
        return false;
    pressPaintedItem(*focused);
    return true;
}

bool PaintedItemHost::showsItemRing(const QWidget &host, int index) const
{
    return KeyboardFocus::showsRing(host) && focusedPaintedItem() == index;
}

void PaintedItemHost::revealPaintedItem(int) {}

void PaintedItemHost::focusItem(QWidget &host, int index)
{
    m_focusedItem = index;
    revealPaintedItem(index);
    host.update();
    if (!QAccessible::isActive())
        return;
    // Assistive technology follows the item, not only the widget.
    if (QAccessibleInterface *hostInterface = QAccessible::queryAccessibleInterface(&host)) {
        if (QAccessibleInterface *item = hostInterface->child(hostInterface->childCount() - paintedItemCount() + index)) {
            QAccessibleEvent event(item, QAccessible::Focus);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void PaintedItemHost::trackItemPress(const QMouseEvent &event)
{
    m_pressedItem = event.button() == Qt::LeftButton ? paintedItemAt(event.position()) : std::nullopt;
}

void PaintedItemHost::trackItemRelease(const QMouseEvent &event)
{
    const std::optional<int> pressed = std::exchange(m_pressedItem, std::nullopt);
    if (event.button() == Qt::LeftButton && pressed && pressed == paintedItemAt(event.position()))
        pressPaintedItem(*pressed);
}

void installPaintedItemAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(paintedItemsFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
