#pragma once

#include <QUrl>

#include <functional>
#include <memory>

class L10n;
class LumivaneAudioService;
class LumivaneImageCache;
class SoundService;
class SpeechService;
class ViewerNotifications;

/// The shared services a tour viewer works with, handed down by whoever
/// builds it: the application passes its process-wide instances, a test its
/// own. The viewer hands each view only the pieces that view needs; nothing
/// below it asks for a shared instance itself. None of the pointers is owned.
struct ViewerServices
{
    L10n *l10n = nullptr;
    LumivaneAudioService *narration = nullptr;
    SoundService *sounds = nullptr;
    SpeechService *speech = nullptr;
    std::shared_ptr<LumivaneImageCache> imageCache;
    /// Where the immersion and VR toggles are posted; none: nothing toggles them.
    ViewerNotifications *notifications = nullptr;
    /// Every hand-off to the desktop (web pages, mail, telephone, files):
    /// true when the desktop took the URL.
    std::function<bool(const QUrl &)> openExternal;
};
