#include "ClassicCoverBackground.h"

#include "CoverBlur.h"

#include "media/images/LumivaneImageCache.h"

#include <QFutureWatcher>
#include <QPaintEvent>
#include <QPainter>
#include <QtConcurrent/qtconcurrenttask.h>

namespace {

// A window being dragged to a new size gets its new blur once it rests.
constexpr int kResizePauseMs = 120;

} // namespace

ClassicCoverBackground::ClassicCoverBackground(QUrl url, std::shared_ptr<LumivaneImageCache> cache, QWidget *parent)
    : QWidget(parent)
    , m_url(std::move(url))
    , m_cache(std::move(cache))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_resizePause.setSingleShot(true);
    m_resizePause.setInterval(kResizePauseMs);
    connect(&m_resizePause, &QTimer::timeout, this, &ClassicCoverBackground::startBlur);
}

void ClassicCoverBackground::resizeEvent(QResizeEvent *)
{
    if (size().isEmpty())
        return;
    if (size() == m_blurredFor || size() == m_pendingFor) {
        m_resizePause.stop();
        if (size() == m_blurredFor) {
            ++m_generation; // back to the size at hand: a blur on its way is no longer wanted
            m_pendingFor = QSize();
        }
        return;
    }
    // The first blur starts at once; later ones wait for the size to settle.
    if (m_blurred.isNull() && m_pendingFor.isEmpty())
        startBlur();
    else
        m_resizePause.start();
}

void ClassicCoverBackground::startBlur()
{
    const quint64 generation = ++m_generation;
    m_pendingFor = size();
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        // A later size has asked for its own blur meanwhile.
        if (generation != m_generation)
            return;
        m_blurredFor = m_pendingFor;
        m_pendingFor = QSize();
        const QImage blurred = watcher->result();
        if (!blurred.isNull()) {
            m_blurred = blurred;
            update();
        }
    });
    // The photo at the size the viewer's preloading keeps it, which is plenty
    // for a blur this wide and decodes several times faster than the whole
    // photo: from the thumbnail store, or decoded now and kept there.
    watcher->setFuture(QtConcurrent::task([cache = m_cache, url = m_url, size = QSizeF(size())] {
                           const QImage photo = cache->lowResImage(url, LumivaneImageCache::prefetchThumbnailSize);
                           return blurredCoverImage(photo, size, blurRadius);
                       })
                           .onThreadPool(*LumivaneImageCache::pool())
                           .withPriority(LumivaneImageCache::userInitiatedPriority)
                           .spawn());
}

void ClassicCoverBackground::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (m_blurred.isNull())
        return;
    // Magnified once per size, so a repaint (the page scrolling over it) is a copy.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_magnified.size() != pixels || m_magnified.devicePixelRatio() != ratio || m_magnifiedFrom != m_blurred.cacheKey()) {
        m_magnified = QPixmap::fromImage(m_blurred.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_magnified.setDevicePixelRatio(ratio);
        m_magnifiedFrom = m_blurred.cacheKey();
    }
    painter.drawPixmap(event->rect(), m_magnified, QRectF(QRectF(event->rect()).topLeft() * ratio, QSizeF(event->rect().size()) * ratio));
}
