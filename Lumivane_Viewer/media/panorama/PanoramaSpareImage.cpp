#include "PanoramaSpareImage.h"

#include <QThreadPool>

#include <utility>

namespace {

QImage allocateImage(QSize size)
{
    return QImage(size, QImage::Format_RGB32);
}

} // namespace

QImage PanoramaSpareImage::take(QSize size)
{
    const std::lock_guard lock(m_mutex);
    if (m_image.size() != size)
        return allocateImage(size);
    return std::exchange(m_image, QImage());
}

void PanoramaSpareImage::prepare(QSize size)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_preparing || m_image.size() == size)
            return;
        m_preparing = true;
    }
    QThreadPool::globalInstance()->start(
        [weak = weak_from_this(), size] {
            QImage image = allocateImage(size);
            // Touch every page now, so that the decode later does not.
            uchar *bits = image.bits();
            for (qsizetype offset = 0; offset < image.sizeInBytes(); offset += 4096)
                bits[offset] = 0;
            if (const auto spare = weak.lock())
                spare->keep(std::move(image));
        },
        -1);
}

void PanoramaSpareImage::keep(QImage image)
{
    const std::lock_guard lock(m_mutex);
    m_image = std::move(image);
    m_preparing = false;
}
