#include "PackageDrop.h"

#include <QFileInfo>
#include <QMimeData>

namespace PackageDrop {

std::optional<QUrl> packageURL(const QMimeData &data)
{
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty())
        return std::nullopt;
    const QUrl &first = urls.first();
    if (!first.isLocalFile())
        return std::nullopt;
    if (QFileInfo(first.toLocalFile()).suffix().toLower() != QLatin1String("lumivane"))
        return std::nullopt;
    return first;
}

} // namespace PackageDrop
