#include "ModalCardOverlay.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

ModalCardOverlay::ModalCardOverlay(ModalCardLook look, QWidget *parent)
    : QWidget(parent)
    , m_look(std::move(look))
    , m_card(new QWidget(this))
    , m_cardStack(new QVBoxLayout(m_card))
{
    m_card->setFixedWidth(m_look.cardWidth);
    m_cardStack->setContentsMargins(0, 0, 0, 0);
    m_cardStack->setSpacing(0);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_card, 0, Qt::AlignCenter);
}

CardThanksView *ModalCardOverlay::addThanksView(const CardThanksLook &look)
{
    auto *thanks = new CardThanksView(look, m_card);
    thanks->onClose = [this] { requestClose(); };
    thanks->hide();
    m_cardStack->addWidget(thanks);
    return thanks;
}

void ModalCardOverlay::requestClose()
{
    if (onClose)
        onClose();
}

void ModalCardOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_look.backdrop);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF cardRect(m_card->geometry());
    paintRoundedRectShadow(painter, cardRect, m_look.cornerRadius, m_look.shadow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_look.cardBackground);
    painter.drawRoundedRect(cardRect, m_look.cornerRadius, m_look.cornerRadius);
}

// Presses on the card's own empty space reach this widget too; only a press
// and release both outside the card count as a click on the backdrop.
void ModalCardOverlay::mousePressEvent(QMouseEvent *event)
{
    m_backdropPressed = event->button() == Qt::LeftButton && !m_card->geometry().contains(event->position().toPoint());
    event->accept();
}

void ModalCardOverlay::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_backdropPressed && event->button() == Qt::LeftButton
        && !m_card->geometry().contains(event->position().toPoint());
    m_backdropPressed = false;
    event->accept();
    if (click)
        requestClose();
}
