#pragma once

#include "ChromeLayer.h"

#include <QPointer>

#include <functional>

class L10n;
class SymbolButton;

/// The way out of immersive mode: a round button at the top trailing corner.
/// A layer meant to fill the station view; reports the press through
/// onExitImmersion.
class ImmersiveExitButton final : public ChromeLayer
{
public:
    explicit ImmersiveExitButton(L10n &l10n, QWidget *parent = nullptr);

    std::function<void()> onExitImmersion;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void retranslate();

    QPointer<L10n> m_l10n;
    SymbolButton *m_button;
};
