#include "ModalCardOverlay.h"

#include "BackdropClick.h"

#include "widgets/ViewerDialog.h"

#include <QPainter>
#include <QVBoxLayout>

ModalCardOverlay::ModalCardOverlay(ModalCardLook look, QWidget *parent)
    : QWidget(parent)
    , m_look(std::move(look))
    , m_card(new QWidget(this))
    , m_cardStack(new QVBoxLayout(m_card))
{
    // Modal: Tab and every key but Escape stay in the card while it is open.
    presentAsDialog(*this, DialogFocus::exclusive);
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
    paintModalCard(painter, rect(), m_card->geometry(), m_look);
}

void paintModalCard(QPainter &painter, const QRect &area, const QRectF &card, const ModalCardLook &look)
{
    painter.fillRect(area, look.backdrop);
    if (card.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    paintRoundedRectShadow(painter, card, look.cornerRadius, look.shadow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.cardBackground);
    painter.drawRoundedRect(card, look.cornerRadius, look.cornerRadius);
}
