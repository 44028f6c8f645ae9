#include "LightboxImageView.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "model/SystemFont.h"

#include <QFutureWatcher>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

namespace {

constexpr int imagePadding = 16;
const QColor failureColor(255, 255, 255, 140);
// A resize settles before the image is decoded again for the new size.
constexpr int resizeSettleMs = 120;

} // namespace

LightboxImageView::LightboxImageView(QUrl url, L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_url(std::move(url))
    , m_l10n(&l10n)
{
    setContentsMargins(imagePadding, imagePadding, imagePadding, imagePadding);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_resizeSettle.setSingleShot(true);
    m_resizeSettle.setInterval(resizeSettleMs);
    connect(&m_resizeSettle, &QTimer::timeout, this, [this] {
        if (needsMoreDetail())
            startDecode();
    });
    connect(&l10n, &L10n::currentChanged, this, [this] {
        if (m_state == State::failed)
            update();
    });
}

QSize LightboxImageView::deviceBox() const
{
    return contentsRect().size() * devicePixelRatioF();
}

// More pixels are worth decoding only when the area shows more than was
// decoded and the file holds more than that.
bool LightboxImageView::needsMoreDetail() const
{
    if (m_state == State::failed || m_decoding || deviceBox().isEmpty())
        return false;
    if (m_image.isNull())
        return true;
    const QSize wanted = m_sourceSize.scaled(deviceBox(), Qt::KeepAspectRatio).boundedTo(m_sourceSize);
    return wanted.width() > m_image.width() + 1 || wanted.height() > m_image.height() + 1;
}

void LightboxImageView::startDecode()
{
    const quint64 generation = ++m_generation;
    m_decoding = true;
    auto *watcher = new QFutureWatcher<LightboxDecodedImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        applyDecoded(generation, watcher->result());
    });
    watcher->setFuture(
        QtConcurrent::run(LumivaneImageCache::pool(), decodeLightboxImage, m_url.toLocalFile(), deviceBox()));
}

void LightboxImageView::applyDecoded(quint64 generation, LightboxDecodedImage decoded)
{
    if (generation != m_generation)
        return;
    m_decoding = false;
    if (decoded.image.isNull()) {
        // A later, larger decode that fails keeps the smaller image it has.
        if (m_image.isNull())
            m_state = State::failed;
    } else {
        m_image = std::move(decoded.image);
        m_sourceSize = decoded.sourceSize;
        m_scaled = QPixmap();
        m_state = State::shown;
    }
    update();
    // The area may have grown while this decode ran.
    if (needsMoreDetail())
        m_resizeSettle.start();
}

QRect LightboxImageView::imageRect() const
{
    if (m_image.isNull())
        return {};
    const QRect area = contentsRect();
    const QSize fitted = m_image.size().scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.topLeft() + QPoint((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2),
                 fitted);
}

void LightboxImageView::resizeEvent(QResizeEvent *)
{
    // Not laid out yet: a decode for no area would give no image and be
    // taken for a failure; the resize that gives the view its area decodes.
    if (deviceBox().isEmpty())
        return;
    if (m_image.isNull() && !m_decoding && m_state == State::loading)
        startDecode();
    else if (needsMoreDetail())
        m_resizeSettle.start();
}

void LightboxImageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_state == State::failed) {
        painter.setFont(systemFont(13));
        painter.setPen(failureColor);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_l10n->text(L10n::Key::attachmentLoadFailed));
        return;
    }
    const QRect target = imageRect();
    if (target.isEmpty())
        return;
    const QSize deviceSize = target.size() * devicePixelRatioF();
    if (m_scaled.size() != deviceSize) {
        m_scaled = QPixmap::fromImage(
            m_image.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_scaled.setDevicePixelRatio(devicePixelRatioF());
    }
    painter.drawPixmap(target.topLeft(), m_scaled);
}
