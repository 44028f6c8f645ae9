#include "ChromeLayer.h"

#include <QChildEvent>
#include <QRegion>

ChromeLayer::ChromeLayer(QWidget *parent)
    : QWidget(parent)
{
    updateMouseArea();
}

QRect ChromeLayer::controlsArea() const
{
    return mask().boundingRect();
}

void ChromeLayer::childEvent(QChildEvent *event)
{
    QWidget::childEvent(event);
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
    if (event->added() || event->removed())
        updateMouseArea();
}

bool ChromeLayer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched->parent() == this)
            updateMouseArea();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// The mask is where the children are. An empty mask would mean "no mask" to
// Qt, so a layer with nothing shown lets every event through instead.
void ChromeLayer::updateMouseArea()
{
    QRegion area;
    for (QObject *child : children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isHidden() && !widget->isWindow())
            area += widget->geometry();
    }
    setAttribute(Qt::WA_TransparentForMouseEvents, area.isEmpty());
    if (area.isEmpty())
        clearMask();
    else
        setMask(area);
    if (onControlsMoved)
        onControlsMoved();
}
