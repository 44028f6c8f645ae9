#include "ClassicPhotoLayer.h"

#include "AsyncCachedImageLoader.h"
#include "MediaClock.h"

#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace {

QRectF aspectFit(QSizeF content, const QRectF &frame)
{
    const QSizeF fitted = content.scaled(frame.size(), Qt::KeepAspectRatio);
    return QRectF(frame.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
}

} // namespace

ClassicPhotoLayer::ClassicPhotoLayer(const QUuid &stationID, bool kenBurns, std::shared_ptr<LumivaneImageCache> cache,
                                     QSize bound, const MediaClock &clock)
    : m_stationID(stationID)
    , m_kenBurns(kenBurns)
    , m_clock(&clock)
    , m_loader(std::make_unique<AsyncCachedImageLoader>(std::move(cache), bound))
{
    m_loader->onImageChanged = [this](const QImage &image) { showImage(image); };
    if (m_kenBurns)
        m_loader->onImageLoaded = [this](const QImage &) { startKenBurns(); };
}

ClassicPhotoLayer::~ClassicPhotoLayer() = default;

void ClassicPhotoLayer::setUrl(const std::optional<QUrl> &url)
{
    m_loader->setUrl(url);
}

void ClassicPhotoLayer::enter(Transition transition, double start, double duration)
{
    m_entering = Phase{transition, start, duration};
}

void ClassicPhotoLayer::leave(Transition transition, double start, double duration)
{
    m_leaving = Phase{transition, start, duration};
}

bool ClassicPhotoLayer::hasLeft(double now) const
{
    return m_leaving && progress(m_leaving, now) >= 1.0;
}

bool ClassicPhotoLayer::isAnimating(double now) const
{
    const bool moving = m_motionStart && !m_reduceMotion && now - *m_motionStart < KenBurnsMotion::duration;
    return moving || (m_entering && progress(m_entering, now) < 1.0) || (m_leaving && !hasLeft(now));
}

std::optional<KenBurnsFrame> ClassicPhotoLayer::kenBurnsFrame(double now) const
{
    if (!m_kenBurns)
        return std::nullopt;
    if (!m_motionStart || m_reduceMotion)
        return KenBurnsFrame{};
    return KenBurnsMotion::frameAt(now - *m_motionStart, KenBurnsMotion::drift(m_stationID));
}

double ClassicPhotoLayer::progress(const std::optional<Phase> &phase, double now)
{
    if (!phase)
        return 1.0;
    if (phase->duration <= 0)
        return now >= phase->start ? 1.0 : 0.0;
    return KenBurnsMotion::easeInOut((now - phase->start) / phase->duration);
}

void ClassicPhotoLayer::showImage(const QImage &image)
{
    m_image = image;
    m_pixmap = QPixmap();
    m_pixmapTarget = QSize();
    if (onChanged)
        onChanged();
}

void ClassicPhotoLayer::startKenBurns()
{
    // Read when the motion starts, like the system setting it stands for.
    m_reduceMotion = KenBurnsMotion::reduceMotionSetting();
    m_motionStart = m_clock->now();
    if (onChanged)
        onChanged();
}

const QPixmap &ClassicPhotoLayer::pixmapFor(QSizeF fittedSize, double devicePixelRatio)
{
    // Scaled once for the largest size the motion reaches; each frame then
    // only draws it a little smaller.
    const double largest = m_kenBurns ? KenBurnsMotion::targetScale : 1.0;
    const QSize target(int(std::ceil(fittedSize.width() * largest * devicePixelRatio)),
                       int(std::ceil(fittedSize.height() * largest * devicePixelRatio)));
    if (target != m_pixmapTarget) {
        m_pixmapTarget = target;
        const bool shrink = target.width() < m_image.width() && target.height() < m_image.height();
        m_pixmap = QPixmap::fromImage(
            shrink ? m_image.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation) : m_image);
    }
    return m_pixmap;
}

void ClassicPhotoLayer::paint(QPainter &painter, const QRectF &frame, double now, bool rightToLeft)
{
    double opacity = 1.0;
    double shiftX = 0.0;
    if (m_leaving) {
        const double done = progress(m_leaving, now);
        opacity = 1.0 - done;
        if (m_leaving->transition == Transition::slide)
            shiftX = -done * frame.width(); // out toward the leading edge
    } else if (m_entering) {
        const double done = progress(m_entering, now);
        opacity = done;
        if (m_entering->transition == Transition::slide)
            shiftX = (1.0 - done) * frame.width(); // in from the trailing edge
    }
    if (rightToLeft)
        shiftX = -shiftX;
    if (opacity <= 0.0)
        return;

    const QRectF shown = frame.translated(shiftX, 0);
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    painter.setClipRect(shown, Qt::IntersectClip);
    if (m_image.isNull()) {
        painter.fillRect(shown, Qt::black);
    } else {
        const KenBurnsFrame motion = kenBurnsFrame(now).value_or(KenBurnsFrame{});
        const QRectF fitted = aspectFit(m_image.size(), shown);
        const QPointF centre = shown.center();
        const QRectF target(centre + (fitted.topLeft() - centre) * motion.scale + QPointF(motion.offsetX, motion.offsetY),
                            fitted.size() * motion.scale);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QPixmap &pixmap = pixmapFor(fitted.size(), painter.device()->devicePixelRatioF());
        painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
    }
    painter.restore();
}
