// The places of ViewerSlots over the tour's faces: gate, cover, contact
// form, language picker and audio guide.

#include "viewer/ViewerSlots.h"

#include "l10n/L10n.h"
#include "media/sound/LumivaneAudioService.h"
#include "media/symbols/CapsuleButton.h"
#include "model/Palette.h"
#include "viewer/ViewerStandIns.h"
#include "viewer/state/ViewerController.h"

namespace ViewerSlots {

QWidget *passwordGate(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *gate = new StandInFace(controller.project().name, context.services.language->text(L10n::Key::pwGateUnlock),
                                 controller.project().tourPassword.value_or(QString()), parent);
    gate->setObjectName("passwordGate");
    gate->onProceed = [&controller] { controller.unlockTour(); };
    return gate;
}

QWidget *cover(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    L10n &language = *context.services.language;
    auto *cover = new StandInFace(controller.project().name, language.text(L10n::Key::coverStartTour), std::nullopt,
                                  parent);
    cover->setObjectName("cover");
    cover->onProceed = [&controller] { controller.startTour(); };
    if (controller.project().contactFormEnabled) {
        cover->addSecondaryButton(language.text(L10n::Key::contactUs),
                                  [&controller] { controller.setContactFormVisible(true); });
    }
    return cover;
}

QWidget *contactForm(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *form = new StandInCard(context.services.language->text(L10n::Key::contactUs), true, parent);
    form->setObjectName("contactForm");
    form->onClose = [&controller] { controller.setContactFormVisible(false); };
    return form;
}

QWidget *languagePicker(const ViewerSlotContext &context, QWidget *parent)
{
    L10n *language = context.services.language;
    CapsuleButtonLook look;
    look.background = QColor::fromRgbF(0, 0, 0, 0.55f);
    auto *picker = new CapsuleButton(look, L10n::code(language->current()).toUpper(), parent);
    picker->setObjectName("languagePicker");
    QObject::connect(picker, &QAbstractButton::clicked, language, [language] {
        const QList<L10n::Language> all = L10n::allLanguages();
        language->setCurrent(all[(all.indexOf(language->current()) + 1) % all.size()]);
    });
    QObject::connect(language, &L10n::currentChanged, picker,
                     [picker](L10n::Language current) { picker->setText(L10n::code(current).toUpper()); });
    return picker;
}

QWidget *audioGuideButton(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    LumivaneAudioService *narration = context.services.narration;
    auto lookFor = [](bool playing) {
        CapsuleButtonLook look;
        look.symbol = playing ? QStringLiteral("pause.fill") : QStringLiteral("play.fill");
        look.symbolPoints = 11;
        look.font = systemFont(12, QFont::DemiBold);
        look.foreground = colorFromHex(u"#E8DCC4");
        look.spacing = 8;
        look.horizontalPadding = 12;
        look.verticalPadding = 8;
        look.background = QColor::fromRgbF(0, 0, 0, 0.65f);
        QColor gold = paletteGold();
        gold.setAlphaF(playing ? 1.0f : 0.35f);
        look.outline = CapsuleOutline{gold, 1};
        return look;
    };
    const bool playing = narration && narration->isPlaying();
    auto *button = new CapsuleButton(lookFor(playing), QStringLiteral("Audio-guide"), parent);
    button->setObjectName("audioGuideButton");
    QObject::connect(button, &QAbstractButton::clicked, &controller, [&controller] {
        if (const auto id = controller.state().currentStationID)
            controller.toggleStationNarration(*id);
    });
    if (narration) {
        QObject::connect(narration, &LumivaneAudioService::isPlayingChanged, button,
                         [button, lookFor](bool nowPlaying) { button->setLook(lookFor(nowPlaying)); });
    }
    return button;
}

} // namespace ViewerSlots
