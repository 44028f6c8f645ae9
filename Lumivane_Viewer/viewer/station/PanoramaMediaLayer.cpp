#include "viewer/station/PanoramaMediaLayer.h"

#include "l10n/L10n.h"
#include "model/SystemFont.h"
#include "viewer/state/ViewerController.h"

#include <QPainter>

namespace {

constexpr int vrGap = 2;

} // namespace

PanoramaMediaLayer::PanoramaMediaLayer(ViewerController &controller, std::shared_ptr<LumivaneImageCache> cache,
                                       L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_cache(std::move(cache))
    , m_l10n(&l10n)
    , m_labels(StationLabelMaps::of(controller))
{
    setObjectName("panoramaMediaLayer");
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&l10n, &L10n::currentChanged, this, [this] {
        update();
        refresh();
    });
    refresh();
}

void PanoramaMediaLayer::refresh()
{
    const bool noStation = !m_controller.currentStation();
    if (noStation != m_noStation) {
        m_noStation = noStation;
        update();
    }
    const bool vr = m_controller.state().vrMode && !noStation;
    if (!noStation) {
        Panorama360ViewerView::Inputs inputs = singlePanoramaInputs(m_controller, m_labels);
        inputs.languageCode = m_l10n ? m_l10n->languageCode() : QString();
        if (!m_single) {
            m_single = new Panorama360ViewerView(inputs, m_cache, this);
            m_single->setObjectName("panorama");
            m_single->setCoverOpacity(m_coverOpacity);
            layOut();
        } else if (!showSame(inputs, m_single->inputs())) {
            m_single->setInputs(inputs);
        }
    }
    if (m_single)
        m_single->setVisible(!noStation && !vr);
    showVRPair(vr);
}

void PanoramaMediaLayer::setCoverOpacity(double opacity)
{
    if (opacity == m_coverOpacity)
        return;
    m_coverOpacity = opacity;
    for (Panorama360ViewerView *view : {m_single.data(), m_vrPair[0].data(), m_vrPair[1].data()}) {
        if (view)
            view->setCoverOpacity(opacity);
    }
    // Around the panoramas the layer is black already; its text is not.
    if (m_noStation)
        update();
}

void PanoramaMediaLayer::showVRPair(bool shown)
{
    if (!shown) {
        for (QPointer<Panorama360ViewerView> &half : m_vrPair) {
            if (half) {
                half->hide();
                half->deleteLater();
            }
            half = nullptr;
        }
        return;
    }
    const Panorama360ViewerView::Inputs inputs = vrPanoramaInputs(m_controller, m_labels);
    for (std::size_t i = 0; i < m_vrPair.size(); ++i) {
        QPointer<Panorama360ViewerView> &half = m_vrPair[i];
        if (half) {
            if (!showSame(inputs, half->inputs()))
                half->setInputs(inputs);
            continue;
        }
        // Each half keeps its own orientation: dragging one leaves the other.
        half = new Panorama360ViewerView(inputs, m_cache, this);
        half->setObjectName(i == 0 ? "vrLeft" : "vrRight");
        half->setCoverOpacity(m_coverOpacity);
        half->show();
    }
    layOut();
}

void PanoramaMediaLayer::layOut()
{
    if (m_single)
        m_single->setGeometry(rect());
    const int halfWidth = std::max(0, (width() - vrGap) / 2);
    if (m_vrPair[0])
        m_vrPair[0]->setGeometry(0, 0, halfWidth, height());
    if (m_vrPair[1])
        m_vrPair[1]->setGeometry(width() - halfWidth, 0, halfWidth, height());
}

void PanoramaMediaLayer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void PanoramaMediaLayer::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_noStation || !m_l10n)
        return;
    painter.setPen(QColor::fromRgbF(1, 1, 1, 0.6f));
    painter.setFont(systemFont(13));
    painter.drawText(rect(), Qt::AlignCenter, m_l10n->text(L10n::Key::viewerNoPhoto));
    painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, float(std::clamp(m_coverOpacity, 0.0, 1.0))));
}
