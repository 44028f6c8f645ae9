#include "AudioGuideButton.h"

#include "widgets/CapsuleButton.h"

#include <QHBoxLayout>

namespace {

// A fixed word in every interface language.
const QString kLabel = QStringLiteral("Audio-guide");

} // namespace

AudioGuideButton::AudioGuideButton(QWidget *parent)
    : QWidget(parent)
    , m_button(new CapsuleButton(capsuleLook(Capsule::audioGuide), kLabel, this))
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
    m_button->setLook(capsuleLook(playing ? Capsule::audioGuidePlaying : Capsule::audioGuide));
}
