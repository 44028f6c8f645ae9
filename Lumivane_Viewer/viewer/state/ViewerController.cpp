#include "viewer/state/ViewerController.h"

#include "model/StationOrder.h"
#include "viewer/state/AttachmentFiles.h"
#include "viewer/state/FeedbackRecipient.h"
#include "viewer/state/KioskDwell.h"
#include "viewer/state/PhotoPreload.h"
#include "viewer/state/StationLabels.h"
#include "viewer/state/StationNarration.h"
#include "viewer/state/UniqueStations.h"
#include "viewer/state/ViewerEffects.h"
#include "viewer/state/ViewerScheduler.h"

#include <algorithm>

namespace {

constexpr double splashSeconds = 1.2;

ViewerTour withUniqueStations(ViewerTour tour)
{
    tour.project.stations = uniqueStations(tour.project.stations);
    return tour;
}

} // namespace

ViewerController::ViewerController(ViewerTour tour, ViewerEffects &effects, ViewerScheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_tour(withUniqueStations(std::move(tour)))
    , m_orderedStations(sortedByOrderIndex(m_tour.project.stations))
    , m_effects(effects)
    , m_scheduler(scheduler)
{
}

// Pending delayed steps are bound to this object and are dropped with it.
ViewerController::~ViewerController() = default;

void ViewerController::announce(ViewerAnimation animation)
{
    if (m_state == m_announced)
        return;
    m_announced = m_state;
    emit stateChanged(animation);
}

// Lookups

std::optional<Station> ViewerController::startStation() const
{
    return ::startStation(m_tour.project);
}

std::optional<Station> ViewerController::currentStation() const
{
    if (!m_state.currentStationID)
        return startStation();
    return station(*m_state.currentStationID);
}

int ViewerController::currentStationIndex() const
{
    if (!m_state.currentStationID)
        return 0;
    const auto found = std::find_if(m_orderedStations.cbegin(), m_orderedStations.cend(),
                                    [&](const Station &s) { return s.id == *m_state.currentStationID; });
    return found == m_orderedStations.cend() ? 0 : int(found - m_orderedStations.cbegin());
}

std::optional<Station> ViewerController::station(const QUuid &id) const
{
    const QList<Station> &stations = m_tour.project.stations;
    const auto found = std::find_if(stations.cbegin(), stations.cend(), [&](const Station &s) { return s.id == id; });
    if (found == stations.cend())
        return std::nullopt;
    return *found;
}

QHash<QUuid, QString> ViewerController::stationNameMap() const
{
    return ::stationNameMap(m_tour.project);
}

QHash<QUuid, QString> ViewerController::stationNumberMap() const
{
    return ::stationNumberMap(m_tour.project);
}

bool ViewerController::canGoBack() const
{
    return m_state.navIndex > 0;
}

bool ViewerController::canGoForward() const
{
    return m_state.navIndex >= 0 && m_state.navIndex < m_state.navHistory.size() - 1;
}

bool ViewerController::stationHasNarration(const QUuid &stationID) const
{
    const std::optional<Station> found = station(stationID);
    if (!found)
        return false;
    return StationNarration{m_tour.audioURLResolver, m_tour.projectID, visitorLanguageCode()}.isAvailable(*found);
}

std::optional<QString> ViewerController::feedbackRecipient() const
{
    return ::feedbackRecipient(m_tour.project);
}

RootFace ViewerController::rootFace() const
{
    return ::rootFace(m_tour.project, m_state);
}

QList<Hotspot> ViewerController::infoHotspotsOfStation() const
{
    QList<Hotspot> info;
    if (const std::optional<Station> current = currentStation()) {
        std::copy_if(current->hotspots.cbegin(), current->hotspots.cend(), std::back_inserter(info),
                     [](const Hotspot &hotspot) { return hotspot.kind == HotspotKind::info; });
    }
    return info;
}

QList<QUrl> ViewerController::preloadTargets() const
{
    QList<QUrl> urls;
    const QList<QUuid> ids = preloadStationIDs(m_tour.project.renderMode, m_orderedStations, currentStation(),
                                               currentStationIndex());
    for (const QUuid &id : ids) {
        if (const std::optional<QUrl> url = m_tour.photoURLResolver(id))
            urls.append(*url);
    }
    return urls;
}

double ViewerController::kioskDwellSeconds() const
{
    return ::kioskDwellSeconds(m_tour.project, m_effects.narrationDuration());
}

std::optional<QUrl> ViewerController::attachmentFileURL(const QString &payload) const
{
    return AttachmentFiles::fileURL(payload, m_tour.attachmentURLResolver, m_tour.projectID);
}

QString ViewerController::visitorLanguageCode() const
{
    return m_effects.visitorLanguageCode();
}

EscapeAction ViewerController::escapeAction() const
{
    return ::escapeAction(m_tour.project, m_state);
}

// Life of the viewer

void ViewerController::handleViewerAppear()
{
    change(ViewerAnimation::none(), [&] {
        m_state.thumbBarVisible = false;
        if (!m_state.currentStationID) {
            if (const std::optional<Station> start = startStation())
                m_state.currentStationID = start->id;
        }
        if (m_state.currentStationID)
            m_state.visitedStationIDs.insert(*m_state.currentStationID);
    });
    if (m_state.currentStationID) {
        if (const std::optional<QUrl> photo = m_tour.photoURLResolver(*m_state.currentStationID))
            m_effects.prefetchPhoto(*photo);
    }
    preloadNeighbourPhotos();
    m_effects.playAmbient(m_tour.project.ambientSoundData);
    m_scheduler.after(splashSeconds, this, [this] { hideSplash(); });
}

void ViewerController::tearDownViewer()
{
    stopKiosk();
    m_effects.stopAmbient();
    m_effects.stopNarration();
    m_effects.stopSpeech();
    m_effects.emptyFullSizeImages();
}

void ViewerController::closeViewer()
{
    if (m_tour.onClose)
        m_tour.onClose();
    else if (m_tour.dismiss)
        m_tour.dismiss();
}

void ViewerController::interfaceLanguageChanged()
{
    m_effects.stopNarration();
    // Narration belongs to the tour behind the password: not before it is entered.
    if (rootFace() == RootFace::gate || !m_state.currentStationID)
        return;
    if (stationHasNarration(*m_state.currentStationID))
        playStationNarration(*m_state.currentStationID);
}

// Faces and modes

void ViewerController::unlockTour()
{
    change({AnimationCurve::easeOut, 0.3}, [&] { m_state.unlockedTour = true; });
}

void ViewerController::startTour()
{
    change({AnimationCurve::easeOut, 0.35}, [&] { m_state.hasLaunchedTour = true; });
}

void ViewerController::setContactFormVisible(bool visible)
{
    // The cover offers the form only when the project enables it.
    if (visible && !m_tour.project.contactFormEnabled)
        return;
    const ViewerAnimation animation = visible ? ViewerAnimation{AnimationCurve::easeIn, 0.2}
                                              : ViewerAnimation{AnimationCurve::easeOut, 0.15};
    change(animation, [&] { m_state.showContactForm = visible; });
}

void ViewerController::hideSplash()
{
    change({AnimationCurve::easeOut, 0.4}, [&] { m_state.showSplash = false; });
}

void ViewerController::toggleImmersiveMode()
{
    setImmersiveMode(!m_state.immersiveMode);
}

void ViewerController::setImmersiveMode(bool immersive)
{
    change({AnimationCurve::easeInOut, 0.25}, [&] { m_state.immersiveMode = immersive; });
}

void ViewerController::toggleVRMode()
{
    change(ViewerAnimation::none(), [&] { m_state.vrMode = !m_state.vrMode; });
}

void ViewerController::backToCover()
{
    change({AnimationCurve::easeOut, 0.3}, [&] {
        m_state.hasLaunchedTour = false;
        m_state.selectedInfoHotspot.reset();
        m_state.showPropertyInfo = false;
        stopKiosk();
    });
}

// Panels and view controls

void ViewerController::closeLightbox()
{
    change({AnimationCurve::easeOut, 0.15}, [&] { m_state.lightboxContent.reset(); });
}

void ViewerController::closePropertyInfo()
{
    change({AnimationCurve::easeOut, 0.2}, [&] { m_state.showPropertyInfo = false; });
}

void ViewerController::togglePropertyInfo()
{
    change({AnimationCurve::easeOut, 0.2}, [&] {
        m_state.showPropertyInfo = !m_state.showPropertyInfo;
        m_state.selectedInfoHotspot.reset();
    });
}

void ViewerController::setShowTableOfContents(bool show)
{
    change(ViewerAnimation::none(), [&] { m_state.showTableOfContents = show; });
}

void ViewerController::chooseInTableOfContents(const QUuid &stationID)
{
    setShowTableOfContents(false);
    goToStation(stationID);
}

void ViewerController::setShowKeyboardHelp(bool show)
{
    change(ViewerAnimation::none(), [&] { m_state.showKeyboardHelp = show; });
}

void ViewerController::setShowFeedback(bool show)
{
    change(ViewerAnimation::none(), [&] { m_state.showFeedback = show; });
}

void ViewerController::toggleThumbBar()
{
    change({AnimationCurve::easeInOut, 0.3}, [&] { m_state.thumbBarVisible = !m_state.thumbBarVisible; });
}

void ViewerController::toggleAmbientMute()
{
    m_effects.setAmbientMuted(!m_effects.isAmbientMuted());
}

void ViewerController::zoomIn()
{
    change(ViewerAnimation::none(), [&] { m_state.currentFOV = std::max(m_state.currentFOV - 10, 20.0); });
}

void ViewerController::zoomOut()
{
    change(ViewerAnimation::none(), [&] { m_state.currentFOV = std::min(m_state.currentFOV + 10, 120.0); });
}

void ViewerController::followZoom(double fieldOfView)
{
    change(ViewerAnimation::none(), [&] { m_state.currentFOV = std::clamp(fieldOfView, 20.0, 120.0); });
}

void ViewerController::levelHorizon()
{
    change(ViewerAnimation::none(), [&] { ++m_state.resetHorizonTrigger; });
}
