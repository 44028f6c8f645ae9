#include "MapTileSource.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFutureWatcher>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSettings>
#include <QStandardPaths>
#include <QThreadPool>
#include <QtConcurrent/qtconcurrentrun.h>

#include <algorithm>

namespace {

constexpr int kMemoryTileLimit = 200;
constexpr qint64 kDiskCacheBytes = 64ll * 1024 * 1024;
constexpr qint64 kLargestTileBytes = 4ll * 1024 * 1024;
constexpr int kTransferTimeoutMs = 15000;
constexpr qint64 kRetryPauseMs = 30000;

QString userAgent()
{
    const QString version = QCoreApplication::applicationVersion();
    return QStringLiteral("%1/%2 (Lumivane Viewer, location map of a tour cover)")
        .arg(QCoreApplication::applicationName(), version.isEmpty() ? QStringLiteral("0.1") : version);
}

// Runs on the thread pool: a tile of any size comes out 256 pixels square.
QImage decodeTile(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && size != QSize(256, 256))
        reader.setScaledSize(QSize(256, 256));
    QImage image = reader.read();
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

size_t qHash(const MapTileKey &key, size_t seed) noexcept
{
    return qHashMulti(seed, key.z, key.x, key.y);
}

QString MapTileSource::defaultTemplate()
{
    return QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png");
}

QString MapTileSource::configuredTemplate()
{
    const QString stored = QSettings().value(QLatin1String(templateSettingsKey)).toString().trimmed();
    return stored.isEmpty() ? defaultTemplate() : stored;
}

QString MapTileSource::attribution()
{
    return QStringLiteral("\u00a9 OpenStreetMap contributors");
}

MapTileSource::MapTileSource(QString urlTemplate, QObject *parent)
    : QObject(parent)
    , m_template(std::move(urlTemplate))
    , m_network(new QNetworkAccessManager(this))
{
    auto *diskCache = new QNetworkDiskCache(m_network);
    diskCache->setCacheDirectory(QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                                     .filePath(QStringLiteral("map-tiles")));
    diskCache->setMaximumCacheSize(kDiskCacheBytes);
    m_network->setCache(diskCache);
    m_network->setTransferTimeout(kTransferTimeoutMs);
    m_clock.start();
}

QUrl MapTileSource::tileURL(MapTileKey key) const
{
    QString text = m_template;
    text.replace(QLatin1String("{z}"), QString::number(key.z));
    text.replace(QLatin1String("{x}"), QString::number(key.x));
    text.replace(QLatin1String("{y}"), QString::number(key.y));
    return QUrl(text);
}

QPixmap MapTileSource::tile(MapTileKey key) const
{
    const auto found = m_tiles.find(key);
    if (found == m_tiles.end())
        return QPixmap();
    found->lastUse = ++m_useCounter;
    return found->pixmap;
}

void MapTileSource::setWanted(const QList<MapTileKey> &keys)
{
    m_queue.clear();
    for (const MapTileKey &key : keys) {
        if (isWanted(key))
            m_queue.append(key);
    }
    startRequests();
}

bool MapTileSource::isWanted(MapTileKey key) const
{
    if (m_tiles.contains(key) || m_inFlight.contains(key) || m_decoding.contains(key))
        return false;
    const auto failed = m_failedAt.constFind(key);
    return failed == m_failedAt.cend() || m_clock.elapsed() - *failed >= kRetryPauseMs;
}

void MapTileSource::startRequests()
{
    while (m_inFlight.size() < maxRequestsInFlight && !m_queue.isEmpty()) {
        const MapTileKey key = m_queue.takeFirst();
        if (isWanted(key))
            startRequest(key);
    }
}

void MapTileSource::startRequest(MapTileKey key)
{
    QNetworkRequest request(tileURL(key));
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    QNetworkReply *reply = m_network->get(request);
    m_inFlight.insert(key);
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kLargestTileBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, key] { finishRequest(reply, key); });
}

void MapTileSource::finishRequest(QNetworkReply *reply, MapTileKey key)
{
    reply->deleteLater();
    m_inFlight.remove(key);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || (status != 0 && status != 200))
        markFailed(key);
    else
        decode(key, reply->readAll());
    startRequests();
}

void MapTileSource::decode(MapTileKey key, QByteArray bytes)
{
    m_decoding.insert(key);
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, key] {
        watcher->deleteLater();
        m_decoding.remove(key);
        const QImage image = watcher->result();
        if (image.isNull())
            markFailed(key);
        else
            store(key, QPixmap::fromImage(image));
    });
    watcher->setFuture(QtConcurrent::run(QThreadPool::globalInstance(), decodeTile, std::move(bytes)));
}

void MapTileSource::store(MapTileKey key, QPixmap pixmap)
{
    if (m_tiles.size() >= kMemoryTileLimit) {
        const auto oldest = std::min_element(m_tiles.begin(), m_tiles.end(), [](const CachedTile &a, const CachedTile &b) {
            return a.lastUse < b.lastUse;
        });
        m_tiles.erase(oldest);
    }
    m_tiles.insert(key, CachedTile{std::move(pixmap), ++m_useCounter});
    m_failedAt.remove(key);
    if (onTileArrived)
        onTileArrived();
}

void MapTileSource::markFailed(MapTileKey key)
{
    m_failedAt.insert(key, m_clock.elapsed());
}
