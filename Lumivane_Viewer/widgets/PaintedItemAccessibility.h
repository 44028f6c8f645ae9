#pragma once

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QList>

#include <optional>

class QWidget;

/// A widget that paints its clickable items (cards, markers) itself instead
/// of holding a child widget per item. Through installPaintedItemAccessibility()
/// assistive technology sees each item as a button it can name and press.
/// A left press and release on the same item presses it too. From the
/// keyboard the widget takes the focus from Tab and its items take it in
/// turn: Tab and Backtab step through them before leaving the widget (Tab
/// from the widget itself enters them), and
/// Space and Return press the one the keyboard is on, which the widget rings
/// while the visitor navigates (KeyboardFocus).
class PaintedItemHost
{
public:
    virtual ~PaintedItemHost() = default;

    virtual int paintedItemCount() const = 0;
    virtual QString paintedItemName(int index) const = 0;
    /// In the widget's coordinates; outside its rectangle when scrolled away.
    virtual QRect paintedItemRect(int index) const = 0;
    virtual void pressPaintedItem(int index) = 0;
    /// The item under a point where the widget's mouse events place it, if any.
    virtual std::optional<int> paintedItemAt(QPointF position) const = 0;
    /// Whether the item is the one the widget marks as current (the station
    /// on screen); assistive technology reads it as selected.
    virtual bool isCurrentPaintedItem(int index) const;
    /// What tells an item apart from the others while it is shown: the
    /// keyboard and assistive technology stay on an item by it. Its index by
    /// default; items that move among each other (markers turning into view
    /// on the left) name themselves.
    virtual QString paintedItemKey(int index) const;
    /// The item shown now under `key`, if any. Widgets that name their items
    /// answer from an index of the keys made once per change of the items:
    /// the keyboard and assistive technology ask at every step.
    virtual std::optional<int> paintedItemOfKey(const QString &key) const;
    /// The items the widget draws now, ascending: all of them by default.
    /// Assistive technology sees these as its children, with the one the
    /// keyboard is on, so that a widget of very many items costs a screen
    /// reader no more than the few it shows.
    virtual QList<int> drawnPaintedItems() const;
    /// Where the widget stands in the reading order of the controls around
    /// it, in its own coordinates; none: its whole rectangle.
    virtual std::optional<QRect> readingPlace() const;

    /// The item the keyboard is on, if any.
    std::optional<int> focusedPaintedItem() const;

protected:
    /// Called from the widget's mouse press and release handlers
    /// (PaintedItemWidget calls these and those below).
    void trackItemPress(const QMouseEvent &event);
    void trackItemRelease(const QMouseEvent &event);
    /// A press on an item that has since gone clicks nothing.
    void forgetItemPress() { m_pressedItem.reset(); }

    /// Called from the widget's focusNextPrevChild(): true when the keyboard
    /// moved to another item, false at either end.
    bool stepFocusedItem(QWidget &host, bool next);
    /// Called from the widget's focusInEvent(): Tab starts at the first item,
    /// Backtab at the last; any other way keeps the item the keyboard was on
    /// (the widget itself if that item went, the first if there was none).
    void enterFocusedItem(QWidget &host, Qt::FocusReason reason);
    /// Called when the items may have changed: a focused item that went
    /// hands the keyboard to the one now in its place, or to the widget,
    /// without bringing it into view.
    void followItemChanges(QWidget &host);
    /// Called when items may have been renamed in place (another level's
    /// stations in the same places): assistive technology hears the new name
    /// of each item it knows.
    void tellRenamedItems(QWidget &host) const;
    /// Called from the widget's keyPressEvent(): true when the key pressed
    /// the item the keyboard is on.
    bool pressFocusedItem(const QKeyEvent &event);
    /// Whether the widget rings the item now.
    bool showsItemRing(const QWidget &host, int index) const;
    /// Brings an item the keyboard moved to into view; the default does nothing.
    virtual void revealPaintedItem(int index);

private:
    /// When assistive technology hears that the keyboard is on an item:
    /// at once, or after it has heard that the widget took the focus.
    enum class ItemFocusEvent { now, afterWidgets };
    /// Whether the widget brings the item into view.
    enum class Reveal { yes, no };

    void focusItem(QWidget &host, int index, ItemFocusEvent event = ItemFocusEvent::now, Reveal reveal = Reveal::yes);
    void tellFocusedItem(QWidget &host) const;

    std::optional<int> m_pressedItem;
    std::optional<QString> m_focusedItem; // its key
    int m_focusedIndex = 0;               // where it was last seen
    bool m_keyboardWasOnItem = false;
};

/// A widget of kind `Base` (QWidget, QAbstractScrollArea, QOpenGLWidget)
/// whose keyboard and mouse handlers reach its painted items as
/// PaintedItemHost says. A host that handles the mouse in its own way
/// overrides the mouse handlers.
template <typename Base>
class PaintedItemWidget : public Base, public PaintedItemHost
{
public:
    using Base::Base;

protected:
    bool focusNextPrevChild(bool next) override
    {
        return stepFocusedItem(*this, next) || Base::focusNextPrevChild(next);
    }
    void focusInEvent(QFocusEvent *event) override
    {
        enterFocusedItem(*this, event->reason());
        Base::focusInEvent(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!pressFocusedItem(*event))
            Base::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent *event) override { trackItemPress(*event); }
    void mouseReleaseEvent(QMouseEvent *event) override { trackItemRelease(*event); }
};

/// Registers, once per process, the factory that describes every widget that
/// is a PaintedItemHost together with its items. GUI thread.
void installPaintedItemAccessibility();
