#include "ModalFrame.h"

#include "BackdropClick.h"

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

ModalFrame::ModalFrame(ModalFrameLook look, DialogFocus focus, QWidget *parent)
    : QWidget(parent)
    , m_look(std::move(look))
    , m_panel(new QWidget(this))
    , m_column(new QVBoxLayout(m_panel))
{
    presentAsDialog(*this, focus);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(0);
    // Clicks on the panel, wherever its children leave them, stay there.
    m_panel->setAttribute(Qt::WA_NoMousePropagation);
    new BackdropClick(this, [this] { return m_panel->geometry(); }, [this] { requestClose(); });
}

QRect ModalFrame::panelGeometry() const
{
    return m_panel->geometry();
}

// As a centring layout would place it.
QRect ModalFrame::panelRect(const QSize &frame) const
{
    const QSize asked = m_panel->sizeHint()
                            .expandedTo(m_panel->minimumSizeHint())
                            .boundedTo(m_panel->maximumSize())
                            .expandedTo(m_panel->minimumSize());
    const int width = std::min(frame.width(), asked.width());
    const int height =
        std::min(frame.height(), m_panel->hasHeightForWidth() ? m_panel->heightForWidth(width) : asked.height());
    return QRect((frame.width() - width) / 2, (frame.height() - height) / 2, width, height);
}

void ModalFrame::requestClose()
{
    if (onClose)
        onClose();
}

void ModalFrame::placePanel()
{
    m_panel->setGeometry(panelRect(size()));
}

// The panel follows the frame's size and, when it is centred on its own
// size, what its content asks for (a child's updateGeometry() reaches the
// frame as a layout request: the frame has no layout of its own).
bool ModalFrame::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::LayoutRequest:
    case QEvent::Show:
        placePanel();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void ModalFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_look.backdrop);
    const QRectF panel(m_panel->geometry());
    if (panel.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_look.shadow)
        paintRoundedRectShadow(painter, panel, m_look.cornerRadius, *m_look.shadow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_look.panel);
    painter.drawRoundedRect(panel, m_look.cornerRadius, m_look.cornerRadius);
}
