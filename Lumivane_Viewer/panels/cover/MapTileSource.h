#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

/// One raster tile of the map: zoom level and column and row at that level.
struct MapTileKey
{
    int z = 0;
    int x = 0;
    int y = 0;

    friend bool operator==(const MapTileKey &, const MapTileKey &) = default;
};

size_t qHash(const MapTileKey &key, size_t seed = 0) noexcept;

/// Fetches the location map's raster tiles and keeps the recent ones. Kind
/// to the tile server: it names the application in its User-Agent, keeps
/// tiles in a disk cache under the user's cache folder for as long as the
/// server allows, and never has more than two requests open. Failures are
/// silent: a tile that could not be had is simply not there, and is asked
/// for again only after a pause. Decoding runs off the GUI thread.
class MapTileSource final : public QObject
{
public:
    /// The settings key of the URL template ("{z}", "{x}", "{y}" filled in).
    static constexpr const char *templateSettingsKey = "lumivane.map.tileURLTemplate";
    static constexpr int maxTileZoom = 19;
    static constexpr int maxRequestsInFlight = 2;

    /// OpenStreetMap's standard raster tiles.
    static QString defaultTemplate();
    /// The template stored under templateSettingsKey, else the default.
    static QString configuredTemplate();
    /// "© OpenStreetMap contributors": the credit the tiles' licence asks for.
    static QString attribution();

    explicit MapTileSource(QString urlTemplate, QObject *parent = nullptr);

    /// The decoded tile when it is at hand; null otherwise.
    QPixmap tile(MapTileKey key) const;
    /// The tiles the map shows now, most wanted first; replaces the previous
    /// wish list. Tiles at hand or on their way are not asked for again.
    void setWanted(const QList<MapTileKey> &keys);
    /// Called on the GUI thread each time a tile becomes available.
    std::function<void()> onTileArrived;

    QUrl tileURL(MapTileKey key) const;

private:
    struct CachedTile
    {
        QPixmap pixmap;
        quint64 lastUse = 0;
    };

    bool isWanted(MapTileKey key) const;
    void startRequests();
    void startRequest(MapTileKey key);
    void finishRequest(QNetworkReply *reply, MapTileKey key);
    void decode(MapTileKey key, QByteArray bytes);
    void store(MapTileKey key, QPixmap pixmap);
    void markFailed(MapTileKey key);

    QString m_template;
    QNetworkAccessManager *m_network;
    QList<MapTileKey> m_queue;
    QSet<MapTileKey> m_inFlight;
    QSet<MapTileKey> m_decoding;
    mutable QHash<MapTileKey, CachedTile> m_tiles;
    mutable quint64 m_useCounter = 0;
    QHash<MapTileKey, qint64> m_failedAt;
    QElapsedTimer m_clock;
};
