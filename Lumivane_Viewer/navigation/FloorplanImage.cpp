#include "FloorplanImage.h"

#include <QBuffer>
#include <QImageReader>

#include <cmath>

std::optional<FloorplanImage> decodeFloorplan(const QByteArray &bytes, int maxWidthPixels)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (stored.isValid() && stored.width() > maxWidthPixels && maxWidthPixels > 0) {
        const int height = std::max(1, int(std::lround(double(stored.height()) * maxWidthPixels / stored.width())));
        reader.setScaledSize(QSize(maxWidthPixels, height));
    }
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    const QSize size = stored.isValid() ? stored : image.size();
    const double ratio = size.height() > 0 ? double(size.width()) / size.height() : 1.0;
    return FloorplanImage{std::move(image), ratio};
}
