#pragma once

#include <QString>
#include <QUrl>

/// What the lightbox shows: an image, a PDF or a video file with its title.
/// Built by the viewer from an attachment; knows nothing of how it is shown.
struct LightboxContent
{
    enum class Kind { image, pdf, video };

    Kind kind = Kind::image;
    QUrl url;
    QString title;

    /// "img_", "pdf_" or "vid_" followed by the URL's path.
    QString id() const;

    bool operator==(const LightboxContent &) const = default;
};
