#include "AudioGuideButton.h"

#include "widgets/CapsuleButton.h"
#include "model/Palette.h"

#include <QHBoxLayout>

namespace {

// A fixed word in every interface language.
const QString kLabel = QStringLiteral("Audio-guide");

CapsuleButtonLook audioGuideLook(bool playing)
{
    CapsuleButtonLook look;
    look.symbol = playing ? QStringLiteral("pause.fill") : QStringLiteral("play.fill");
    look.symbolPoints = 11;
    look.font = systemFont(12, QFont::DemiBold);
    look.foreground = colorFromHex(u"#E8DCC4");
    look.spacing = 8;
    look.horizontalPadding = 12;
    look.verticalPadding = 8;
    look.background = QColor::fromRgbF(0, 0, 0, 0.65f);
    // The palette's gold, not the tour's accent.
    QColor outline = paletteGold();
    outline.setAlphaF(playing ? 1.0f : 0.35f);
    look.outline = CapsuleOutline{outline, 1};
    return look;
}

} // namespace

AudioGuideButton::AudioGuideButton(QWidget *parent)
    : QWidget(parent)
    , m_button(new CapsuleButton(audioGuideLook(false), kLabel, this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_button);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_button->setAccessibleName(kLabel);
    connect(m_button, &QAbstractButton::clicked, this, [this] {
        if (onToggle)
            onToggle();
    });
}

void AudioGuideButton::setPlaying(bool playing)
{
    if (playing == m_playing)
        return;
    m_playing = playing;
    m_button->setLook(audioGuideLook(playing));
}
