#pragma once

class QAbstractButton;
class QAbstractScrollArea;
class QKeyEvent;
class QPainter;
class QRectF;
class QWidget;

/// How the viewer's own controls answer the keyboard. They take the focus
/// from Tab and Backtab, or when a view hands it to them, never from a
/// click. While the visitor moves through them with the keyboard the focused
/// one shows a ring and Space and Return press it; a mouse press ends that
/// until the next Tab, so that the mouse's ways and looks stay as they were
/// and an unseen focus presses nothing. GUI thread only.
namespace KeyboardFocus {

/// Whether the last of Tab, Backtab and a mouse press was Tab or Backtab.
bool isNavigating();
/// Whether the widget has the focus and shows it now.
bool showsRing(const QWidget &widget);
/// Draws the focus ring along the inside edge of a rounded shape: the
/// viewer's gold with a thin white line inside it, readable on the dark
/// chrome, on light cards and on gold buttons alike.
void paintRing(QPainter &painter, const QRectF &shape, double radius);
/// Space, Return or Enter without a modifier but the keypad's.
bool isActivationKey(const QKeyEvent &event);
/// Makes a plain-style button reachable: focus from Tab only, pressed by
/// Space, Return and Enter while the visitor navigates. The button paints
/// its own ring (showsRing, paintRing).
void makeReachable(QAbstractButton &button);
/// Makes a scroll area of text reachable while its content overflows:
/// focus from Tab only, scrolled by the arrow, page, Home and End keys and
/// by Space, ringed along its view's edge while the visitor navigates
/// (ScrollAreaFocus).
void makeReachable(QAbstractScrollArea &area);

} // namespace KeyboardFocus
