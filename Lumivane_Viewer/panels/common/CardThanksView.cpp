#include "CardThanksView.h"

#include "CardWidgets.h"

#include "model/SystemFont.h"
#include "widgets/SymbolGlyph.h"

#include <QAbstractButton>
#include <QLabel>
#include <QVBoxLayout>

CardThanksView::CardThanksView(const CardThanksLook &look, QWidget *parent)
    : QWidget(parent)
    , m_title(cardLabel(look.titleFont, look.titleColor, this))
    , m_body(cardLabel(look.bodyFont, look.bodyColor, this))
    , m_close(plainTextButton(systemFont(13), look.closeColor, this))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(look.margins);
    column->setSpacing(14);
    column->addWidget(new SymbolGlyph(look.symbol, look.symbolPoints, look.symbolColor, this), 0, Qt::AlignHCenter);
    m_title->setAlignment(Qt::AlignHCenter);
    column->addWidget(m_title);
    m_body->setAlignment(Qt::AlignHCenter);
    m_body->setWordWrap(true);
    m_body->setContentsMargins(look.bodySideInset, 0, look.bodySideInset, 0);
    column->addWidget(m_body);
    column->addSpacing(8);
    column->addWidget(m_close, 0, Qt::AlignHCenter);
    connect(m_close, &QAbstractButton::clicked, this, [this] {
        if (onClose)
            onClose();
    });
}

void CardThanksView::focusClose()
{
    m_close->setFocus(Qt::OtherFocusReason);
}

void CardThanksView::setTexts(const QString &title, const QString &body, const QString &close)
{
    m_title->setText(title);
    m_body->setText(body);
    m_close->setText(close);
}

CardThanksView *addThanksView(QVBoxLayout &cardColumn, const CardThanksLook &look, std::function<void()> onClose)
{
    auto *thanks = new CardThanksView(look, cardColumn.parentWidget());
    thanks->onClose = std::move(onClose);
    thanks->hide();
    cardColumn.addWidget(thanks);
    return thanks;
}
