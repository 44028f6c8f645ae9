#pragma once

#include <QPointF>
#include <QRect>
#include <QString>

#include <optional>

class QMouseEvent;

/// A widget that paints its clickable items (cards, markers) itself instead
/// of holding a child widget per item. Through installPaintedItemAccessibility()
/// assistive technology sees each item as a button it can name and press.
/// A left press and release on the same item presses it too.
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

protected:
    /// Called from the widget's mouse press and release handlers.
    void trackItemPress(const QMouseEvent &event);
    void trackItemRelease(const QMouseEvent &event);
    /// A press on an item that has since gone clicks nothing.
    void forgetItemPress() { m_pressedItem.reset(); }

private:
    std::optional<int> m_pressedItem;
};

/// Registers, once per process, the factory that describes every widget that
/// is a PaintedItemHost together with its items. GUI thread.
void installPaintedItemAccessibility();
