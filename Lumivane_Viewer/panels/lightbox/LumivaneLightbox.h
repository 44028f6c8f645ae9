#pragma once

#include "model/LightboxContent.h"
#include "widgets/ModalFrame.h"

#include <QPointer>

#include <functional>

class L10n;
class LightboxHeader;

/// The lightbox: one image, PDF or video attachment in a large card centred
/// over a dark backdrop that covers the whole view. It shows what it is given
/// and never closes itself: a click on the backdrop, the close button and
/// close() (which the owner's Escape handling calls) stop any playback at once
/// and report through onClose. Fills whatever it is given; the card keeps 40
/// px from the edges and at most 1148 by 848 px.
class LumivaneLightbox final : public ModalFrame
{
public:
    LumivaneLightbox(const LightboxContent &content, L10n &l10n, QWidget *parent = nullptr);

    /// Shows new content. The media are replaced only when the content's id
    /// changes (a PDF's document only when its URL changes); the title
    /// always follows.
    void setContent(const LightboxContent &content);
    const LightboxContent &content() const { return m_content; }

    /// The visitor asks to close (the Escape key): stops playback, then onClose.
    void close();

    /// The card's rectangle in a view of the given size.
    static QRect cardRect(QSize view);
    /// The widget showing the media: a LightboxImageView, LightboxPdfView or
    /// LightboxVideoPlayer, by the content's kind.
    QWidget *mediaView() const { return m_media; }
    LightboxHeader *header() const { return m_header; }

protected:
    QRect panelRect(const QSize &frame) const override;
    void requestClose() override;

private:
    void showMedia();
    void stopPlayback();
    void retranslate();

    LightboxContent m_content;
    QPointer<L10n> m_l10n;
    LightboxHeader *m_header = nullptr;
    QPointer<QWidget> m_media;
};
