#pragma once

#include "FloorplanImage.h"

#include "media/images/LatestPoolTask.h"
#include "model/LumivaneProject.h"

#include <QByteArray>
#include <QColor>
#include <QPointer>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class FloorplanPanel;
class L10n;
class QVariantAnimation;
class SymbolButton;

/// The small floor plan over the station view: the plan of the current
/// station's level with a marker per placed station of that level (current
/// in the accent with a halo, the named start station "★" in brown, the
/// others numbered in white), and a round button below it that folds and
/// unfolds it; it starts unfolded. Shows nothing at all when the tour
/// switches plans off or has no plan image for the level, nor while the
/// level's plan decodes on the image cache's pool. Knows nothing of
/// navigation: a marker click is reported through onSelectStation.
/// Size policy: its own size hint, which changes as it folds, unfolds or
/// changes plan (updateGeometry). contentsMargins() hold the panel's shadow
/// on the left, top and right: the owner aligns contentsRect()'s bottom-right
/// corner with the place the plan belongs (20 from the right edge, 110 from
/// the bottom). Without a plan its size hint is empty and it takes no input.
class MiniFloorplanOverlay final : public QWidget
{
public:
    MiniFloorplanOverlay(const LumivaneProject &project, std::optional<Station> currentStation, QColor accent,
                         L10n &l10n, QWidget *parent = nullptr);

    /// Follows the station on screen: its level chooses plan and markers.
    void setCurrentStation(const std::optional<Station> &station);
    void setAccent(const QColor &accent);

    /// Called with the id of a clicked marker, also the current station's.
    std::function<void(QUuid)> onSelectStation;

    /// Whether a plan is shown at all.
    bool showsPlan() const { return m_showsPlan; }
    /// Whether the plan of the current level is still being decoded.
    bool isDecodingPlan() const { return m_planDecode.isRunning(); }
    bool isExpanded() const { return m_expanded; }
    FloorplanPanel *panel() const { return m_panel; }
    SymbolButton *toggleButton() const { return m_toggle; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void refresh();
    bool refreshPlan();
    void decodePlan();
    void toggleExpanded();
    void placeChildren();
    void retranslate();

    LumivaneProject m_project;
    std::optional<Station> m_currentStation;
    QColor m_accent;
    QPointer<L10n> m_l10n;
    FloorplanPanel *m_panel;
    SymbolButton *m_toggle;
    QVariantAnimation *m_fade;
    QByteArray m_planBytes; // the bytes last decoded, and whether they made an image
    bool m_planDecoded = false;
    LatestPoolTask<std::optional<FloorplanImage>> m_planDecode{*this}; // of m_planBytes
    bool m_showsPlan = false;
    bool m_expanded = true;
};
