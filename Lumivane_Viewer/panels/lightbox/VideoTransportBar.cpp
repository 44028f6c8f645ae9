#include "VideoTransportBar.h"

#include "l10n/L10n.h"
#include "model/SystemFont.h"
#include "panels/common/CardWidgets.h"
#include "widgets/SymbolButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int sliderScale = 1000; // volume steps

SymbolButtonLook controlLook(const QString &symbol)
{
    SymbolButtonLook look;
    look.side = 28;
    look.symbol = symbol;
    look.symbolPoints = 12;
    look.symbolColor = Qt::white;
    look.discColor = QColor(255, 255, 255, 26);
    return look;
}

QSlider *slider(QWidget *parent)
{
    auto *control = new QSlider(Qt::Horizontal, parent);
    // Reached with Tab, moved by the arrow keys; a click leaves the keys to the viewer.
    control->setFocusPolicy(Qt::TabFocus);
    control->setCursor(Qt::PointingHandCursor);
    control->setStyleSheet(QStringLiteral(
        "QSlider::groove:horizontal { height: 4px; border-radius: 2px; background: rgba(255, 255, 255, 51); }"
        "QSlider::sub-page:horizontal { height: 4px; border-radius: 2px; background: rgba(255, 255, 255, 217); }"
        "QSlider::handle:horizontal { width: 12px; height: 12px; margin: -4px 0; border-radius: 6px;"
        " background: white; }"
        "QSlider::handle:horizontal:focus { width: 8px; height: 8px; border: 2px solid rgb(201, 169, 97); }"));
    return control;
}

} // namespace

QString formatPlaybackTime(qint64 milliseconds)
{
    const qint64 seconds = std::max<qint64>(0, milliseconds) / 1000;
    const qint64 hours = seconds / 3600;
    const QString minutesAndSeconds =
        QStringLiteral("%1:%2").arg(seconds / 60 % 60, hours > 0 ? 2 : 1, 10, QLatin1Char('0'))
            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return hours > 0 ? QStringLiteral("%1:%2").arg(hours).arg(minutesAndSeconds) : minutesAndSeconds;
}

VideoTransportBar::VideoTransportBar(L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_l10n(&l10n)
{
    m_playPause = new SymbolButton(controlLook(QStringLiteral("play.fill")), this);
    m_position = slider(this);
    m_time = cardLabel(systemFont(11, QFont::Medium, FontDesign::monospaced), QColor(255, 255, 255, 179), this);
    m_mute = new SymbolButton(controlLook(QStringLiteral("speaker.wave.2.fill")), this);
    m_volume = slider(this);
    m_volume->setRange(0, sliderScale);
    m_volume->setFixedWidth(80);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 12, 8);
    row->setSpacing(10);
    row->addWidget(m_playPause);
    row->addWidget(m_position, 1);
    row->addWidget(m_time);
    row->addSpacing(6);
    row->addWidget(m_mute);
    row->addWidget(m_volume);

    retranslate();
    connect(&l10n, &L10n::currentChanged, this, &VideoTransportBar::retranslate);
    connect(m_playPause, &QAbstractButton::clicked, this, [this] {
        if (onPlayPause)
            onPlayPause();
    });
    connect(m_mute, &QAbstractButton::clicked, this, [this] {
        if (onToggleMute)
            onToggleMute();
    });
    // Dragging seeks as it goes; the player's own position waits until the drag ends.
    connect(m_position, &QSlider::sliderMoved, this, [this](int value) {
        if (onSeek)
            onSeek(value);
    });
    connect(m_position, &QSlider::actionTriggered, this, [this](int) {
        if (!m_position->isSliderDown() && onSeek)
            onSeek(m_position->sliderPosition());
    });
    connect(m_volume, &QSlider::valueChanged, this, [this](int value) {
        if (onVolume)
            onVolume(float(value) / sliderScale);
    });
    setDuration(0);
}

void VideoTransportBar::setPlaying(bool playing)
{
    m_playPause->setSymbol(playing ? QStringLiteral("pause.fill") : QStringLiteral("play.fill"));
}

void VideoTransportBar::setDuration(qint64 milliseconds)
{
    m_duration = std::max<qint64>(0, milliseconds);
    // Milliseconds fit an int for 24 days of video.
    m_position->setRange(0, int(std::min<qint64>(m_duration, std::numeric_limits<int>::max())));
    m_position->setEnabled(m_duration > 0);
    showTime();
}

void VideoTransportBar::setPosition(qint64 milliseconds)
{
    m_shownPosition = milliseconds;
    if (!m_position->isSliderDown())
        m_position->setValue(int(std::min<qint64>(milliseconds, m_position->maximum())));
    showTime();
}

void VideoTransportBar::setVolume(float volume)
{
    const QSignalBlocker quiet(m_volume);
    m_volume->setValue(int(std::lround(std::clamp(volume, 0.0f, 1.0f) * sliderScale)));
}

void VideoTransportBar::setMuted(bool muted)
{
    m_muted = muted;
    m_mute->setSymbol(muted ? QStringLiteral("speaker.slash.fill") : QStringLiteral("speaker.wave.2.fill"));
    retranslate();
}

void VideoTransportBar::retranslate()
{
    using Key = L10n::Key;
    m_playPause->setAccessibleName(m_l10n->text(Key::playPause));
    m_position->setAccessibleName(m_l10n->text(Key::videoPositionA11y));
    m_mute->setAccessibleName(m_l10n->text(m_muted ? Key::videoUnmuteA11y : Key::videoMuteA11y));
    m_volume->setAccessibleName(m_l10n->text(Key::videoVolumeA11y));
}

void VideoTransportBar::showTime()
{
    m_time->setText(formatPlaybackTime(m_shownPosition) + QStringLiteral(" / ") + formatPlaybackTime(m_duration));
}
