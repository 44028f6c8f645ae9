#include "LumivaneAudioService.h"

#include "Mp4Duration.h"

#include "model/LumivaneStorageFolders.h"
#include "model/SelfContainedMedia.h"

#include <QAudioOutput>
#include <QCoreApplication>
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
    // A folder, an unreadable file or one of no audio kind is known to fail
    // before any decoder runs; the player would say it plays until its error
    // arrives. A playlist or a reference would have it fetch what it names.
    if (!isSelfContainedMediaFile(path))
        return false;
    QMediaPlayer *player = startPlayer(url);
    if (player->error() != QMediaPlayer::NoError
        || player->playbackState() != QMediaPlayer::PlayingState) {
        retirePlayer(player);
        return false;
    }
    m_player = player;
    watchPlayer(player);
    // The decoder reports the length only some tens of milliseconds from now;
    // the kiosk reads it right after play(), so take it from the header.
    const std::optional<double> headerSeconds = mp4DurationSeconds(path);
    m_isPlaying = true;
    m_playbackDuration = headerSeconds.value_or(double(player->duration()) / 1000.0);
    m_playbackTime = 0.0;
    startProgressTimer();
    announce({Value::isPlaying, Value::playbackDuration, Value::playbackTime});
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
        if (player == m_player && m_isPlaying && seconds > 0.0 && seconds != m_playbackDuration) {
            m_playbackDuration = seconds;
            announce({Value::playbackDuration});
        }
    });
}

void LumivaneAudioService::stopPlayback()
{
    releasePlayer();
    m_progressTimer.stop();
    m_isPlaying = false;
    m_playbackTime = 0.0;
    m_playbackDuration = 0.0;
    announce({Value::isPlaying, Value::playbackTime, Value::playbackDuration});
}

void LumivaneAudioService::releasePlayer()
{
    if (!m_player)
        return;
    QMediaPlayer *player = m_player;
    m_player = nullptr;
    player->disconnect(this);
    retirePlayer(player);
}

void LumivaneAudioService::retirePlayer(QMediaPlayer *player)
{
    // Its pipeline goes down now, before a next player's starts: a stopped
    // pipeline left to its deletion would still hold its sound server stream
    // while the next one sets up its own. Qt 6.4's GStreamer player rarely
    // hangs in setSource; one pipeline at a time leaves it less to race.
    player->stop();
    player->setSource(QUrl());
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
    // Paced before announcing: an observer may stop or restart the sampler.
    if (m_progressTimer.interval() != progressIntervalMs)
        m_progressTimer.start(progressIntervalMs);
    m_playbackTime = double(m_player->position()) / 1000.0;
    announce({Value::playbackTime});
}

void LumivaneAudioService::finishNaturally()
{
    // The finished player and its length stay until the next play or stop.
    m_progressTimer.stop();
    m_isPlaying = false;
    m_playbackTime = 0.0;
    announce({Value::isPlaying, Value::playbackTime});
}

QUrl LumivaneAudioService::audioFolder(const QUuid &projectID)
{
    return LumivaneStorageFolders::audioFolder(projectID);
}

void LumivaneAudioService::announce(std::initializer_list<Value> values)
{
    // Observers run inside each emission and may play or stop from there; the
    // state they leave is theirs to announce, so this older one goes no further.
    const quint64 change = ++m_stateChange;
    for (const Value value : values) {
        if (change != m_stateChange)
            return;
        switch (value) {
        case Value::isPlaying:
            emit isPlayingChanged(m_isPlaying);
            break;
        case Value::playbackTime:
            emit playbackTimeChanged(m_playbackTime);
            break;
        case Value::playbackDuration:
            emit playbackDurationChanged(m_playbackDuration);
            break;
        }
    }
}
