#pragma once

#include <QHash>
#include <QSize>
#include <QString>
#include <QUrl>

/// The pixel size of station photos as they are shown (upright), read from
/// each file's header once per URL and then remembered; the photo itself is
/// never decoded. GUI thread only.
class PhotoSizeCache final
{
public:
    /// (0, 0) when the URL is empty, not a local file, not a readable image,
    /// or a drawing (SVG), which is no photo.
    QSize size(const QUrl &url);

private:
    QHash<QString, QSize> m_sizes;
};
