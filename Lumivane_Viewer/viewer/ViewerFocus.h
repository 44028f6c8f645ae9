#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

/// The keyboard focus inside the viewer: which controls Tab visits and in
/// what order, which open dialog keeps it, and where it goes when views
/// open and close. Knows nothing of tours.
namespace ViewerFocus {

/// The controls Tab visits under the roots: shown, enabled, taking the
/// focus from Tab, neither on their way out nor holding such controls
/// themselves (a page that only keeps the window's first focus) unless
/// they are a scroll area, read before the controls it holds. The views
/// of the overlay layers are blocks read top to bottom, then left to right,
/// by their first control; inside a block, controls follow the widget tree.
QList<QWidget *> tabStops(const QList<QWidget *> &roots);

/// The topmost open dialog under the roots that keeps Tab inside itself.
QWidget *containingDialog(const QList<QWidget *> &roots);

/// Moves the focus to the next (or previous) of the stops after the one
/// that has it, round at the ends; to the first (or last) when none has it.
/// The new control is scrolled into view. False without stops.
bool step(const QList<QWidget *> &stops, bool next);

/// Gives the focus to the first control under the root; false without one.
bool focusFirst(QWidget &root);

/// Scrolls every scroll area around the widget until it is in view.
void reveal(QWidget &widget);

/// Whether the focus lies in the view.
bool holds(const QWidget &view);

} // namespace ViewerFocus

/// Where the focus was when a view opened over the others: the view takes
/// it, and gives it back when it goes.
class FocusReturn
{
public:
    /// Remembers where the focus was before the view came (it may have
    /// taken the focus as it was shown) and moves it to the view's first
    /// control.
    void enter(QWidget &view, QWidget *before);
    /// Back to where the focus was, if that still takes it; false if not.
    bool giveBack();

private:
    QPointer<QWidget> m_previous;
};
