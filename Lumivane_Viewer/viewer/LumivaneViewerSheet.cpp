#include "viewer/LumivaneViewerSheet.h"

#include "model/DisplayText.h"
#include "model/NotificationNames.h"
#include "model/ViewerAccent.h"
#include "panels/feedback/VisitorFeedbackSheet.h"
#include "panels/lightbox/LumivaneLightbox.h"
#include "viewer/FadingSnapshot.h"
#include "viewer/OverlayLayer.h"
#include "viewer/ServiceViewerEffects.h"
#include "viewer/ViewerKeyFilter.h"
#include "viewer/ViewerLayerStack.h"
#include "viewer/ViewerNotifications.h"
#include "viewer/chrome/ChromeBindings.h"
#include "viewer/state/ViewerController.h"
#include "viewer/station/StationPhotoBound.h"
#include "viewer/station/StationStackView.h"
#include "widgets/RoundSymbolLabels.h"
#include "widgets/ScreenReaderNotice.h"
#include "widgets/SymbolButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QNetworkAccessManager>
#include <QPainter>

namespace {

constexpr int columnLeading = 20;
constexpr int columnTop = 16;
constexpr int columnSpacing = 8;

} // namespace

LumivaneViewerSheet::LumivaneViewerSheet(ViewerTour tour, ViewerServices services, QWidget *parent)
    : QWidget(parent)
    , m_services(std::move(services))
    , m_effects(std::make_unique<ServiceViewerEffects>(m_services))
    , m_controller(std::make_unique<ViewerController>(std::move(tour), *m_effects, m_scheduler))
    , m_network(new QNetworkAccessManager(this))
    , m_context{*m_controller, m_services, projectAccentColor(m_controller->project()), m_effects->ambientPlayer(),
                *m_network}
    , m_faceChrome(new OverlayLayer(this))
    , m_overlayColumn(new OverlayLayer(this))
    , m_stationNotice(new ScreenReaderNotice(this))
    , m_keyFilter(new ViewerKeyFilter(*this, [this](const QKeyEvent &key) { return handleKey(key); }))
{
    Q_ASSERT(m_services.l10n);
    setObjectName("viewerSheet");
    setMinimumSize(minimumViewerSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Takes the window's first focus itself, so that the first Tab reaches
    // the first control rather than one the window chose.
    setFocusPolicy(Qt::TabFocus);
    m_effects->setPhotoBound([this] { return stationPhotoBound(m_controller->project().renderMode, screen()); });
    m_faceChrome->setObjectName("faceChrome");
    m_overlayColumn->setObjectName("overlayColumn");
    m_languagePicker = ViewFactories::languagePicker(m_context, m_overlayColumn);
    if (m_languagePicker) {
        m_overlayColumn->addView(m_languagePicker, {Qt::AlignLeft | Qt::AlignTop, {columnLeading, columnTop, 0, 0}},
                                 LayerTransition::none, ViewerAnimation::none());
    }
    connect(m_controller.get(), &ViewerController::stateChanged, this, &LumivaneViewerSheet::render);
    observeLanguage();
    observeNotifications();
    render(ViewerAnimation::none());
}

LumivaneViewerSheet::~LumivaneViewerSheet()
{
    if (m_appeared)
        tearDown();
}

StationStackView *LumivaneViewerSheet::stationView() const
{
    return m_face == RootFace::stations ? static_cast<StationStackView *>(m_faceView.data()) : nullptr;
}

void LumivaneViewerSheet::setPhotoPreloading(bool enabled)
{
    m_effects->setPhotoPreloading(enabled);
}

void LumivaneViewerSheet::render(ViewerAnimation animation)
{
    // The column is uncovered before a closing sheet gives the focus back,
    // perhaps to the language picker, and covered only once an opening
    // sheet has taken it (renderOverlayColumn).
    if (!overlayColumnCovered(*m_controller))
        coverOverlayColumn(false);
    const RootFace face = m_controller->rootFace();
    if (face != m_face || !m_faceView)
        showFace(face, animation);
    else if (StationStackView *stations = stationView())
        stations->render(animation);
    renderFaceChrome(animation);
    renderOverlayColumn(animation);
    sayStationArrivedAt();
}

void LumivaneViewerSheet::showFace(RootFace face, ViewerAnimation animation)
{
    QPointer<FadingSnapshot> leaving;
    const bool replacing = !m_faceView.isNull();
    if (m_faceView) {
        // The faces have no transition of their own: the old one fades out
        // over the new one under the change's animation.
        if (animation.seconds > 0 && isVisible())
            leaving = new FadingSnapshot(*m_faceView, animation, this);
        m_faceView->hide();
        m_faceView->deleteLater();
    }
    m_face = face;
    switch (face) {
    case RootFace::gate:
        m_faceView = ViewFactories::passwordGate(m_context, this);
        break;
    case RootFace::stations:
        m_faceView = new StationStackView(m_context, this);
        break;
    case RootFace::cover:
        m_faceView = ViewFactories::cover(m_context, this);
        break;
    }
    if (!m_faceView)
        return;
    m_faceView->setGeometry(rect());
    m_faceView->lower();
    m_faceView->show();
    if (leaving)
        leaving->stackUnder(m_faceChrome);
    // An unlock, a start or a way back lands on the new face's first control;
    // the first face waits for the visitor.
    if (replacing && isVisible())
        ViewerFocus::focusFirst(*m_faceView);
}

void LumivaneViewerSheet::renderFaceChrome(ViewerAnimation animation)
{
    const bool closeWanted = m_face != RootFace::stations;
    if (closeWanted && !m_closeButton) {
        auto *close = new SymbolButton(viewerCloseButtonLabel(), m_faceChrome);
        close->setObjectName("viewerCloseButton");
        close->setAccessibleName(m_services.l10n->text(L10n::Key::closeTourA11y));
        connect(close, &QAbstractButton::clicked, this, [this] { m_controller->closeViewer(); });
        m_closeButton = close;
        // It comes and goes with its face, under the same animation.
        m_faceChrome->addView(close, {Qt::AlignRight | Qt::AlignTop, {0, 16, 20, 0}}, LayerTransition::opacity,
                              animation);
    } else if (!closeWanted && m_closeButton) {
        m_faceChrome->removeView(m_closeButton, animation);
        m_closeButton = nullptr;
    }
    const bool formWanted = m_face == RootFace::cover && m_controller->state().showContactForm;
    if (formWanted && !m_contactForm) {
        QWidget *focusBefore = QApplication::focusWidget();
        m_contactForm = ViewFactories::contactForm(m_context, m_faceChrome);
        if (m_contactForm) {
            m_faceChrome->addView(m_contactForm, LayerPlacement::fill(), LayerTransition::opacity, animation);
            m_contactFocus.enter(*m_contactForm, focusBefore);
        }
    } else if (!formWanted && m_contactForm) {
        const bool heldFocus = ViewerFocus::holds(*m_contactForm);
        m_faceChrome->removeView(m_contactForm, animation);
        m_contactForm = nullptr;
        if (heldFocus && !m_contactFocus.giveBack() && m_faceView)
            ViewerFocus::focusFirst(*m_faceView);
    }
    if (m_contactForm)
        m_contactForm->raise();
}

void LumivaneViewerSheet::renderOverlayColumn(ViewerAnimation animation)
{
    const bool covered = overlayColumnCovered(*m_controller);
    const bool wanted = audioGuideButtonShown(*m_controller);
    if (wanted && !m_audioGuide) {
        m_audioGuide = ViewFactories::audioGuideButton(m_context, m_overlayColumn);
        if (m_audioGuide) {
            const int pickerHeight = m_languagePicker ? m_languagePicker->sizeHint().height() + columnSpacing : 0;
            m_audioGuide->setVisible(!covered);
            m_overlayColumn->addView(m_audioGuide,
                                     {Qt::AlignLeft | Qt::AlignTop, {columnLeading, columnTop + pickerHeight, 0, 0}},
                                     LayerTransition::moveFromTopEdgeWithOpacity, animation);
        }
    } else if (!wanted && m_audioGuide) {
        m_overlayColumn->removeView(m_audioGuide, animation);
        m_audioGuide = nullptr;
    }
    coverOverlayColumn(covered);
    shareOverlayColumn();
}

void LumivaneViewerSheet::sayStationArrivedAt()
{
    const std::optional<QUuid> shown
        = m_face == RootFace::stations ? m_controller->state().currentStationID : std::nullopt;
    if (shown == m_saidStation)
        return;
    m_saidStation = shown;
    if (const std::optional<Station> station = shown ? m_controller->station(*shown) : std::nullopt)
        m_stationNotice->say(displayLine(station->localizedName(m_services.l10n->languageCode())));
}

void LumivaneViewerSheet::coverOverlayColumn(bool covered)
{
    for (QWidget *view : {m_languagePicker.data(), m_audioGuide.data()}) {
        if (view)
            view->setVisible(!covered);
    }
}

// The station view's controls keep clear of where the column stands, also
// while a sheet covers it, so that nothing moves as sheets come and go.
void LumivaneViewerSheet::shareOverlayColumn()
{
    StationStackView *stations = stationView();
    if (!stations)
        return;
    QRect column;
    for (QWidget *view : {m_languagePicker.data(), m_audioGuide.data()}) {
        if (view)
            column |= m_overlayColumn->restingGeometry(view);
    }
    stations->setOverlayColumn(column);
}

template<typename View>
View *LumivaneViewerSheet::shownView(ViewerLayer layer) const
{
    StationStackView *stations = stationView();
    if (!stations)
        return nullptr;
    OverlayLayer &overlay = stations->stack().layer(layer);
    for (QWidget *view : overlay.views()) {
        if (!overlay.isLeaving(view))
            return dynamic_cast<View *>(view);
    }
    return nullptr;
}

bool LumivaneViewerSheet::handleKey(const QKeyEvent &key)
{
    // The lightbox and the feedback card close their own way: the lightbox
    // stops its video at once, the card's rating view through its "later"
    // button. Its thanks view has none: the controller closes the card.
    if (key.key() == Qt::Key_Escape) {
        const EscapeAction action = m_controller->escapeAction();
        if (auto *lightbox = action == EscapeAction::closeLightbox ? shownView<LumivaneLightbox>(ViewerLayer::lightbox)
                                                                   : nullptr) {
            lightbox->close();
            return true;
        }
        auto *card = action == EscapeAction::closeFeedback ? shownView<VisitorFeedbackSheet>(ViewerLayer::feedback)
                                                           : nullptr;
        if (card && card->later())
            return true;
    }
    return m_controller->handleKeyPress(key.key(), key.modifiers(), key.text());
}

QList<QWidget *> LumivaneViewerSheet::focusRoots() const
{
    return {m_faceView, m_faceChrome, m_overlayColumn};
}

bool LumivaneViewerSheet::focusNextPrevChild(bool next)
{
    const QList<QWidget *> roots = focusRoots();
    QWidget *dialog = ViewerFocus::containingDialog(roots);
    return ViewerFocus::step(ViewerFocus::tabStops(dialog ? QList<QWidget *>{dialog} : roots), next);
}

void LumivaneViewerSheet::observeLanguage()
{
    m_language = m_services.l10n->current();
    connect(m_services.l10n, &L10n::currentChanged, this, [this](L10n::Language language) {
        // Choosing the language in use again changes nothing.
        if (language == m_language)
            return;
        m_language = language;
        if (!m_appeared)
            return;
        m_controller->interfaceLanguageChanged();
        renderOverlayColumn(ViewerAnimation::none());
    });
}

void LumivaneViewerSheet::observeNotifications()
{
    if (!m_services.notifications)
        return;
    connect(m_services.notifications, &ViewerNotifications::posted, this, [this](const QString &name) {
        if (name == lumivaneToggleImmersion)
            m_controller->toggleImmersiveMode();
        else if (name == lumivaneToggleVR)
            m_controller->toggleVRMode();
    });
}

void LumivaneViewerSheet::appear()
{
    m_appeared = true;
    qApp->installEventFilter(m_keyFilter);
    m_controller->handleViewerAppear();
}

void LumivaneViewerSheet::tearDown()
{
    m_appeared = false;
    qApp->removeEventFilter(m_keyFilter);
    m_controller->tearDownViewer();
}

void LumivaneViewerSheet::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window coming back from the dock is no new appearance.
    if (!event->spontaneous() && !m_appeared)
        appear();
}

void LumivaneViewerSheet::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous() && m_appeared)
        tearDown();
}

void LumivaneViewerSheet::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_faceView)
        m_faceView->setGeometry(rect());
    m_faceChrome->setGeometry(rect());
    m_overlayColumn->setGeometry(rect());
    shareOverlayColumn();
}

void LumivaneViewerSheet::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Qt::black);
}
