#include "ControlBar.h"

#include "ControlBarLayout.h"

#include "widgets/RoundSymbolLabels.h"
#include "widgets/SymbolButton.h"

#include <algorithm>

namespace {

// Between the buttons and what lies above or below them.
constexpr int kClearance = 8;

constexpr ControlBarAction kAllActions[] = {
    ControlBarAction::backToCover,         ControlBarAction::goToStartStation, ControlBarAction::zoomIn,
    ControlBarAction::zoomOut,             ControlBarAction::levelHorizon,     ControlBarAction::showTableOfContents,
    ControlBarAction::toggleThumbBar,      ControlBarAction::enterImmersiveMode, ControlBarAction::toggleVRMode,
    ControlBarAction::toggleKiosk,         ControlBarAction::toggleAmbientMute, ControlBarAction::showFeedback,
};

} // namespace

ControlBar::ControlBar(L10n &l10n, QWidget *parent)
    : ChromeLayer(parent)
    , m_l10n(&l10n)
{
    for (ControlBarAction action : kAllActions) {
        auto *button = new SymbolButton(roundIconLabelCompact(QString()), this);
        m_buttons.insert(action, button);
        connect(button, &QAbstractButton::clicked, this, [this, action] { run(action); });
    }
    connect(m_l10n, &L10n::currentChanged, this, &ControlBar::refresh);
    refresh();
}

void ControlBar::setInputs(const ControlBarInputs &inputs)
{
    if (inputs == m_inputs)
        return;
    m_inputs = inputs;
    refresh();
}

void ControlBar::setReservedAreas(const ReservedAreas &areas)
{
    if (areas.overlayColumn == m_above && areas.thumbStrip == m_below)
        return;
    m_above = areas.overlayColumn;
    m_below = areas.thumbStrip;
    placeButtons();
}

QRect ControlBar::buttonsArea() const
{
    QRect area;
    for (const ControlBarButton &entry : controlBarButtons(m_inputs))
        area |= m_buttons.value(entry.action)->geometry();
    return area;
}

void ControlBar::resizeEvent(QResizeEvent *event)
{
    ChromeLayer::resizeEvent(event);
    placeButtons();
}

void ControlBar::placeButtons()
{
    QList<SymbolButton *> shown;
    for (const ControlBarButton &entry : controlBarButtons(m_inputs))
        shown.append(m_buttons.value(entry.action));
    if (!shown.isEmpty()) {
        ControlBarRoom room;
        room.viewHeight = height();
        room.bandTop = m_above.isEmpty() ? 0 : m_above.bottom() + 1 + kClearance;
        room.bandBottom = m_below.isEmpty() ? height() : m_below.top() - kClearance;
        const QSize side = shown.front()->sizeHint();
        const QList<QPoint> positions = controlBarPositions(int(shown.size()), side.height(), room);
        for (qsizetype i = 0; i < shown.size(); ++i)
            shown[i]->setGeometry(QRect(positions[i], side));
    }
    if (onButtonsPlaced)
        onButtonsPlaced();
}

void ControlBar::refresh()
{
    const QList<ControlBarButton> shown = controlBarButtons(m_inputs);
    for (ControlBarAction action : kAllActions) {
        SymbolButton *button = m_buttons.value(action);
        const auto entry = std::find_if(shown.begin(), shown.end(),
                                        [action](const ControlBarButton &b) { return b.action == action; });
        button->setVisible(entry != shown.end());
        if (entry == shown.end())
            continue;
        button->setSymbol(entry->symbol);
        button->setToolTip(m_l10n->text(entry->help));
        button->setAccessibleName(m_l10n->text(entry->help));
    }
    placeButtons();
}

void ControlBar::run(ControlBarAction action) const
{
    const std::function<void()> *callback = nullptr;
    switch (action) {
    case ControlBarAction::backToCover:
        callback = &onBackToCover;
        break;
    case ControlBarAction::goToStartStation:
        callback = &onGoToStartStation;
        break;
    case ControlBarAction::zoomIn:
        callback = &onZoomIn;
        break;
    case ControlBarAction::zoomOut:
        callback = &onZoomOut;
        break;
    case ControlBarAction::levelHorizon:
        callback = &onLevelHorizon;
        break;
    case ControlBarAction::showTableOfContents:
        callback = &onShowTableOfContents;
        break;
    case ControlBarAction::toggleThumbBar:
        callback = &onToggleThumbBar;
        break;
    case ControlBarAction::enterImmersiveMode:
        callback = &onEnterImmersiveMode;
        break;
    case ControlBarAction::toggleVRMode:
        callback = &onToggleVRMode;
        break;
    case ControlBarAction::toggleKiosk:
        callback = &onToggleKiosk;
        break;
    case ControlBarAction::toggleAmbientMute:
        callback = &onToggleAmbientMute;
        break;
    case ControlBarAction::showFeedback:
        callback = &onShowFeedback;
        break;
    }
    if (callback && *callback)
        (*callback)();
}
