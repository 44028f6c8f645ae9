// Station moves, history, narration, preloading and the kiosk tour of
// ViewerController.

#include "viewer/state/ViewerController.h"

#include "viewer/state/StationNarration.h"
#include "viewer/state/ViewerEffects.h"
#include "viewer/state/ViewerScheduler.h"

namespace {

constexpr double fadeInSeconds = 0.18; // also the delay of the arrival
constexpr double fadeOutSeconds = 0.28;
constexpr double kioskRearmSeconds = 0.2;

} // namespace

// Station moves

void ViewerController::goToStation(const QUuid &id)
{
    const auto recordMove = [&] {
        if (m_state.navSkipPush)
            m_state.navSkipPush = false;
        else
            pushHistory(id);
    };
    if (!m_state.currentStationID) {
        // Nothing on screen to fade from: the station is set at once.
        change(ViewerAnimation::none(), [&] {
            m_state.currentStationID = id;
            m_state.selectedInfoHotspot.reset();
            m_state.visitedStationIDs.insert(id);
            recordMove();
        });
    } else {
        m_effects.playStationChangeSound();
        beginStationFade(id);
        m_scheduler.after(fadeInSeconds, this, [this, id] { arriveAtStation(id); });
        change(ViewerAnimation::none(), recordMove);
    }
    preloadNeighbourPhotos();
    if (m_state.kioskActive)
        playStationNarration(id);
    else
        m_effects.stopNarration();
}

void ViewerController::arriveAtStation(const QUuid &id)
{
    change(ViewerAnimation::none(), [&] {
        m_state.currentStationID = id;
        m_state.visitedStationIDs.insert(id);
        // A later change still on its way keeps its own.
        if (m_state.arrivingStationID == id)
            m_state.arrivingStationID.reset();
    });
    endStationFade();
    // So that the next move from here finds its photo ready.
    preloadNeighbourPhotos();
}

void ViewerController::beginStationFade(const QUuid &arriving)
{
    change({AnimationCurve::easeIn, fadeInSeconds}, [&] {
        m_state.transitionOpacity = 1;
        m_state.selectedInfoHotspot.reset();
        m_state.arrivingStationID = arriving;
    });
}

void ViewerController::endStationFade()
{
    change({AnimationCurve::easeOut, fadeOutSeconds}, [&] { m_state.transitionOpacity = 0; });
}

void ViewerController::pushHistory(const QUuid &id)
{
    change(ViewerAnimation::none(), [&] {
        QList<QUuid> &history = m_state.navHistory;
        if (m_state.navIndex < history.size() - 1)
            history.resize(m_state.navIndex + 1);
        if (!history.isEmpty() && history.last() == id)
            return;
        history.append(id);
        m_state.navIndex = int(history.size()) - 1;
    });
}

void ViewerController::navigateBack()
{
    if (m_state.navIndex < 1)
        return;
    --m_state.navIndex;
    m_state.navSkipPush = true;
    goToStation(m_state.navHistory[m_state.navIndex]);
}

void ViewerController::navigateForward()
{
    if (!canGoForward())
        return;
    ++m_state.navIndex;
    m_state.navSkipPush = true;
    goToStation(m_state.navHistory[m_state.navIndex]);
}

void ViewerController::goHome()
{
    const std::optional<Station> start = startStation();
    if (start && start->id != m_state.currentStationID)
        goToStation(start->id);
    else
        change(ViewerAnimation::none(), [&] { ++m_state.resetViewTrigger; });
}

void ViewerController::goToStartStation()
{
    if (startStation())
        goHome();
}

void ViewerController::goToPreviousStation()
{
    const int count = int(m_orderedStations.size());
    if (count > 0)
        goToStation(m_orderedStations[(currentStationIndex() + count - 1) % count].id);
}

void ViewerController::goToNextStation()
{
    const int count = int(m_orderedStations.size());
    if (count > 0)
        goToStation(m_orderedStations[(currentStationIndex() + 1) % count].id);
}

void ViewerController::handleHotspotTap(const Hotspot &hotspot)
{
    if (hotspot.kind == HotspotKind::info)
        change({AnimationCurve::easeOut, 0.2}, [&] { showInfoCard(hotspot); });
    else
        goToStation(hotspot.targetStationID);
}

// Narration and preloading

void ViewerController::playStationNarration(const QUuid &stationID)
{
    const std::optional<Station> found = station(stationID);
    const StationNarration narration{m_tour.audioURLResolver, m_tour.projectID, visitorLanguageCode()};
    const std::optional<QUrl> file = found ? narration.fileToPlay(*found) : std::nullopt;
    if (file)
        m_effects.playNarration(*file);
    else
        m_effects.stopNarration();
}

void ViewerController::toggleStationNarration(const QUuid &stationID)
{
    if (m_effects.isNarrationPlaying())
        m_effects.stopNarration();
    else
        playStationNarration(stationID);
}

void ViewerController::preloadNeighbourPhotos()
{
    for (const QUrl &url : preloadTargets())
        m_effects.prefetchPhoto(url);
}

// Kiosk tour

void ViewerController::toggleKiosk()
{
    if (m_state.kioskActive) {
        stopKiosk();
        return;
    }
    if (!m_tour.project.kioskEnabled)
        return;
    change(ViewerAnimation::none(), [&] { m_state.kioskActive = true; });
    if (m_state.currentStationID)
        playStationNarration(*m_state.currentStationID);
    scheduleKioskTimer();
}

void ViewerController::scheduleKioskTimer()
{
    const quint64 generation = ++m_kioskTimerGeneration;
    if (!m_state.kioskActive)
        return;
    m_scheduler.after(kioskDwellSeconds(), this, [this, generation] {
        if (generation == m_kioskTimerGeneration)
            advanceKiosk();
    });
}

void ViewerController::advanceKiosk()
{
    if (!m_state.kioskActive)
        return;
    if (m_orderedStations.isEmpty()) {
        stopKiosk();
        return;
    }
    const int count = int(m_orderedStations.size());
    const auto current = std::find_if(m_orderedStations.cbegin(), m_orderedStations.cend(), [&](const Station &s) {
        return s.id == m_state.currentStationID;
    });
    // A walk that lost its station starts again from the start station.
    const QUuid next = current == m_orderedStations.cend()
                           ? startStation()->id
                           : m_orderedStations[(int(current - m_orderedStations.cbegin()) + 1) % count].id;
    goToStation(next);
    m_scheduler.after(kioskRearmSeconds, this, [this] { scheduleKioskTimer(); });
}

void ViewerController::stopKiosk()
{
    ++m_kioskTimerGeneration;
    change(ViewerAnimation::none(), [&] { m_state.kioskActive = false; });
    m_effects.stopNarration();
}
