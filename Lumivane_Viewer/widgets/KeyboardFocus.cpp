#include "KeyboardFocus.h"

#include "ScrollAreaFocus.h"

#include "model/Palette.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {


/// Watches every key and mouse press of the application for the one bit
/// the controls share: whether the visitor is moving with the keyboard.
class NavigationTracker final : public QObject
{
public:
    using QObject::QObject;

    bool navigating = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<const QKeyEvent *>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
                setNavigating(true);
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            setNavigating(false);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void setNavigating(bool on)
    {
        if (on == navigating)
            return;
        navigating = on;
        // The ring comes or goes on the control that has the focus now.
        if (QWidget *focused = QApplication::focusWidget()) {
            focused->update();
            if (auto *area = qobject_cast<QAbstractScrollArea *>(focused))
                area->viewport()->update();
        }
    }
};

/// Presses a reachable button on Space, Return and Enter while the visitor
/// navigates. Otherwise the key passes on to the button's parents as if the
/// button had no focus: an unseen focus presses nothing.
class ActivationKeys final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (!KeyboardFocus::isActivationKey(*key))
            return false;
        auto *button = static_cast<QAbstractButton *>(watched);
        // Releases are swallowed too: the button's own Space release would
        // click it a second time while the press still shows.
        if (event->type() == QEvent::KeyPress && !key->isAutoRepeat() && KeyboardFocus::isNavigating()
            && button->isEnabled()) {
            button->animateClick();
            return true;
        }
        key->ignore();
        return true;
    }
};

// They live as children of the application object: a test program that
// makes a new one gets new ones.
NavigationTracker *tracker()
{
    static QPointer<NavigationTracker> instance;
    if (!instance && qApp) {
        instance = new NavigationTracker(qApp);
        qApp->installEventFilter(instance);
    }
    return instance;
}

ActivationKeys *activationKeys()
{
    static QPointer<ActivationKeys> instance;
    if (!instance && qApp)
        instance = new ActivationKeys(qApp);
    return instance;
}

} // namespace

namespace KeyboardFocus {

bool isNavigating()
{
    const NavigationTracker *watching = tracker();
    return watching && watching->navigating;
}

bool showsRing(const QWidget &widget)
{
    return widget.hasFocus() && isNavigating();
}

void paintRing(QPainter &painter, const QRectF &shape, double radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(paletteGold(), 2));
    painter.drawRoundedRect(shape.adjusted(1, 1, -1, -1), std::max(0.0, radius - 1), std::max(0.0, radius - 1));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRoundedRect(shape.adjusted(2.5, 2.5, -2.5, -2.5), std::max(0.0, radius - 2.5),
                            std::max(0.0, radius - 2.5));
    painter.restore();
}

bool isActivationKey(const QKeyEvent &event)
{
    const int key = event.key();
    return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
           && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void makeReachable(QAbstractButton &button)
{
    tracker();
    button.setFocusPolicy(Qt::TabFocus);
    if (ActivationKeys *keys = activationKeys())
        button.installEventFilter(keys);
}

void makeReachable(QAbstractScrollArea &area)
{
    tracker();
    new ScrollAreaFocus(area);
}

} // namespace KeyboardFocus
