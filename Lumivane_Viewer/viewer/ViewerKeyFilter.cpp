#include "viewer/ViewerKeyFilter.h"

#include "widgets/KeyboardFocus.h"
#include "widgets/PaintedItemAccessibility.h"
#include "widgets/ScrollAreaFocus.h"
#include "widgets/ViewerDialog.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

ViewerKeyFilter::ViewerKeyFilter(QWidget &viewer, Handler handle)
    : QObject(&viewer)
    , m_viewer(&viewer)
    , m_handle(std::move(handle))
{
}

bool ViewerKeyFilter::isTextField(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QTextEdit *>(widget)
           || qobject_cast<const QPlainTextEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget);
}

bool ViewerKeyFilter::keepsKey(const QWidget &focus, const QKeyEvent &key) const
{
    if (isTextField(&focus) || ScrollAreaFocus::scrollsBy(focus, key))
        return true;
    for (const QWidget *widget = &focus; widget && widget != m_viewer; widget = widget->parentWidget()) {
        if (dialogFocus(*widget) == DialogFocus::exclusive)
            return true;
    }
    const bool isControl = &focus != m_viewer && !focus.isWindow();
    // A widget of painted items presses the one the keyboard is on; on the
    // widget itself the key is the viewer's.
    const auto *host = dynamic_cast<const PaintedItemHost *>(&focus);
    const bool pressesItem = !host || host->focusedPaintedItem().has_value();
    return isControl && pressesItem && KeyboardFocus::isNavigating() && KeyboardFocus::isActivationKey(key);
}

bool ViewerKeyFilter::isForViewer(const QWidget *receiver) const
{
    if (!m_viewer || !m_viewer->isVisible())
        return false;
    // The window itself gets the keys while no widget has the focus.
    return receiver == m_viewer || receiver == m_viewer->window() || m_viewer->isAncestorOf(receiver);
}

bool ViewerKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    // The window system's copy of the event goes to the window first; only
    // the widget's copy is handled, so that each press counts once.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *receiver = static_cast<const QWidget *>(watched);
    if (!isForViewer(receiver))
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    // A key the focus leaves unused travels on to its parents: each copy is
    // judged by the widget it started from.
    const QWidget *focus = QApplication::focusWidget();
    const QWidget &origin = focus && receiver->isAncestorOf(focus) ? *focus : *receiver;
    if (key->key() != Qt::Key_Escape && keepsKey(origin, *key))
        return false;
    return m_handle(*key);
}
