#include "ControlBar.h"

#include "media/symbols/RoundSymbolLabels.h"
#include "media/symbols/SymbolButton.h"

#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr ControlBarAction kAllActions[] = {
    ControlBarAction::backToCover,         ControlBarAction::goToStartStation, ControlBarAction::zoomIn,
    ControlBarAction::zoomOut,             ControlBarAction::levelHorizon,     ControlBarAction::showTableOfContents,
    ControlBarAction::toggleThumbBar,      ControlBarAction::enterImmersiveMode, ControlBarAction::toggleVRMode,
    ControlBarAction::toggleKiosk,         ControlBarAction::toggleAmbientMute, ControlBarAction::showFeedback,
};

} // namespace

ControlBar::ControlBar(const L10n &language, QWidget *parent)
    : ChromeLayer(parent)
    , m_language(language)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 0, 0, 0);
    column->setSpacing(8);
    column->addStretch(1);
    for (ControlBarAction action : kAllActions) {
        auto *button = new SymbolButton(roundIconLabelCompact(QString()), this);
        column->addWidget(button, 0, Qt::AlignLeft);
        m_buttons.insert(action, button);
        connect(button, &QAbstractButton::clicked, this, [this, action] { run(action); });
    }
    column->addStretch(1);
    connect(&m_language, &L10n::currentChanged, this, &ControlBar::refresh);
    refresh();
}

void ControlBar::setInputs(const ControlBarInputs &inputs)
{
    if (inputs == m_inputs)
        return;
    m_inputs = inputs;
    refresh();
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
        button->setToolTip(m_language.text(entry->help));
        button->setAccessibleName(m_language.text(entry->help));
    }
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
