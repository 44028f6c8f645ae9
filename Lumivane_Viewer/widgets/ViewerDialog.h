#pragma once

#include <optional>

class QWidget;

/// How a card, sheet or panel of the viewer holds the keyboard while open.
enum class DialogFocus {
    /// Tab goes on to the controls around it (the hotspot info card).
    free,
    /// Tab cycles inside it: it covers what lies behind.
    contained,
    /// Tab cycles inside it and every key typed in it is its own: no key of
    /// the view behind acts while it is open (the modal cards).
    exclusive,
};

/// Marks the widget as one of the viewer's cards, sheets or panels:
/// assistive technology sees it as a dialog, named by its accessible name,
/// and the viewer moves the focus into it when it opens. Call before the
/// widget is first shown.
void presentAsDialog(QWidget &widget, DialogFocus focus);

/// How the widget holds the keyboard, when it is a dialog.
std::optional<DialogFocus> dialogFocus(const QWidget &widget);
