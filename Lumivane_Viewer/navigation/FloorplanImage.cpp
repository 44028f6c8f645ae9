#include "FloorplanImage.h"

#include "media/images/EmbeddedPictures.h"

#include <QBuffer>
#include <QImageReader>

#include <limits>

std::optional<FloorplanImage> decodeFloorplan(const QByteArray &bytes, int maxWidthPixels)
{
    QBuffer buffer;
    buffer.setData(bytes);
    const QSize stored = QImageReader(&buffer).size();
    QImage image = EmbeddedPictures::decode(bytes, QSize(maxWidthPixels, std::numeric_limits<int>::max()));
    if (image.isNull())
        return std::nullopt;
    const QSize size = stored.isValid() ? stored : image.size();
    const double ratio = size.height() > 0 ? double(size.width()) / size.height() : 1.0;
    return FloorplanImage{std::move(image), ratio};
}
