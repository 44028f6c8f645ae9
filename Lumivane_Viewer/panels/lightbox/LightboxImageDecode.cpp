#include "LightboxImageDecode.h"

#include "media/images/ImageDecodeBudget.h"

#include <QImageReader>

#include <algorithm>

namespace {

// The picture's size as shown, once its orientation tag is applied.
QSize uprightSize(QImageReader &reader)
{
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

int longerSide(QSize size)
{
    return std::max(size.width(), size.height());
}

} // namespace

LightboxDecodedImage decodeLightboxImage(const QString &path, QSize box)
{
    if (box.isEmpty())
        return {};
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize source = uprightSize(reader);
    // A format that cannot tell its size without decoding is never decoded.
    if (!source.isValid())
        return {};
    const QSize fitted = source.scaled(box, Qt::KeepAspectRatio);
    const int side = std::max(1, std::min(longerSide(fitted), longerSide(source)));
    return {ImageDecodeBudget::readFile(path, QSize(side, side), ImageDecodeBudget::Role::largePicture), source};
}
