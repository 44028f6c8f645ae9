// The info card, its attachments and the keyboard of ViewerController.

#include "viewer/state/ViewerController.h"

#include "model/ExternalLinks.h"
#include "viewer/state/AttachmentFiles.h"
#include "viewer/state/ReadAloudText.h"
#include "viewer/state/ViewerEffects.h"

namespace {

constexpr ViewerAnimation lightboxOpening{AnimationCurve::easeIn, 0.15};

std::optional<LightboxContent::Kind> lightboxKind(AttachmentKind kind)
{
    switch (kind) {
    case AttachmentKind::pdf:
        return LightboxContent::Kind::pdf;
    case AttachmentKind::image:
        return LightboxContent::Kind::image;
    case AttachmentKind::video:
        return LightboxContent::Kind::video;
    default:
        return std::nullopt;
    }
}

} // namespace

void ViewerController::showInfoCard(const Hotspot &hotspot)
{
    change(ViewerAnimation::none(), [&] { m_state.selectedInfoHotspot = hotspot; });
}

void ViewerController::closeInfoCard()
{
    m_effects.stopSpeech();
    change({AnimationCurve::easeOut, 0.15}, [&] { m_state.selectedInfoHotspot.reset(); });
}

void ViewerController::toggleReadAloud(const Hotspot &hotspot)
{
    // Asks whether a text is really being read: after a text has ended by
    // itself the next press reads again instead of only clearing a flag.
    if (m_effects.isReadingAloud()) {
        m_effects.stopSpeech();
        return;
    }
    const QString code = visitorLanguageCode();
    m_effects.speak(readAloudText(hotspot, code), code);
}

void ViewerController::openAttachment(const HotspotAttachment &attachment)
{
    if (const std::optional<LightboxContent::Kind> kind = lightboxKind(attachment.kind)) {
        change(lightboxOpening, [&] { openAttachmentInLightbox(attachment, *kind); });
    } else if (attachment.kind == AttachmentKind::link) {
        if (const std::optional<QUrl> url = webLinkURL(attachment.payload))
            m_effects.openExternal(*url);
    } else if (attachment.kind == AttachmentKind::sound) {
        openSoundAttachment(attachment);
    }
}

void ViewerController::openAttachmentInLightbox(const HotspotAttachment &attachment, LightboxContent::Kind kind)
{
    // A file that may not be opened shows as a missing one: the lightbox
    // reports its failure.
    const QUrl url = attachmentFileURL(attachment.payload).value_or(QUrl());
    change(ViewerAnimation::none(), [&] { m_state.lightboxContent = LightboxContent{kind, url, attachment.title}; });
}

void ViewerController::openImageInLightboxAnimated(const QUrl &url, const HotspotAttachment &attachment)
{
    change(lightboxOpening, [&] {
        m_state.lightboxContent = LightboxContent{LightboxContent::Kind::image, url, attachment.title};
    });
}

void ViewerController::openSoundAttachment(const HotspotAttachment &attachment)
{
    const std::optional<QUrl> url = attachmentFileURL(attachment.payload);
    if (url && AttachmentFiles::isSoundFile(*url))
        m_effects.openExternal(*url);
}

// Keys

void ViewerController::runShortcut(ViewerShortcut shortcut)
{
    switch (shortcut) {
    case ViewerShortcut::navigateBack:
        return navigateBack();
    case ViewerShortcut::navigateForward:
        return navigateForward();
    case ViewerShortcut::goHome:
        return goHome();
    case ViewerShortcut::togglePropertyInfo:
        return togglePropertyInfo();
    case ViewerShortcut::toggleKiosk:
        return toggleKiosk();
    case ViewerShortcut::zoomIn:
        return zoomIn();
    case ViewerShortcut::zoomOut:
        return zoomOut();
    case ViewerShortcut::levelHorizon:
        return levelHorizon();
    case ViewerShortcut::showTableOfContents:
        return setShowTableOfContents(true);
    case ViewerShortcut::showKeyboardHelp:
        return setShowKeyboardHelp(true);
    }
}

void ViewerController::runEscape()
{
    switch (escapeAction()) {
    case EscapeAction::closeLightbox:
        return closeLightbox();
    case EscapeAction::closeFeedback:
        return setShowFeedback(false);
    case EscapeAction::closeContactForm:
        return setContactFormVisible(false);
    case EscapeAction::closePropertyInfo:
        return closePropertyInfo();
    case EscapeAction::closeKeyboardHelp:
        return setShowKeyboardHelp(false);
    case EscapeAction::closeTableOfContents:
        return setShowTableOfContents(false);
    case EscapeAction::closeInfoCard:
        return closeInfoCard();
    case EscapeAction::closeViewer:
        return closeViewer();
    case EscapeAction::none:
        return;
    }
}

bool ViewerController::handleKeyPress(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    if (key == Qt::Key_Escape) {
        const bool used = escapeAction() != EscapeAction::none;
        runEscape();
        return used;
    }
    // The shortcut keys belong to the station view only.
    if (rootFace() != RootFace::stations)
        return false;
    const std::optional<ViewerShortcut> shortcut = shortcutFor(key, modifiers, text, project());
    if (shortcut)
        runShortcut(*shortcut);
    return shortcut.has_value();
}
