#include "EmbeddedPictures.h"

#include "ImageDecodeBudget.h"
#include "LumivaneImageCache.h"

#include <QCryptographicHash>
#include <QUrl>

namespace {

// Room for the pictures the views of a few tours show, each a few MiB at most.
constexpr qint64 keptBytes = qint64(32) << 20;

LumivaneImageCache &decodedPictures()
{
    // A store of its own: embedded pictures never take a photo's place.
    static const std::shared_ptr<LumivaneImageCache> pictures = LumivaneImageCache::create({0, keptBytes, 0});
    return *pictures;
}

} // namespace

namespace EmbeddedPictures {

QImage decode(const QByteArray &bytes, QSize bound)
{
    const QUrl key(QStringLiteral("embedded:")
                   + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    const QImage picture = decodedPictures().decodeOnce(key, [&bytes] { return ImageDecodeBudget::readData(bytes); });
    const QSize size = ImageDecodeBudget::fitted(picture.size(), bound);
    if (picture.isNull() || size == picture.size())
        return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace EmbeddedPictures
