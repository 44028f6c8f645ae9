// The view factories of the station view's places.

#include "viewer/ViewFactories.h"

#include "l10n/L10n.h"
#include "model/DisplayText.h"
#include "navigation/KeyboardCheatsheetSheet.h"
#include "navigation/MiniFloorplanOverlay.h"
#include "navigation/StationThumbBar.h"
#include "navigation/TableOfContentsSheet.h"
#include "panels/feedback/VisitorFeedbackSheet.h"
#include "panels/info/LumivaneInfoPanelView.h"
#include "panels/lightbox/LumivaneLightbox.h"
#include "viewer/chrome/ChromeBindings.h"
#include "viewer/chrome/ClassicCaptionBand.h"
#include "viewer/chrome/ClassicInfoMarker.h"
#include "viewer/chrome/ControlBar.h"
#include "viewer/chrome/FollowState.h"
#include "viewer/chrome/HeaderBar.h"
#include "viewer/chrome/HotspotInfoCard.h"
#include "viewer/chrome/ImmersiveExitButton.h"
#include "viewer/chrome/KioskHeader.h"
#include "viewer/chrome/SplashView.h"
#include "viewer/chrome/WatermarkView.h"
#include "viewer/state/ViewerController.h"

namespace ViewFactories {

QWidget *header(const ViewFactoryContext &context, QWidget *parent)
{
    auto *bar = new HeaderBar(*context.services.l10n, parent);
    bindHeaderBar(*bar, context.controller);
    return bar;
}

QWidget *controlBar(const ViewFactoryContext &context, QWidget *parent)
{
    auto *bar = new ControlBar(*context.services.l10n, parent);
    bindControlBar(*bar, context.controller, context.ambient);
    return bar;
}

QWidget *immersiveExit(const ViewFactoryContext &context, QWidget *parent)
{
    auto *button = new ImmersiveExitButton(*context.services.l10n, parent);
    bindImmersiveExitButton(*button, context.controller);
    return button;
}

QWidget *kioskHeader(const ViewFactoryContext &context, QWidget *parent)
{
    auto *header = new KioskHeader(*context.services.l10n, parent);
    bindKioskHeader(*header, context.controller);
    return header;
}

QWidget *infoCard(const ViewFactoryContext &context, QWidget *parent)
{
    auto *card = new HotspotInfoCard(*context.services.l10n, parent);
    bindHotspotInfoCard(*card, context.controller);
    return card;
}

QWidget *propertyInfo(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *panel = new LumivaneInfoPanelView(controller.project(), *context.services.l10n, parent);
    panel->onClose = [&controller] { controller.closePropertyInfo(); };
    return panel;
}

QWidget *floorPlan(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *plan = new MiniFloorplanOverlay(controller.project(), controller.currentStation(), context.accent,
                                          *context.services.l10n, parent);
    plan->onSelectStation = [&controller](const QUuid &id) { controller.goToStation(id); };
    followState(*plan, controller, [&controller, plan] { plan->setCurrentStation(controller.currentStation()); });
    return plan;
}

QWidget *thumbStrip(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *strip = new StationThumbBar(controller.orderedStations(), controller.state().currentStationID,
                                      controller.tour().photoURLResolver, controller.stationNumberMap(),
                                      context.accent, *context.services.l10n, context.services.imageCache,
                                      parent);
    strip->onSelect = [&controller](const QUuid &id) { controller.goToStation(id); };
    followState(*strip, controller,
                [&controller, strip] { strip->setCurrentStationID(controller.state().currentStationID); });
    return strip;
}

QWidget *splash(const ViewFactoryContext &context, QWidget *parent)
{
    auto *splash = new SplashView(*context.services.l10n, parent);
    bindSplashView(*splash, context.controller);
    return splash;
}

QWidget *lightbox(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *lightbox = new LumivaneLightbox(controller.state().lightboxContent.value_or(LightboxContent{}),
                                          *context.services.l10n, parent);
    lightbox->onClose = [&controller] { controller.closeLightbox(); };
    followState(*lightbox, controller, [&controller, lightbox] {
        if (const std::optional<LightboxContent> &content = controller.state().lightboxContent)
            lightbox->setContent(*content);
    });
    return lightbox;
}

QWidget *feedback(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *card = new VisitorFeedbackSheet(controller.project().name, controller.feedbackRecipient().value_or(QString()),
                                          *context.services.l10n, context.services.openExternal, parent);
    card->onClose = [&controller] { controller.setShowFeedback(false); };
    return card;
}

QWidget *keyboardHelp(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    const LumivaneProject &project = controller.project();
    auto *help = new KeyboardCheatsheetSheet(project.renderMode == RenderMode::classic, project.kioskEnabled,
                                             isShortcutAvailable(ViewerShortcut::showTableOfContents, project),
                                             *context.services.l10n, parent);
    help->onClose = [&controller] { controller.setShowKeyboardHelp(false); };
    return help;
}

QWidget *tableOfContents(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *sheet = new TableOfContentsSheet(controller.project(), controller.tour().photoURLResolver,
                                           controller.state().currentStationID, context.accent,
                                           *context.services.l10n, context.services.imageCache, parent);
    sheet->onSelect = [&controller](const QUuid &id) { controller.chooseInTableOfContents(id); };
    sheet->onClose = [&controller] { controller.setShowTableOfContents(false); };
    return sheet;
}

QWidget *watermark(const ViewFactoryContext &context, QWidget *parent)
{
    auto *mark = new WatermarkView(parent);
    bindWatermarkView(*mark, context.controller);
    return mark;
}

QWidget *captionBand(const ViewFactoryContext &context, QWidget *parent)
{
    auto *band = new ClassicCaptionBand(*context.services.l10n, parent);
    bindClassicCaptionBand(*band, context.controller);
    return band;
}

ClassicInfoMarker *classicMarker(const ViewFactoryContext &context, const Hotspot &hotspot, QWidget *parent)
{
    auto *marker = new ClassicInfoMarker(parent);
    bindClassicInfoMarker(*marker, context.controller, hotspot);
    // Named as the card it opens is titled.
    L10n &l10n = *context.services.l10n;
    const auto name = [marker, &l10n, hotspot] {
        const std::optional<QString> title = hotspot.localizedInfoTitle(l10n.languageCode());
        marker->setAccessibleName(title ? displayLine(*title) : l10n.text(L10n::Key::viewerInfoDefaultTitle));
    };
    name();
    QObject::connect(&l10n, &L10n::currentChanged, marker, name);
    return marker;
}

} // namespace ViewFactories
