#pragma once

#include "model/AnimationCurve.h"
#include "model/HotspotAttachment.h"
#include "model/LightboxContent.h"
#include "viewer/state/EscapeAction.h"
#include "viewer/state/RootFace.h"
#include "viewer/state/ViewerShortcuts.h"
#include "viewer/state/ViewerState.h"
#include "viewer/state/ViewerTour.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

class ViewerEffects;
class ViewerScheduler;

/// The tour viewer without its widgets: holds the visit state of one tour and
/// runs every operation on it (faces, station moves and history, narration,
/// preloading, kiosk tour, panels, info card, attachments, keys). Views render
/// state() and call the operations; after each operation that changed the
/// state, stateChanged() says how to animate the change. Time passes through
/// the scheduler and everything outside the state through the effects; it
/// owns neither. Main thread only.
class ViewerController final : public QObject
{
    Q_OBJECT

public:
    /// Stations sharing an id with an earlier one are left out (with a warning).
    ViewerController(ViewerTour tour, ViewerEffects &effects, ViewerScheduler &scheduler, QObject *parent = nullptr);
    ~ViewerController() override;

    const ViewerState &state() const { return m_state; }
    const ViewerTour &tour() const { return m_tour; }
    /// The project as shown: every station id unique.
    const LumivaneProject &project() const { return m_tour.project; }

    // Lookups
    const QList<Station> &orderedStations() const { return m_orderedStations; }
    std::optional<Station> startStation() const;
    /// The station on screen; the start station while none is set; none when
    /// the id set names no station.
    std::optional<Station> currentStation() const;
    /// Place of the current station in station order; 0 when it has none.
    int currentStationIndex() const;
    std::optional<Station> station(const QUuid &id) const;
    QHash<QUuid, QString> stationNameMap() const;
    QHash<QUuid, QString> stationNumberMap() const;
    bool canGoBack() const;
    bool canGoForward() const;
    bool stationHasNarration(const QUuid &stationID) const;
    std::optional<QString> feedbackRecipient() const;
    RootFace rootFace() const;
    /// The current station's info hotspots, in their order.
    QList<Hotspot> infoHotspotsOfStation() const;
    /// Seconds the kiosk tour stays on a station, with the narration now loaded.
    double kioskDwellSeconds() const;
    /// Where an attachment's file is, or none when it may not be opened.
    std::optional<QUrl> attachmentFileURL(const QString &payload) const;
    QString visitorLanguageCode() const;
    EscapeAction escapeAction() const;

    // Life of the viewer
    void handleViewerAppear();
    void tearDownViewer();
    void closeViewer();
    void interfaceLanguageChanged();

    // Faces and modes
    void unlockTour();
    void startTour();
    void setContactFormVisible(bool visible);
    void hideSplash();
    void toggleImmersiveMode();
    void setImmersiveMode(bool immersive);
    void toggleVRMode();
    void backToCover();

    // Station moves
    void goToStation(const QUuid &id);
    void navigateBack();
    void navigateForward();
    void goHome();
    void goToStartStation();
    void goToPreviousStation();
    void goToNextStation();
    void handleHotspotTap(const Hotspot &hotspot);

    // Narration
    void toggleStationNarration(const QUuid &stationID);

    // Panels and view controls
    void closeLightbox();
    void closePropertyInfo();
    void togglePropertyInfo();
    void setShowTableOfContents(bool show);
    void chooseInTableOfContents(const QUuid &stationID);
    void setShowKeyboardHelp(bool show);
    void setShowFeedback(bool show);
    void toggleThumbBar();
    void toggleAmbientMute();
    void zoomIn();
    void zoomOut();
    /// Takes the field of view a panorama was zoomed to by other means
    /// (the scroll wheel), so that the zoom buttons and keys step from it.
    void followZoom(double fieldOfView);
    void levelHorizon();

    // Kiosk tour
    void toggleKiosk();
    void stopKiosk();

    // Info card and attachments
    void showInfoCard(const Hotspot &hotspot);
    void closeInfoCard();
    void toggleReadAloud(const Hotspot &hotspot);
    void openAttachment(const HotspotAttachment &attachment);
    void openImageInLightboxAnimated(const QUrl &url, const HotspotAttachment &attachment);
    void openSoundAttachment(const HotspotAttachment &attachment);

    // Keys
    /// Escape, then the station view's shortcuts; true when the key was used.
    bool handleKeyPress(int key, Qt::KeyboardModifiers modifiers, const QString &text);

signals:
    /// The state changed; views animate to it with the given curve.
    void stateChanged(ViewerAnimation animation);

private:
    /// Runs a state change and announces it, unless it is nested in another
    /// change, which then announces both with its own animation.
    template<typename Change>
    void change(ViewerAnimation animation, Change &&apply);
    void announce(ViewerAnimation animation);

    // The steps of the operations above.
    void beginStationFade(const QUuid &arriving);
    void arriveAtStation(const QUuid &id);
    void endStationFade();
    void pushHistory(const QUuid &id);
    void playStationNarration(const QUuid &stationID);
    /// The photos preloading fetches from the current station.
    QList<QUrl> preloadTargets() const;
    void preloadNeighbourPhotos();
    void scheduleKioskTimer();
    void advanceKiosk();
    void openAttachmentInLightbox(const HotspotAttachment &attachment, LightboxContent::Kind kind);
    /// Runs a key's command; no availability test (shortcutFor() does that).
    void runShortcut(ViewerShortcut shortcut);
    void runEscape();

    ViewerTour m_tour;
    QList<Station> m_orderedStations;
    ViewerEffects &m_effects;
    ViewerScheduler &m_scheduler;
    ViewerState m_state;
    ViewerState m_announced; // the state the last stateChanged() described
    int m_changeDepth = 0;
    quint64 m_kioskTimerGeneration = 0; // a dwell firing from an older one does nothing
};

template<typename Change>
void ViewerController::change(ViewerAnimation animation, Change &&apply)
{
    ++m_changeDepth;
    apply();
    --m_changeDepth;
    if (m_changeDepth == 0)
        announce(animation);
}
