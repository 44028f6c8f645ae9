#pragma once

#include "l10n/L10n.h"
#include "model/AnimationCurve.h"
#include "viewer/ViewerFocus.h"
#include "viewer/ViewerLayer.h"
#include "viewer/ViewerServices.h"
#include "viewer/ViewFactories.h"
#include "viewer/state/RootFace.h"
#include "viewer/state/TimerScheduler.h"
#include "viewer/state/ViewerTour.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class OverlayLayer;
class QKeyEvent;
class QNetworkAccessManager;
class ScreenReaderNotice;
class ServiceViewerEffects;
class StationStackView;
class ViewerController;
class ViewerKeyFilter;

/// The tour viewer, the window's whole content while a tour is open. It
/// owns the visit (a ViewerController on timers, with the effects made of
/// the services it is handed and the tour's one ambient loop) and only
/// composes: it shows the controller's face (password gate, station view or
/// cover) with the close button over gate and cover, and above every face
/// the language picker and the audio-guide button, except under a sheet
/// that covers the whole viewer; it turns its views' callbacks, its keys,
/// the interface language and the two toggle notifications into the
/// controller's operations. It starts the visit when first shown and ends it
/// when hidden or destroyed. One sheet per tour.
class LumivaneViewerSheet final : public QWidget
{
    Q_OBJECT

public:
    LumivaneViewerSheet(ViewerTour tour, ViewerServices services, QWidget *parent = nullptr);
    ~LumivaneViewerSheet() override;

    ViewerController &controller() const { return *m_controller; }
    /// The accent every view of this tour is given.
    QColor accent() const { return m_context.accent; }
    /// The face on screen and its view.
    RootFace face() const { return m_face; }
    QWidget *faceView() const { return m_faceView; }
    /// The station view while it is the face, else null.
    StationStackView *stationView() const;
    /// The close button and contact form over gate and cover.
    OverlayLayer &faceChrome() const { return *m_faceChrome; }
    /// The language picker and the audio-guide button, over every face.
    OverlayLayer &overlayColumn() const { return *m_overlayColumn; }

    /// Whether the visit has started (shown) and not ended since.
    bool isShowingTour() const { return m_appeared; }
    /// On by default; a benchmark compares station changes without it.
    void setPhotoPreloading(bool enabled);

    static constexpr QSize minimumViewerSize{900, 600};

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    /// Tab follows the viewer's own order and stays in an open dialog that keeps it.
    bool focusNextPrevChild(bool next) override;

private:
    void render(ViewerAnimation animation);
    void showFace(RootFace face, ViewerAnimation animation);
    void renderFaceChrome(ViewerAnimation animation);
    void renderOverlayColumn(ViewerAnimation animation);
    /// Hides the language picker and the audio-guide button under a sheet
    /// over the whole viewer, shows them otherwise.
    void coverOverlayColumn(bool covered);
    void shareOverlayColumn();
    /// Has screen readers say the name of the station on screen when the
    /// visitor arrives at it, in the interface language.
    void sayStationArrivedAt();
    bool handleKey(const QKeyEvent &key);
    /// The view a layer of the station view shows (not one on its way out), if it is a View.
    template<typename View>
    View *shownView(ViewerLayer layer) const;
    void observeLanguage();
    void observeNotifications();
    void appear();
    void tearDown();
    /// Back to front, as they are stacked.
    QList<QWidget *> focusRoots() const;

    const ViewerServices m_services;
    TimerScheduler m_scheduler;
    std::unique_ptr<ServiceViewerEffects> m_effects;
    // Declared after what it uses, so that it goes first.
    std::unique_ptr<ViewerController> m_controller;
    QNetworkAccessManager *m_network;
    const ViewFactoryContext m_context;

    RootFace m_face = RootFace::cover;
    QPointer<QWidget> m_faceView;
    OverlayLayer *m_faceChrome;
    OverlayLayer *m_overlayColumn;
    QPointer<QWidget> m_closeButton;
    QPointer<QWidget> m_contactForm;
    FocusReturn m_contactFocus;
    QPointer<QWidget> m_languagePicker;
    QPointer<QWidget> m_audioGuide;
    ScreenReaderNotice *m_stationNotice;
    std::optional<QUuid> m_saidStation; // the station on screen screen readers last heard of
    ViewerKeyFilter *m_keyFilter;
    std::optional<L10n::Language> m_language;
    bool m_appeared = false;
};
