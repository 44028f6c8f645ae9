#pragma once

#include "model/Palette.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

class L10n;
class QVariantAnimation;

/// The full-window splash shown while the viewer opens: the brand word with
/// an accent dot and its soft halo on black, and a loading line. Once told
/// it is no longer shown (while its owner fades it out) the halo pulses.
/// Painted in one pass; knows nothing of the visit.
class SplashView final : public QWidget
{
public:
    explicit SplashView(L10n &l10n, QWidget *parent = nullptr);

    void setAccent(const QColor &accent);
    /// The splash is up (halo steady) or on its way out (halo pulsing).
    void setSplashShown(bool shown);
    /// The halo's opacity now.
    double haloOpacity() const { return m_haloOpacity; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void retranslate();
    void updatePulse();
    void paintBrandWord(QPainter &painter, QPointF baselineLeft) const;

    QPointer<L10n> m_l10n;
    QColor m_accent = paletteGold();
    bool m_splashShown = true;
    double m_haloOpacity;
    QString m_loadingText;
    QVariantAnimation *m_pulse;
};
