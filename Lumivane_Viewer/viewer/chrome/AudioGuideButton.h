#pragma once

#include <QWidget>

#include <functional>

class CapsuleButton;

/// The button that starts and stops the current station's narration: a play
/// or pause symbol and the fixed word "Audio-guide" on a dark capsule whose
/// gold outline brightens while narration plays. Follows what it is told
/// through setPlaying(); reports presses through onToggle.
class AudioGuideButton final : public QWidget
{
public:
    explicit AudioGuideButton(QWidget *parent = nullptr);

    void setPlaying(bool playing);
    bool isPlaying() const { return m_playing; }

    std::function<void()> onToggle;

private:
    CapsuleButton *m_button;
    bool m_playing = false;
};
