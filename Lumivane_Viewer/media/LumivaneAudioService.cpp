#include "LumivaneAudioService.h"

#include "LumivaneStorageFolders.h"
#include "Mp4Duration.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

constexpr int progressIntervalMs = 100;

} // namespace

LumivaneAudioService::LumivaneAudioService(QObject *parent)
    : QObject(parent)
{
    m_progressTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_progressTimer, &QTimer::timeout, this, &LumivaneAudioService::sampleProgress);
}

LumivaneAudioService::~LumivaneAudioService()
{
    releasePlayer();
}

LumivaneAudioService &LumivaneAudioService::shared()
{
    Q_ASSERT(QCoreApplication::instance());
    static QPointer<LumivaneAudioService> instance;
    if (!instance)
        instance = new LumivaneAudioService(QCoreApplication::instance());
    return *instance;
}

bool LumivaneAudioService::play(const QUrl &url)
{
    stopPlayback();
    const QString path = url.toLocalFile();
    if (path.isEmpty() || !QFile::exists(path))
        return false;
    {
        // A folder or an unreadable file is known to fail before any decoder runs.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.isSequential())
            return false;
    }
    QMediaPlayer *player = startPlayer(url);
    if (player->error() != QMediaPlayer::NoError
        || player->playbackState() != QMediaPlayer::PlayingState) {
        player->deleteLater();
        return false;
    }
    m_player = player;
    watchPlayer(player);
    // The decoder reports the length only some tens of milliseconds from now;
    // the kiosk reads it right after play(), so take it from the header.
    const std::optional<double> headerSeconds = mp4DurationSeconds(path);
    publishIsPlaying(true);
    publishPlaybackDuration(headerSeconds.value_or(double(player->duration()) / 1000.0));
    publishPlaybackTime(0.0);
    startProgressTimer();
    return true;
}

QMediaPlayer *LumivaneAudioService::startPlayer(const QUrl &url)
{
    auto *player = new QMediaPlayer(this);
    auto *output = new QAudioOutput(player);
    output->setVolume(1.0f);
    player->setAudioOutput(output);
    player->setSource(url);
    player->play();
    return player;
}

void LumivaneAudioService::watchPlayer(QMediaPlayer *player)
{
    // Every report names its player: one from a replaced player is dropped.
    connect(player, &QMediaPlayer::mediaStatusChanged, this,
        [this, player](QMediaPlayer::MediaStatus status) {
            if (player != m_player)
                return;
            if (status == QMediaPlayer::EndOfMedia)
                finishNaturally();
            else if (status == QMediaPlayer::InvalidMedia)
                stopPlayback();
        });
    connect(player, &QMediaPlayer::errorOccurred, this, [this, player] {
        if (player == m_player)
            stopPlayback();
    });
    connect(player, &QMediaPlayer::durationChanged, this, [this, player](qint64 milliseconds) {
        const double seconds = double(milliseconds) / 1000.0;
        if (player == m_player && m_isPlaying && seconds > 0.0 && seconds != m_playbackDuration)
            publishPlaybackDuration(seconds);
    });
}

void LumivaneAudioService::stopPlayback()
{
    releasePlayer();
    publishIsPlaying(false);
    m_progressTimer.stop();
    publishPlaybackTime(0.0);
    publishPlaybackDuration(0.0);
}

void LumivaneAudioService::releasePlayer()
{
    if (!m_player)
        return;
    QMediaPlayer *player = m_player;
    m_player = nullptr;
    player->disconnect(this);
    player->stop();
    // Called from the player's own signals too: it must outlive the emission.
    player->deleteLater();
}

void LumivaneAudioService::startProgressTimer()
{
    m_progressTimer.stop();
    // The first sample comes as soon as the event loop runs, the next ones
    // every 100 ms.
    m_progressTimer.start(0);
}

void LumivaneAudioService::sampleProgress()
{
    if (!m_player) {
        m_progressTimer.stop();
        return;
    }
    publishPlaybackTime(double(m_player->position()) / 1000.0);
    if (m_progressTimer.interval() != progressIntervalMs)
        m_progressTimer.start(progressIntervalMs);
}

void LumivaneAudioService::finishNaturally()
{
    // The finished player and its length stay until the next play or stop.
    publishIsPlaying(false);
    publishPlaybackTime(0.0);
    m_progressTimer.stop();
}

QUrl LumivaneAudioService::audioFolder(const QUuid &projectID)
{
    const QString folder = QDir(LumivaneStorageFolders::projectFolder(projectID).toLocalFile()).filePath(QStringLiteral("audio"));
    QDir().mkpath(folder);
    return QUrl::fromLocalFile(folder);
}

void LumivaneAudioService::publishIsPlaying(bool isPlaying)
{
    m_isPlaying = isPlaying;
    emit isPlayingChanged(isPlaying);
}

void LumivaneAudioService::publishPlaybackTime(double seconds)
{
    m_playbackTime = seconds;
    emit playbackTimeChanged(seconds);
}

void LumivaneAudioService::publishPlaybackDuration(double seconds)
{
    m_playbackDuration = seconds;
    emit playbackDurationChanged(seconds);
}
