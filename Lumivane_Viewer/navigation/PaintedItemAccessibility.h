#pragma once

#include <QRect>
#include <QString>

/// A widget that paints its clickable items (cards, markers) itself instead
/// of holding a child widget per item. Through installPaintedItemAccessibility()
/// assistive technology sees each item as a button it can name and press.
class PaintedItemHost
{
public:
    virtual ~PaintedItemHost() = default;

    virtual int paintedItemCount() const = 0;
    virtual QString paintedItemName(int index) const = 0;
    /// In the widget's coordinates; outside its rectangle when scrolled away.
    virtual QRect paintedItemRect(int index) const = 0;
    virtual void pressPaintedItem(int index) = 0;
};

/// Registers, once per process, the factory that describes every widget that
/// is a PaintedItemHost together with its items. GUI thread.
void installPaintedItemAccessibility();
