#include "ImageAttachmentRow.h"

#include "InfoCardRows.h"
#include "media/images/LumivaneImageCache.h"
#include "model/DisplayText.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SymbolButton.h"
#include "widgets/WrappingText.h"

#include <QFutureWatcher>
#include <QPainter>
#include <QVBoxLayout>
#include <QtConcurrent/qtconcurrenttask.h>

#include <cmath>

namespace {

constexpr double kMaxHeight = 260;
constexpr double kCornerRadius = 8;

// The image at a drawn size with its corners cut, antialiased, in device
// pixels: made once per size, then only copied.
QPixmap roundedPicture(const QImage &image, QSizeF size, qreal ratio)
{
    const QSize pixels = (size * ratio).toSize();
    const QImage scaled = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage rounded(pixels, QImage::Format_ARGB32_Premultiplied);
    rounded.fill(Qt::transparent);
    {
        QPainter painter(&rounded);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QBrush(scaled));
        painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(pixels)), kCornerRadius * ratio, kCornerRadius * ratio);
    }
    rounded.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(rounded);
}

} // namespace

ImageAttachmentRow::ImageAttachmentRow(const std::optional<QUrl> &fileURL, const QString &title,
                                       const QString &fallbackText, const QColor &accent, QWidget *parent)
    : QWidget(parent)
    , m_fileURL(fileURL)
    , m_title(title)
    , m_fallbackText(fallbackText)
    , m_accent(accent)
    , m_column(new QVBoxLayout(this))
{
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(6);
    // Takes no room, not even the spacing around it, until its face is known.
    hide();
    if (m_fileURL && m_fileURL->isLocalFile())
        startDecoding(m_fileURL->toLocalFile());
    else
        showFallback();
}

// Decoded at the size the card shows it on this screen, never larger: a
// photo of many megapixels costs a fraction of its full decode.
void ImageAttachmentRow::startDecoding(const QString &path)
{
    const int maxPixels = int(std::ceil(std::max<double>(kInfoCardContentWidth, kMaxHeight) * devicePixelRatioF()));
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        const QImage image = watcher->result();
        watcher->deleteLater();
        if (image.isNull())
            showFallback();
        else
            showPicture(image);
    });
    watcher->setFuture(QtConcurrent::task([path, maxPixels] { return LumivaneImageCache::decodeThumbnail(path, maxPixels); })
                           .onThreadPool(*LumivaneImageCache::pool())
                           .withPriority(LumivaneImageCache::userInitiatedPriority)
                           .spawn());
}

void ImageAttachmentRow::showPicture(const QImage &image)
{
    m_face = Face::picture;
    auto *thumbnail = new AttachmentThumbnail(image, this);
    thumbnail->setAccessibleName(displayLine(m_title.isEmpty() ? m_fallbackText : m_title));
    thumbnail->onClick = [this] {
        if (onOpenImage)
            onOpenImage(*m_fileURL);
    };
    m_column->addWidget(thumbnail);
    if (!m_title.isEmpty())
        m_column->addWidget(cardText(m_title, DisplayLength::title, systemFont(11), QColor::fromRgbF(1, 1, 1, 0.6f), this));
    show();
}

void ImageAttachmentRow::showFallback()
{
    m_face = Face::fallback;
    auto *button = new AttachmentButtonRow(QStringLiteral("photo"), m_fallbackText, m_accent, this);
    connect(button, &QAbstractButton::clicked, this, [this] {
        if (onOpenAttachment)
            onOpenAttachment();
    });
    m_column->addWidget(button);
    show();
}

// Thumbnail

AttachmentThumbnail::AttachmentThumbnail(const QImage &image, QWidget *parent)
    : QAbstractButton(parent)
    , m_image(image)
{
    KeyboardFocus::makeReachable(*this);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onClick)
            onClick();
    });
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

// Scaled to fill the width, up or down, unless that would pass the height
// limit: the picture is resizable, keeping its proportions.
QSizeF AttachmentThumbnail::fittedSize(double width) const
{
    const QSizeF natural = m_image.size();
    if (natural.isEmpty() || width <= 0)
        return QSizeF(0, 0);
    return natural.scaled(QSizeF(width, kMaxHeight), Qt::KeepAspectRatio);
}

int AttachmentThumbnail::heightForWidth(int width) const
{
    return int(std::ceil(fittedSize(width).height()));
}

QSize AttachmentThumbnail::sizeHint() const
{
    return {kInfoCardContentWidth, heightForWidth(kInfoCardContentWidth)};
}

QRectF AttachmentThumbnail::pictureRect() const
{
    return QRectF(QPointF(0, 0), fittedSize(width()));
}

void AttachmentThumbnail::paintEvent(QPaintEvent *)
{
    const QRectF picture = pictureRect();
    if (picture.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    if (m_rounded.isNull() || m_rounded.deviceIndependentSize() != picture.size() || m_rounded.devicePixelRatio() != ratio)
        m_rounded = roundedPicture(m_image, picture.size(), ratio);
    QPainter painter(this);
    if (isDown())
        painter.setOpacity(kPressedOpacity);
    painter.drawPixmap(picture.topLeft(), m_rounded);
    if (KeyboardFocus::showsRing(*this))
        KeyboardFocus::paintRing(painter, picture, kCornerRadius);
}

bool AttachmentThumbnail::hitButton(const QPoint &pos) const
{
    return pictureRect().contains(pos);
}
