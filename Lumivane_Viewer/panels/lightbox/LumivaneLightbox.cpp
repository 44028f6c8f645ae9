#include "LumivaneLightbox.h"

#include "LightboxHeader.h"
#include "LightboxImageView.h"
#include "LightboxPdfView.h"
#include "LightboxVideoPlayer.h"

#include "l10n/L10n.h"

#include <QPdfView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int outerMargin = 40;
constexpr int cardPadding = 24;
constexpr QSize stackLimit(1100, 800);
const QColor dividerColor(255, 255, 255, 51);
const ModalFrameLook cardLook{QColor(0, 0, 0, 224), QColor::fromRgbF(0.08f, 0.08f, 0.08f), 14,
                              DropShadow{QColor(0, 0, 0, 128), 30, QPointF(0, 12)}};

QWidget *divider(QWidget *parent)
{
    auto *line = new QWidget(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, dividerColor);
    line->setPalette(palette);
    return line;
}

} // namespace

LumivaneLightbox::LumivaneLightbox(const LightboxContent &content, L10n &l10n, QWidget *parent)
    : ModalFrame(cardLook, DialogFocus::contained, parent)
    , m_content(content)
    , m_l10n(&l10n)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    panelColumn()->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
    m_header = new LightboxHeader(panel());
    m_header->onClose = [this] { close(); };
    panelColumn()->addWidget(m_header);
    panelColumn()->addWidget(divider(panel()));
    showMedia();
    retranslate();
    connect(&l10n, &L10n::currentChanged, this, &LumivaneLightbox::retranslate);
}

void LumivaneLightbox::setContent(const LightboxContent &content)
{
    const bool sameMedia = content.id() == m_content.id();
    const bool samePdfView = content.kind == LightboxContent::Kind::pdf
        && m_content.kind == LightboxContent::Kind::pdf;
    m_content = content;
    if (samePdfView && !sameMedia)
        static_cast<LightboxPdfView *>(m_media.data())->setUrl(content.url);
    else if (!sameMedia)
        showMedia();
    retranslate();
}

void LumivaneLightbox::showMedia()
{
    if (m_media) {
        // Hidden at once, a player stops before the widget goes.
        m_media->hide();
        panelColumn()->removeWidget(m_media);
        m_media->deleteLater();
    }
    switch (m_content.kind) {
    case LightboxContent::Kind::image:
        m_media = new LightboxImageView(m_content.url, *m_l10n, panel());
        break;
    case LightboxContent::Kind::pdf:
        m_media = new LightboxPdfView(m_content.url, panel());
        break;
    case LightboxContent::Kind::video:
        m_media = new LightboxVideoPlayer(m_content.url, *m_l10n, panel());
        break;
    }
    panelColumn()->addWidget(m_media, 1);
}

void LumivaneLightbox::retranslate()
{
    m_header->setTitle(m_content.title.isEmpty() ? m_l10n->text(L10n::Key::lightboxDefaultTitle) : m_content.title);
    m_header->setCloseLabel(m_l10n->text(L10n::Key::close));
    // The header paints its title: the dialog carries it by name, and so do
    // a document's pages, which the keyboard reaches.
    setAccessibleName(m_header->title());
    if (auto *pdf = dynamic_cast<LightboxPdfView *>(m_media.data()))
        pdf->pdfView()->setAccessibleName(m_header->title());
}

void LumivaneLightbox::stopPlayback()
{
    if (auto *video = dynamic_cast<LightboxVideoPlayer *>(m_media.data()))
        video->release();
}

void LumivaneLightbox::close()
{
    requestClose();
}

void LumivaneLightbox::requestClose()
{
    stopPlayback();
    ModalFrame::requestClose();
}

QRect LumivaneLightbox::cardRect(QSize view)
{
    const QSize largest = stackLimit + QSize(2 * cardPadding, 2 * cardPadding);
    const QSize available = (view - QSize(2 * outerMargin, 2 * outerMargin)).expandedTo(QSize(0, 0));
    const QSize size = available.boundedTo(largest);
    return QRect(QPoint((view.width() - size.width()) / 2, (view.height() - size.height()) / 2), size);
}

QRect LumivaneLightbox::panelRect(const QSize &frame) const
{
    return cardRect(frame);
}
