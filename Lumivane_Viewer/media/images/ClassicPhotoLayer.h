#pragma once

#include "KenBurnsMotion.h"

#include <QImage>
#include <QPixmap>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class AsyncCachedImageLoader;
class LumivaneImageCache;
class MediaClock;
class QPainter;
class QRectF;

/// One station's photo inside the classic slideshow: its image through an
/// AsyncCachedImageLoader, a pre-scaled pixmap to paint, the optional Ken
/// Burns motion and its entering or leaving transition. Times are seconds of
/// the slideshow's clock. GUI thread only.
class ClassicPhotoLayer final
{
public:
    enum class Transition { fade, slide };

    /// The clock belongs to the slideshow and outlives its layers. `bound`:
    /// the most pixels the photo is shown at.
    ClassicPhotoLayer(const QUuid &stationID, bool kenBurns, std::shared_ptr<LumivaneImageCache> cache,
                      QSize bound, const MediaClock &clock);
    ~ClassicPhotoLayer();

    QUuid stationID() const { return m_stationID; }
    bool isKenBurns() const { return m_kenBurns; }
    void setUrl(const std::optional<QUrl> &url);
    QImage image() const { return m_image; }

    /// Called when the layer needs painting again (its image came or went).
    std::function<void()> onChanged;

    void enter(Transition transition, double start, double duration);
    void leave(Transition transition, double start, double duration);
    bool hasLeft(double now) const;
    bool isAnimating(double now) const;

    /// The motion at now; none for a still photo. Before the image arrives,
    /// and with reduced motion, the still frame.
    std::optional<KenBurnsFrame> kenBurnsFrame(double now) const;

    void paint(QPainter &painter, const QRectF &frame, double now, bool rightToLeft);

private:
    struct Phase
    {
        Transition transition = Transition::fade;
        double start = 0;
        double duration = 0;
    };

    static double progress(const std::optional<Phase> &phase, double now);
    void showImage(const QImage &image);
    void startKenBurns();
    const QPixmap &pixmapFor(QSizeF fittedSize, double devicePixelRatio);

    const QUuid m_stationID;
    const bool m_kenBurns;
    const MediaClock *const m_clock;
    std::unique_ptr<AsyncCachedImageLoader> m_loader;
    QImage m_image;
    QPixmap m_pixmap; // m_image scaled once per frame size, never per paint
    QSize m_pixmapTarget;
    std::optional<double> m_motionStart;
    bool m_reduceMotion = false;
    std::optional<Phase> m_entering;
    std::optional<Phase> m_leaving;
};
