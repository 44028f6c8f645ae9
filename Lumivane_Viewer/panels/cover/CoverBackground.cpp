#include "CoverBackground.h"

#include "ClassicCoverBackground.h"

#include "media/panorama/Panorama360ViewerView.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

/// Black 0.55 at the top to black 0.85 at the bottom, over the whole view.
class CoverGradient final : public QWidget
{
public:
    explicit CoverGradient(QWidget *parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0, QColor(0, 0, 0, qRound(0.55 * 255)));
        gradient.setColorAt(1, QColor(0, 0, 0, qRound(0.85 * 255)));
        QPainter(this).fillRect(rect(), gradient);
    }
};

Panorama360ViewerView::Inputs coverPanoramaInputs(const QUrl &photo)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = photo;
    inputs.autoRotate = true;
    inputs.autoRotateDurationSeconds = CoverBackground::rotationSeconds;
    inputs.fov = 75;
    inputs.hotspotStyle = HotspotStyle::classic;
    inputs.showHotspotLabels = true;
    inputs.interactive = false;
    return inputs;
}

} // namespace

CoverBackground::CoverBackground(RenderMode renderMode, std::optional<QUrl> photo,
                                 std::shared_ptr<LumivaneImageCache> cache, QWidget *parent)
    : QWidget(parent)
    , m_cache(std::move(cache))
    , m_gradient(new CoverGradient(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setPhoto(renderMode, std::move(photo));
}

Panorama360ViewerView *CoverBackground::panorama() const
{
    return m_panorama;
}

ClassicCoverBackground *CoverBackground::classic() const
{
    return m_classic;
}

void CoverBackground::setPhoto(RenderMode renderMode, std::optional<QUrl> photo)
{
    if (!photo || photo->isEmpty())
        removePhotoLayer();
    else if (renderMode == RenderMode::classic)
        showClassic(*photo);
    else
        showPanorama(*photo);
    m_gradient->raise();
}

void CoverBackground::showPanorama(const QUrl &photo)
{
    if (m_panorama) {
        m_panorama->setInputs(coverPanoramaInputs(photo));
        return;
    }
    removePhotoLayer();
    m_panorama = new Panorama360ViewerView(coverPanoramaInputs(photo), m_cache, this);
    // Pointer input passes through to the page over the panorama.
    m_panorama->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_panorama->setGeometry(rect());
    m_panorama->show();
}

void CoverBackground::showClassic(const QUrl &photo)
{
    if (m_classic && m_classic->url() == photo)
        return;
    removePhotoLayer();
    m_classic = new ClassicCoverBackground(photo, m_cache, this);
    m_classic->setGeometry(rect());
    m_classic->show();
}

void CoverBackground::removePhotoLayer()
{
    for (QWidget *layer : layers()) {
        if (layer != m_gradient) {
            layer->hide();
            layer->deleteLater();
        }
    }
    m_panorama = nullptr;
    m_classic = nullptr;
}

void CoverBackground::resizeEvent(QResizeEvent *)
{
    for (QWidget *layer : layers())
        layer->setGeometry(rect());
}

QList<QWidget *> CoverBackground::layers() const
{
    QList<QWidget *> layers;
    if (m_panorama)
        layers.append(m_panorama);
    if (m_classic)
        layers.append(m_classic);
    layers.append(m_gradient);
    return layers;
}

void CoverBackground::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Qt::black);
}
