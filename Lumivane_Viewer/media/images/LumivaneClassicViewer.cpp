#include "LumivaneClassicViewer.h"

#include "LumivaneImageCache.h"

#include "l10n/L10n.h"

#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFrameIntervalMs = 16;

} // namespace

LumivaneClassicViewer::LumivaneClassicViewer(const Inputs &inputs, std::shared_ptr<LumivaneImageCache> cache,
                                             L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_inputs(inputs)
    , m_cache(std::move(cache))
    , m_l10n(&l10n)
{
    Q_ASSERT(m_cache);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_frameTimer.setInterval(kFrameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &LumivaneClassicViewer::tick);
    connect(&l10n, &L10n::currentChanged, this, qOverload<>(&QWidget::update));
    refresh();
}

LumivaneClassicViewer::~LumivaneClassicViewer() = default;

QSize LumivaneClassicViewer::photoBound(const QScreen &screen)
{
    const QSizeF pixels = QSizeF(screen.size()) * screen.devicePixelRatio() * KenBurnsMotion::targetScale;
    return QSize(int(std::ceil(pixels.width())), int(std::ceil(pixels.height())));
}

void LumivaneClassicViewer::setInputs(const Inputs &inputs)
{
    m_inputs = inputs;
    refresh();
}

std::optional<QUuid> LumivaneClassicViewer::shownStationID() const
{
    return m_current ? std::optional(m_current->stationID()) : std::nullopt;
}

QImage LumivaneClassicViewer::shownImage() const
{
    return m_current ? m_current->image() : QImage();
}

std::optional<KenBurnsFrame> LumivaneClassicViewer::kenBurnsFrame() const
{
    return m_current ? m_current->kenBurnsFrame(m_clock.now()) : std::nullopt;
}

std::optional<Station> LumivaneClassicViewer::currentStation() const
{
    if (m_inputs.currentIndex < 0 || m_inputs.currentIndex >= m_inputs.stations.size())
        return std::nullopt;
    return m_inputs.stations.at(m_inputs.currentIndex);
}

ClassicPhotoLayer::Transition LumivaneClassicViewer::transition() const
{
    return m_inputs.style == ClassicTransitionStyle::slide ? ClassicPhotoLayer::Transition::slide
                                                    : ClassicPhotoLayer::Transition::fade;
}

void LumivaneClassicViewer::refresh()
{
    const std::optional<Station> station = currentStation();
    const bool kenBurns = m_inputs.style == ClassicTransitionStyle::kenBurns;
    // The photo view belongs to one station (and one kind of view): another
    // station gets a fresh view even when both share a photo file.
    const bool sameView = m_current && station && m_current->stationID() == station->id
        && m_current->isKenBurns() == kenBurns;
    if (!sameView)
        replaceLayer(station);
    if (m_current && station && m_inputs.photoURLResolver)
        m_current->setUrl(m_inputs.photoURLResolver(station->id));
    else if (m_current)
        m_current->setUrl(std::nullopt);
    update();
}

void LumivaneClassicViewer::replaceLayer(const std::optional<Station> &station)
{
    const double animationSeconds = m_inputs.animationSeconds;
    const double start = m_clock.now();
    if (m_current && animationSeconds > 0) {
        m_current->leave(transition(), start, animationSeconds);
        m_leaving.push_back(std::move(m_current));
    }
    m_current.reset();
    if (!station)
        return;
    const QSize bound = screen() ? photoBound(*screen()) : QSize();
    m_current = std::make_unique<ClassicPhotoLayer>(station->id, m_inputs.style == ClassicTransitionStyle::kenBurns,
                                                    m_cache, bound, m_clock);
    m_current->onChanged = [this] { animate(); };
    if (animationSeconds > 0)
        m_current->enter(transition(), start, animationSeconds);
    animate();
}

void LumivaneClassicViewer::animate()
{
    update();
    if (!m_frameTimer.isActive())
        m_frameTimer.start();
}

void LumivaneClassicViewer::tick()
{
    const double time = m_clock.now();
    std::erase_if(m_leaving, [time](const auto &layer) { return layer->hasLeft(time); });
    const bool moving = std::any_of(m_leaving.begin(), m_leaving.end(), [time](const auto &layer) {
        return layer->isAnimating(time);
    }) || (m_current && m_current->isAnimating(time));
    if (!moving)
        m_frameTimer.stop();
    update();
}

void LumivaneClassicViewer::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const double time = m_clock.now();
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    for (const auto &layer : m_leaving)
        layer->paint(painter, rect(), time, rightToLeft);
    if (m_current)
        m_current->paint(painter, rect(), time, rightToLeft);
    else
        paintNoPhotoText(painter);
}

void LumivaneClassicViewer::paintNoPhotoText(QPainter &painter)
{
    QColor text(Qt::white);
    text.setAlphaF(0.5f);
    painter.setPen(text);
    painter.setFont(font());
    if (m_l10n)
        painter.drawText(rect(), Qt::AlignCenter, m_l10n->text(L10n::Key::viewerNoPhoto));
}
