#include "LumivaneClassicViewer.h"

#include "LumivaneImageCache.h"

#include "l10n/L10n.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kFrameIntervalMs = 16;

} // namespace

LumivaneClassicViewer::LumivaneClassicViewer(QWidget *parent, std::shared_ptr<LumivaneImageCache> cache)
    : QWidget(parent)
    , m_cache(cache ? std::move(cache) : LumivaneImageCache::shared())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_elapsed.start();
    m_frameTimer.setInterval(kFrameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &LumivaneClassicViewer::tick);
    connect(&L10n::shared(), &L10n::currentChanged, this, qOverload<>(&QWidget::update));
}

LumivaneClassicViewer::~LumivaneClassicViewer() = default;

void LumivaneClassicViewer::setStations(const QList<Station> &stations, double animationSeconds)
{
    m_stations = stations;
    refresh(animationSeconds);
}

void LumivaneClassicViewer::setCurrentIndex(int index, double animationSeconds)
{
    m_currentIndex = index;
    refresh(animationSeconds);
}

void LumivaneClassicViewer::setPhotoURLResolver(PhotoURLResolver resolver)
{
    m_photoURLResolver = std::move(resolver);
    refresh(0);
}

void LumivaneClassicViewer::setStyle(ClassicTransitionStyle style)
{
    m_style = style;
    refresh(0);
}

void LumivaneClassicViewer::setClock(Clock clock)
{
    m_clock = std::move(clock);
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
    return m_current ? m_current->kenBurnsFrame(now()) : std::nullopt;
}

double LumivaneClassicViewer::now() const
{
    return m_clock ? m_clock() : m_elapsed.nsecsElapsed() / 1e9;
}

std::optional<Station> LumivaneClassicViewer::currentStation() const
{
    if (m_currentIndex < 0 || m_currentIndex >= m_stations.size())
        return std::nullopt;
    return m_stations.at(m_currentIndex);
}

ClassicPhotoLayer::Transition LumivaneClassicViewer::transition() const
{
    return m_style == ClassicTransitionStyle::slide ? ClassicPhotoLayer::Transition::slide
                                                    : ClassicPhotoLayer::Transition::fade;
}

void LumivaneClassicViewer::refresh(double animationSeconds)
{
    const std::optional<Station> station = currentStation();
    const bool kenBurns = m_style == ClassicTransitionStyle::kenBurns;
    // The photo view belongs to one station (and one kind of view): another
    // station gets a fresh view even when both share a photo file.
    const bool sameView = m_current && station && m_current->stationID() == station->id
        && m_current->isKenBurns() == kenBurns;
    if (!sameView)
        replaceLayer(station, animationSeconds);
    if (m_current && station && m_photoURLResolver)
        m_current->setUrl(m_photoURLResolver(station->id));
    else if (m_current)
        m_current->setUrl(std::nullopt);
    update();
}

void LumivaneClassicViewer::replaceLayer(const std::optional<Station> &station, double animationSeconds)
{
    const double start = now();
    if (m_current && animationSeconds > 0) {
        m_current->leave(transition(), start, animationSeconds);
        m_leaving.push_back(std::move(m_current));
    }
    m_current.reset();
    if (!station)
        return;
    m_current = std::make_unique<ClassicPhotoLayer>(station->id, m_style == ClassicTransitionStyle::kenBurns,
                                                    m_cache, [this] { return now(); });
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
    const double time = now();
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
    const double time = now();
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
    painter.drawText(rect(), Qt::AlignCenter, L10n::shared().text(L10n::Key::viewerNoPhoto));
}
