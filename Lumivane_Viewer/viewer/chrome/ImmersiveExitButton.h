#pragma once

#include "ChromeLayer.h"

#include <functional>

class L10n;
class SymbolButton;

/// The way out of immersive mode: a round button at the top trailing corner.
/// A layer meant to fill the station view; reports the press through
/// onExitImmersion.
class ImmersiveExitButton final : public ChromeLayer
{
public:
    explicit ImmersiveExitButton(const L10n &language, QWidget *parent = nullptr);

    std::function<void()> onExitImmersion;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void retranslate();

    const L10n &m_language;
    SymbolButton *m_button;
};
