#include "BackdropClick.h"

#include <QMouseEvent>
#include <QWidget>

BackdropClick::BackdropClick(QWidget *overlay, std::function<QRect()> content, std::function<void()> onClick)
    : QObject(overlay)
    , m_content(std::move(content))
    , m_onClick(std::move(onClick))
{
    overlay->installEventFilter(this);
}

// A press that began on the content (a drag ending outside it) is no click.
bool BackdropClick::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    const bool outside =
        mouse->button() == Qt::LeftButton && !m_content().contains(mouse->position().toPoint());
    if (event->type() == QEvent::MouseButtonPress) {
        m_pressedOutside = outside;
        return true;
    }
    const bool click = m_pressedOutside && outside;
    m_pressedOutside = false;
    if (click && m_onClick)
        m_onClick();
    return true;
}
