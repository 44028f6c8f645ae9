#include "KenBurnsMotion.h"

#include <QHash>
#include <QSettings>

#include <algorithm>

namespace KenBurnsMotion {

namespace {

double bezier(double t, double p1, double p2)
{
    const double u = 1 - t;
    return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
}

} // namespace

QPoint drift(const QUuid &seed)
{
    const QString text = seed.toString(QUuid::WithoutBraces).toUpper();
    const quint64 h = quint64(qHash(text));
    return QPoint(h % 2 == 1 ? 1 : -1, h % 3 == 0 ? -1 : 1);
}

bool reduceMotionSetting()
{
    return QSettings().value(QLatin1StringView(reduceMotionSettingsKey), false).toBool();
}

double easeInOut(double progress)
{
    if (progress <= 0.0)
        return 0.0;
    if (progress >= 1.0)
        return 1.0;
    const double x = progress;
    // x(t) grows monotonically, so bisection finds the curve parameter.
    double low = 0;
    double high = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (low + high) / 2;
        (bezier(mid, 0.42, 0.58) < x ? low : high) = mid;
    }
    return bezier((low + high) / 2, 0.0, 1.0);
}

KenBurnsFrame frameAt(double elapsed, QPoint drift)
{
    const double eased = easeInOut(elapsed / duration);
    return KenBurnsFrame{1.0 + (targetScale - 1.0) * eased, shift * drift.x() * eased, shift * drift.y() * eased};
}

} // namespace KenBurnsMotion
