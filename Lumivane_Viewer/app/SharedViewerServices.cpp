#include "SharedViewerServices.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/sound/LumivaneAudioService.h"
#include "media/sound/SoundService.h"
#include "media/sound/SpeechService.h"
#include "viewer/ViewerNotifications.h"

#include <QDesktopServices>

ViewerServices sharedViewerServices()
{
    ViewerServices services;
    services.l10n = &L10n::shared();
    services.narration = &LumivaneAudioService::shared();
    services.sounds = &SoundService::shared();
    services.speech = &SpeechService::shared();
    services.imageCache = LumivaneImageCache::shared();
    services.notifications = &ViewerNotifications::defaultCenter();
    services.openExternal = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return services;
}
