#include "viewer/station/PhotoSizeCache.h"

#include "media/images/ImageDecodeBudget.h"

#include <QImageReader>

namespace {

QSize readUprightSize(const QUrl &url)
{
    if (!url.isLocalFile())
        return {0, 0};
    QImageReader reader(url.toLocalFile());
    // A drawing tells its size only once it is parsed whole, which may take
    // seconds; the budget shows none as a photo anyway.
    if (ImageDecodeBudget::isDrawing(reader.format()))
        return {0, 0};
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (!size.isValid())
        return {0, 0};
    // The decoders turn photos upright as they decode; the header gives the stored size.
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

} // namespace

QSize PhotoSizeCache::size(const QUrl &url)
{
    const QString key = url.toString(QUrl::FullyEncoded);
    const auto found = m_sizes.constFind(key);
    if (found != m_sizes.cend())
        return *found;
    const QSize size = readUprightSize(url);
    m_sizes.insert(key, size);
    return size;
}
