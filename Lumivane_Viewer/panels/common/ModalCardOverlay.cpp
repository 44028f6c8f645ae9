#include "ModalCardOverlay.h"

#include "BackdropClick.h"

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
    // Presses on the card's own empty space reach this widget too; only a
    // click outside the card is one on the backdrop.
    new BackdropClick(this, [this] { return m_card->geometry(); }, [this] { requestClose(); });
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
