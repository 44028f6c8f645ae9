#pragma once

#include "ChromeLayer.h"
#include "ControlBarButtons.h"
#include "ReservedAreas.h"

#include <QHash>
#include <QPointer>

#include <functional>

class L10n;
class SymbolButton;

/// The column of round command buttons at the left edge of the station
/// view, each shown only when it applies (controlBarButtons()). A layer
/// meant to fill the station view; the column is centred vertically and
/// keeps between the overlay column above it and the thumbnail strip below
/// it (controlBarPositions()). Knows nothing of the visit: inputs come in
/// through setInputs(), presses go out through the callback of each command.
class ControlBar final : public ChromeLayer
{
public:
    explicit ControlBar(L10n &l10n, QWidget *parent = nullptr);

    void setInputs(const ControlBarInputs &inputs);
    /// Only the overlay column and the thumbnail strip count.
    void setReservedAreas(const ReservedAreas &areas);
    /// The button of a command; hidden while the command does not apply.
    SymbolButton *button(ControlBarAction action) const { return m_buttons.value(action); }
    /// Where the buttons that apply stand now; empty without any.
    QRect buttonsArea() const;

    /// The buttons moved, or some came or went.
    std::function<void()> onButtonsPlaced;

    std::function<void()> onBackToCover;
    std::function<void()> onGoToStartStation;
    std::function<void()> onZoomIn;
    std::function<void()> onZoomOut;
    std::function<void()> onLevelHorizon;
    std::function<void()> onShowTableOfContents;
    std::function<void()> onToggleThumbBar;
    std::function<void()> onEnterImmersiveMode;
    std::function<void()> onToggleVRMode;
    std::function<void()> onToggleKiosk;
    std::function<void()> onToggleAmbientMute;
    std::function<void()> onShowFeedback;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refresh();
    void placeButtons();
    void run(ControlBarAction action) const;

    QPointer<L10n> m_l10n;
    ControlBarInputs m_inputs;
    QRect m_above; // the overlay column
    QRect m_below; // the thumbnail strip
    QHash<ControlBarAction, SymbolButton *> m_buttons;
};
