#include "CoverLogo.h"

#include "media/images/EmbeddedPictures.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Enough pixels for the logo's 60 points on any screen; a larger image is
// kept at this height.
constexpr int kLargestDecodedHeight = 4 * CoverLogo::maxHeight;

QImage decodeLogo(const QByteArray &data)
{
    return EmbeddedPictures::decode(data, QSize(std::numeric_limits<int>::max(), kLargestDecodedHeight));
}

} // namespace

CoverLogo::CoverLogo(QWidget *parent)
    : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void CoverLogo::setImageData(const std::optional<QByteArray> &data)
{
    const QByteArray bytes = data.value_or(QByteArray());
    if (m_data && *m_data == bytes)
        return;
    m_data = bytes;
    // A huge logo takes seconds even reduced, which the cover must not wait for.
    showLogo(QImage());
    if (bytes.isEmpty())
        m_decode.cancel();
    else
        m_decode.start([bytes] { return decodeLogo(bytes); }, [this](const QImage &logo) { showLogo(logo); });
}

void CoverLogo::showLogo(const QImage &image)
{
    m_image = image;
    m_scaled = QPixmap();
    setVisible(!m_image.isNull());
    updateGeometry();
    update();
}

QSizeF CoverLogo::fittedSize(QSizeF bounds) const
{
    if (m_image.isNull())
        return QSizeF();
    return QSizeF(m_image.size()).scaled(bounds.boundedTo(QSizeF(bounds.width(), maxHeight)), Qt::KeepAspectRatio);
}

int CoverLogo::heightForWidth(int width) const
{
    return int(std::ceil(fittedSize(QSizeF(width, maxHeight)).height()));
}

QSize CoverLogo::sizeHint() const
{
    const QSizeF natural = fittedSize(QSizeF(1e6, maxHeight));
    return QSize(int(std::ceil(natural.width())), int(std::ceil(natural.height())));
}

void CoverLogo::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    const QSizeF shown = fittedSize(QSizeF(size()));
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (shown * ratio).toSize();
    if (m_scaled.size() != pixels || m_scaled.devicePixelRatio() != ratio) {
        m_scaled = QPixmap::fromImage(m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_scaled.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawPixmap(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), m_scaled);
}
