#include "PaintedItemAccessibility.h"

#include "widgets/KeyboardFocus.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QHash>
#include <QSet>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <numeric>

namespace {

PaintedItemHost *hostOf(QWidget *widget)
{
    return dynamic_cast<PaintedItemHost *>(widget);
}

/// One painted item, a button named by its host. It stays the same item,
/// known by its key, while the host shows it, wherever it moves among the others.
class PaintedItemAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    PaintedItemAccessible(QWidget *host, QString key)
        : m_host(host)
        , m_key(std::move(key))
    {
        m_heardName = name();
    }

    bool isValid() const override { return index().has_value(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_host ? m_host->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_host.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QString();
        m_heardName = name();
        return m_heardName;
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        const std::optional<int> item = index();
        if (!item)
            return {};
        const QRect local = hostOf(m_host)->paintedItemRect(*item);
        return QRect(m_host->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        const std::optional<int> item = index();
        state.offscreen = !item || !m_host->rect().intersects(hostOf(m_host)->paintedItemRect(*item));
        state.invisible = !m_host || !m_host->isVisible();
        if (!item)
            return state;
        const PaintedItemHost *host = hostOf(m_host);
        state.focusable = m_host->focusPolicy() & Qt::TabFocus;
        state.focused = m_host->hasFocus() && host->focusedPaintedItem() == item;
        state.selectable = true;
        state.selected = host->isCurrentPaintedItem(*item);
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (const std::optional<int> item = index(); name == pressAction() && item)
            hostOf(m_host)->pressPaintedItem(*item);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    std::optional<int> index() const { return m_host ? hostOf(m_host)->paintedItemOfKey(m_key) : std::nullopt; }
    const QWidget *host() const { return m_host; }
    /// Whether the item's name changed since assistive technology last read
    /// or heard it; it is heard from now on.
    bool takeRename()
    {
        const QString heard = std::exchange(m_heardName, name());
        return isValid() && m_heardName != heard;
    }

private:
    QString name() const
    {
        const std::optional<int> item = index();
        return item ? hostOf(m_host)->paintedItemName(*item) : QString();
    }

    QPointer<QWidget> m_host;
    QString m_key;
    mutable QString m_heardName;
};

/// The host widget: its child widgets first, then the painted items it
/// draws and the one the keyboard is on.
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

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        // The focus is on the item, not on the widget around it: a screen
        // reader that looks for what has the focus finds the item.
        state.focused = state.focused && !host().focusedPaintedItem();
        return state;
    }

    int childCount() const override
    {
        const QList<int> items = shownItems();
        // Items no longer shown are no children any more: the items turned
        // or scrolled past do not pile up behind those shown.
        QSet<QString> shownKeys;
        for (const int item : items)
            shownKeys.insert(host().paintedItemKey(item));
        for (auto entry = m_items.begin(); entry != m_items.end();) {
            if (shownKeys.contains(entry.key())) {
                ++entry;
                continue;
            }
            QAccessible::deleteAccessibleInterface(entry.value());
            entry = m_items.erase(entry);
        }
        return QAccessibleWidget::childCount() + int(items.size());
    }

    QAccessibleInterface *child(int index) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        const QList<int> items = shownItems();
        return index - widgets < items.size() ? item(items[index - widgets]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *item = dynamic_cast<const PaintedItemAccessible *>(child);
        if (!item || item->host() != widget())
            return QAccessibleWidget::indexOfChild(child);
        const std::optional<int> index = item->index();
        const qsizetype found = index ? shownItems().indexOf(*index) : -1;
        return found < 0 ? -1 : QAccessibleWidget::childCount() + int(found);
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        for (const int shown : shownItems()) {
            if (host().paintedItemRect(shown).contains(local))
                return item(shown);
        }
        return QAccessibleWidget::childAt(x, y);
    }

    /// The interface of an item, made when first asked for.
    QAccessibleInterface *item(int index) const
    {
        const QString key = host().paintedItemKey(index);
        auto known = m_items.constFind(key);
        if (known == m_items.constEnd()) {
            // Registered interfaces belong to the framework until deleted above.
            known = m_items.insert(
                key, QAccessible::registerAccessibleInterface(new PaintedItemAccessible(widget(), key)));
        }
        return QAccessible::accessibleInterface(*known);
    }

    void tellRenamedItems() const
    {
        for (const QAccessible::Id id : std::as_const(m_items)) {
            auto *item = static_cast<PaintedItemAccessible *>(QAccessible::accessibleInterface(id));
            if (item && item->takeRename()) {
                QAccessibleEvent event(item, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&event);
            }
        }
    }

private:
    const PaintedItemHost &host() const { return *hostOf(widget()); }

    /// The items drawn, with the one the keyboard is on while the widget has
    /// the focus (a marker the view is still turning to), ascending.
    QList<int> shownItems() const
    {
        QList<int> items = host().drawnPaintedItems();
        const std::optional<int> focused = widget()->hasFocus() ? host().focusedPaintedItem() : std::nullopt;
        if (focused) {
            const auto place = std::lower_bound(items.begin(), items.end(), *focused);
            if (place == items.end() || *place != *focused)
                items.insert(place, *focused);
        }
        return items;
    }

    mutable QHash<QString, QAccessible::Id> m_items;
};

PaintedItemsHostAccessible *hostAccessible(QWidget &host)
{
    // Assistive technology that is not listening gets no interfaces made.
    if (!QAccessible::isActive())
        return nullptr;
    return dynamic_cast<PaintedItemsHostAccessible *>(QAccessible::queryAccessibleInterface(&host));
}

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

QString PaintedItemHost::paintedItemKey(int index) const
{
    return QString::number(index);
}

std::optional<int> PaintedItemHost::paintedItemOfKey(const QString &key) const
{
    bool isNumber = false;
    const int index = key.toInt(&isNumber);
    return isNumber && index >= 0 && index < paintedItemCount() ? std::optional(index) : std::nullopt;
}

QList<int> PaintedItemHost::drawnPaintedItems() const
{
    QList<int> items(paintedItemCount());
    std::iota(items.begin(), items.end(), 0);
    return items;
}

std::optional<QRect> PaintedItemHost::readingPlace() const
{
    return std::nullopt;
}

std::optional<int> PaintedItemHost::focusedPaintedItem() const
{
    // The items may have changed since the keyboard chose one.
    return m_focusedItem ? paintedItemOfKey(*m_focusedItem) : std::nullopt;
}

bool PaintedItemHost::stepFocusedItem(QWidget &host, bool next)
{
    if (!host.hasFocus())
        return false;
    const std::optional<int> focused = focusedPaintedItem();
    // From the widget itself, Tab goes on to its first item.
    const int target = focused ? *focused + (next ? 1 : -1) : (next ? 0 : -1);
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
        focusItem(host, 0, ItemFocusEvent::afterWidgets);
    else if (reason == Qt::BacktabFocusReason)
        focusItem(host, count - 1, ItemFocusEvent::afterWidgets);
    else if (const std::optional<int> focused = focusedPaintedItem())
        focusItem(host, *focused, ItemFocusEvent::afterWidgets);
    else if (!m_keyboardWasOnItem)
        focusItem(host, 0, ItemFocusEvent::afterWidgets);
}

void PaintedItemHost::followItemChanges(QWidget &host)
{
    if (!m_focusedItem)
        return;
    if (const std::optional<int> focused = focusedPaintedItem()) {
        m_focusedIndex = *focused;
        return;
    }
    // Only a visitor who is there sees the keyboard move on; one coming back
    // from another view finds the widget itself. Another window taking the
    // keyboard for a while leaves the widget its window's focus.
    // The items were replaced under the keyboard (another station): the one
    // in its place takes it where it stands, the view staying as it arrived.
    if (host.window()->focusWidget() == &host && m_focusedIndex < paintedItemCount()) {
        focusItem(host, m_focusedIndex, ItemFocusEvent::now, Reveal::no);
        return;
    }
    m_focusedItem.reset();
    host.update();
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

void PaintedItemHost::focusItem(QWidget &host, int index, ItemFocusEvent event, Reveal reveal)
{
    m_focusedItem = paintedItemKey(index);
    m_focusedIndex = index;
    m_keyboardWasOnItem = true;
    if (reveal == Reveal::yes)
        revealPaintedItem(index);
    host.update();
    if (event == ItemFocusEvent::now) {
        tellFocusedItem(host);
        return;
    }
    // Qt tells assistive technology that the widget took the focus once its
    // focusInEvent() has returned, and a screen reader speaks the last it was
    // told: the item's word goes out after the widget's.
    QMetaObject::invokeMethod(
        &host,
        [this, &host] {
            if (host.hasFocus())
                tellFocusedItem(host);
        },
        Qt::QueuedConnection);
}

void PaintedItemHost::tellFocusedItem(QWidget &host) const
{
    const std::optional<int> focused = focusedPaintedItem();
    // Assistive technology follows the item, not only the widget.
    if (PaintedItemsHostAccessible *items = focused ? hostAccessible(host) : nullptr) {
        QAccessibleEvent event(items->item(*focused), QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void PaintedItemHost::tellRenamedItems(QWidget &host) const
{
    if (const PaintedItemsHostAccessible *items = hostAccessible(host))
        items->tellRenamedItems();
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
