#include "SplashView.h"

#include "l10n/L10n.h"
#include "model/AnimationCurve.h"
#include "model/SystemFont.h"
#include "widgets/SoftShadow.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QVariantAnimation>

namespace {

const QString kBrandWord = QStringLiteral("Lumivane");
constexpr double kSpacing = 18;
constexpr double kDotSide = 8;
constexpr double kDotLeading = 4;
constexpr double kDotLift = 22;
constexpr double kHaloSide = 24;
constexpr double kHaloBlur = 8;
constexpr double kHaloShown = 0.55;
constexpr double kHaloHidden = 0.2;
constexpr int kPulseMs = 1400;

QFont brandFont()
{
    return systemFont(46, QFont::Normal, FontDesign::serif, true);
}

QFont loadingFont()
{
    return systemFont(12, QFont::Normal, FontDesign::serif, true);
}

} // namespace

SplashView::SplashView(L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_l10n(&l10n)
    , m_haloOpacity(kHaloShown)
    , m_pulse(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // One back-and-forth of the pulse is two runs of the curve.
    m_pulse->setStartValue(0.0);
    m_pulse->setEndValue(2.0);
    m_pulse->setDuration(2 * kPulseMs);
    m_pulse->setLoopCount(-1);
    connect(m_pulse, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        const double phase = value.toDouble();
        const double progress = easingCurve(AnimationCurve::easeInOut).valueForProgress(phase <= 1 ? phase : 2 - phase);
        m_haloOpacity = kHaloShown + (kHaloHidden - kHaloShown) * progress;
        update();
    });
    connect(m_l10n, &L10n::currentChanged, this, &SplashView::retranslate);
    retranslate();
}

void SplashView::setAccent(const QColor &accent)
{
    m_accent = accent;
    update();
}

void SplashView::setSplashShown(bool shown)
{
    if (shown == m_splashShown)
        return;
    m_splashShown = shown;
    if (shown)
        m_haloOpacity = kHaloShown;
    updatePulse();
    update();
}

// The pulse runs only while the splash is on its way out and on screen.
void SplashView::updatePulse()
{
    const bool pulsing = !m_splashShown && isVisible();
    if (pulsing && m_pulse->state() != QAbstractAnimation::Running)
        m_pulse->start();
    else if (!pulsing)
        m_pulse->stop();
}

void SplashView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updatePulse();
}

void SplashView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    updatePulse();
}

void SplashView::retranslate()
{
    m_loadingText = m_l10n->text(L10n::Key::viewerLoading);
    setAccessibleName(m_l10n->text(L10n::Key::viewerLoadingA11y));
    update();
}

// The brand row and the loading line, centred one above the other; the dot
// stands on the word's baseline, lifted by its padding, with the halo
// centred behind it.
void SplashView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::Antialiasing);

    const QFontMetricsF brand(brandFont());
    const QFontMetricsF loading(loadingFont());
    const double brandWidth = brand.horizontalAdvance(kBrandWord) + kDotLeading + kDotSide;
    const double rowAscent = std::max(brand.ascent(), kDotSide + kDotLift);
    const double rowHeight = rowAscent + brand.descent();
    const double blockHeight = rowHeight + kSpacing + loading.height();
    const QPointF centre = QRectF(rect()).center();
    const double top = centre.y() - blockHeight / 2;

    const QPointF baselineLeft(centre.x() - brandWidth / 2, top + rowAscent);
    paintBrandWord(painter, baselineLeft);

    painter.setFont(loadingFont());
    painter.setPen(QColor::fromRgbF(1, 1, 1, 0.55f));
    const double loadingWidth = loading.horizontalAdvance(m_loadingText);
    painter.drawText(QPointF(centre.x() - loadingWidth / 2, top + rowHeight + kSpacing + loading.ascent()),
                     m_loadingText);
}

void SplashView::paintBrandWord(QPainter &painter, QPointF baselineLeft) const
{
    painter.setFont(brandFont());
    painter.setPen(Qt::white);
    painter.drawText(baselineLeft, kBrandWord);

    const double wordWidth = QFontMetricsF(brandFont()).horizontalAdvance(kBrandWord);
    const QPointF dotCentre(baselineLeft.x() + wordWidth + kDotLeading + kDotSide / 2,
                            baselineLeft.y() - kDotLift - kDotSide / 2);
    QColor halo = m_accent;
    halo.setAlphaF(1);
    painter.save();
    painter.setOpacity(m_haloOpacity);
    const QRectF haloShape(dotCentre - QPointF(kHaloSide, kHaloSide) / 2, QSizeF(kHaloSide, kHaloSide));
    paintRoundedRectShadow(painter, haloShape, kHaloSide / 2, DropShadow{halo, kHaloBlur, QPointF()});
    painter.restore();
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_accent);
    painter.drawEllipse(dotCentre, kDotSide / 2, kDotSide / 2);
}
