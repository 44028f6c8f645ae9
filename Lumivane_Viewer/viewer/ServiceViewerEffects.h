#pragma once

#include "viewer/ViewerServices.h"
#include "viewer/state/ViewerEffects.h"

#include <QElapsedTimer>
#include <QSize>

#include <functional>
#include <memory>

class LumivaneAmbientPlayer;

/// The viewer's effects made real with the services it was handed, and the
/// one ambient loop of a viewer, which it owns. Main thread only.
class ServiceViewerEffects final : public ViewerEffects
{
public:
    explicit ServiceViewerEffects(ViewerServices services);
    ~ServiceViewerEffects() override;

    LumivaneAmbientPlayer &ambientPlayer() const { return *m_ambient; }
    /// On by default; a benchmark compares station changes without it.
    void setPhotoPreloading(bool enabled) { m_preloading = enabled; }
    /// Asked at each preload: the most pixels the station view shows a photo
    /// at. Unset, a preload decodes photos as large as the decode budget allows.
    void setPhotoBound(std::function<QSize()> bound) { m_photoBound = std::move(bound); }

    void playStationChangeSound() override;
    bool playNarration(const QUrl &url) override;
    void stopNarration() override;
    bool isNarrationPlaying() const override;
    double narrationDuration() const override;
    void prefetchPhoto(const QUrl &url) override;
    void emptyFullSizeImages() override;
    void playAmbient(const std::optional<QByteArray> &soundData) override;
    void stopAmbient() override;
    void setAmbientMuted(bool muted) override;
    bool isAmbientMuted() const override;
    bool isAmbientPlaying() const override;
    void speak(const QString &text, const QString &languageCode) override;
    void stopSpeech() override;
    bool isReadingAloud() const override;
    bool openExternal(const QUrl &url) override;
    QString visitorLanguageCode() const override;

private:
    const ViewerServices m_services;
    std::unique_ptr<LumivaneAmbientPlayer> m_ambient;
    QElapsedTimer m_sinceSpeak;
    bool m_preloading = true;
    std::function<QSize()> m_photoBound;
};
