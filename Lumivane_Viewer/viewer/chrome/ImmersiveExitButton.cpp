#include "ImmersiveExitButton.h"

#include "l10n/L10n.h"
#include "widgets/RoundSymbolLabels.h"

ImmersiveExitButton::ImmersiveExitButton(L10n &l10n, QWidget *parent)
    : ChromeLayer(parent)
    , m_l10n(&l10n)
    , m_button(new SymbolButton(immersiveExitLabel(), this))
{
    connect(m_button, &QAbstractButton::clicked, this, [this] {
        if (onExitImmersion)
            onExitImmersion();
    });
    connect(m_l10n, &L10n::currentChanged, this, &ImmersiveExitButton::retranslate);
    retranslate();
}

void ImmersiveExitButton::retranslate()
{
    m_button->setToolTip(m_l10n->text(L10n::Key::exitImmersion));
    m_button->setAccessibleName(m_l10n->text(L10n::Key::exitImmersion));
}

void ImmersiveExitButton::resizeEvent(QResizeEvent *event)
{
    ChromeLayer::resizeEvent(event);
    const QSize size = m_button->sizeHint();
    m_button->setGeometry(width() - 16 - size.width(), 12, size.width(), size.height());
}
