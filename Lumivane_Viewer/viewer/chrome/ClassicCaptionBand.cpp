#include "ClassicCaptionBand.h"

#include "l10n/L10n.h"
#include "model/SystemFont.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr double kBlockHorizontalPadding = 30;
constexpr double kBlockVerticalPadding = 24;
constexpr double kCaptionHorizontalPadding = 40;
constexpr double kSpacing = 6;

ShadowedTextStyle nameStyle()
{
    return {systemFont(22, QFont::Bold), Qt::white, Qt::AlignHCenter,
            DropShadow{QColor::fromRgbF(0, 0, 0, 0.7f), 4, QPointF(0, 1)}};
}

ShadowedTextStyle captionStyle()
{
    return {systemFont(14), QColor::fromRgbF(1, 1, 1, 0.9f), Qt::AlignHCenter,
            DropShadow{QColor::fromRgbF(0, 0, 0, 0.7f), 3, QPointF(0, 1)}};
}

} // namespace

ClassicCaptionBand::ClassicCaptionBand(L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_l10n(&l10n)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(m_l10n, &L10n::currentChanged, this, &ClassicCaptionBand::refreshTexts);
}

void ClassicCaptionBand::setStation(const std::optional<Station> &station)
{
    if (station == m_station)
        return;
    m_station = station;
    refreshTexts();
}

void ClassicCaptionBand::refreshTexts()
{
    m_name.setText(m_station ? m_station->localizedName(m_l10n->languageCode()) : QString(), nameStyle());
    // Shown as stored whenever it has a character, not its translation.
    const bool hasCaption = m_station && m_station->publicCaption && !m_station->publicCaption->isEmpty();
    m_caption.setText(hasCaption ? *m_station->publicCaption : QString(), captionStyle());
    // Painted text: screen readers learn it from the widget's names.
    setAccessibleName(m_name.text());
    setAccessibleDescription(m_caption.text());
    update();
}

// Stacked up from the bottom, each line centred.
ClassicCaptionBand::Lines ClassicCaptionBand::lines() const
{
    const double nameRoom = width() - 2 * kBlockHorizontalPadding;
    const double captionRoom = nameRoom - 2 * kCaptionHorizontalPadding;
    const QSizeF nameSize = m_name.size(nameRoom);
    const QSizeF captionSize = m_caption.isEmpty() || captionRoom <= 0 ? QSizeF(0, 0) : m_caption.size(captionRoom);
    Lines lines;
    double top = height() - kBlockVerticalPadding - captionSize.height();
    if (!captionSize.isEmpty()) {
        lines.caption = QRectF(QPointF((width() - captionSize.width()) / 2, top), captionSize);
        top -= kSpacing;
    }
    top -= nameSize.height();
    if (!nameSize.isEmpty())
        lines.name = QRectF(QPointF((width() - nameSize.width()) / 2, top), nameSize);
    return lines;
}

QRect ClassicCaptionBand::textArea() const
{
    if (!m_station)
        return {};
    const Lines drawn = lines();
    return drawn.name.united(drawn.caption).toAlignedRect();
}

void ClassicCaptionBand::paintEvent(QPaintEvent *)
{
    if (!m_station)
        return;
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor::fromRgbF(0, 0, 0, 0));
    gradient.setColorAt(1, QColor::fromRgbF(0, 0, 0, 0.55f));
    painter.fillRect(rect(), gradient);

    const Lines drawn = lines();
    if (!drawn.caption.isEmpty())
        m_caption.paint(painter, drawn.caption.topLeft(), drawn.caption.width());
    if (!drawn.name.isEmpty())
        m_name.paint(painter, drawn.name.topLeft(), drawn.name.width());
}
