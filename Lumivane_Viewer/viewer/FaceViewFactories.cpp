// The view factories of the tour's faces and what lies over every face:
// gate, cover, contact form, language picker and audio guide.

#include "viewer/ViewFactories.h"

#include "l10n/L10n.h"
#include "navigation/VisitorLanguagePicker.h"
#include "panels/contact/LumivaneContactFormView.h"
#include "panels/cover/LumivaneCoverView.h"
#include "panels/gate/LumivanePasswordGate.h"
#include "viewer/chrome/AudioGuideButton.h"
#include "viewer/chrome/ChromeBindings.h"
#include "viewer/state/ViewerController.h"

#include <QNetworkAccessManager>

namespace ViewFactories {

QWidget *passwordGate(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *gate = new LumivanePasswordGate(controller.project().tourPassword.value_or(QString()),
                                          *context.services.l10n, parent);
    gate->onUnlock = [&controller] { controller.unlockTour(); };
    return gate;
}

QWidget *cover(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    LumivaneCoverView::Inputs inputs;
    inputs.project = controller.project();
    if (const std::optional<Station> start = controller.startStation())
        inputs.coverPhotoURL = controller.tour().photoURLResolver(start->id);
    inputs.onLaunchTour = [&controller] { controller.startTour(); };
    if (controller.project().contactFormEnabled)
        inputs.onOpenContact = [&controller] { controller.setContactFormVisible(true); };
    const CoverServices services{*context.services.l10n, context.services.imageCache,
                                 context.services.openExternal};
    return new LumivaneCoverView(std::move(inputs), services, parent);
}

QWidget *contactForm(const ViewFactoryContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    ContactFormServices services;
    services.openExternal = context.services.openExternal;
    // The viewer's own: a message on its way is delivered after the form closed.
    services.network = &context.network;
    auto *form = new LumivaneContactFormView(controller.project(), *context.services.l10n, services, parent);
    form->onClose = [&controller] { controller.setContactFormVisible(false); };
    return form;
}

QWidget *languagePicker(const ViewFactoryContext &context, QWidget *parent)
{
    auto *picker = new VisitorLanguagePicker(*context.services.l10n, parent);
    picker->setObjectName("languagePicker");
    return picker;
}

QWidget *audioGuideButton(const ViewFactoryContext &context, QWidget *parent)
{
    if (!context.services.narration)
        return nullptr;
    auto *button = new AudioGuideButton(parent);
    button->setObjectName("audioGuideButton");
    bindAudioGuideButton(*button, context.controller, *context.services.narration);
    return button;
}

} // namespace ViewFactories
